// Drawing contexts: the list of all contexts, the current one, the
// conversion from work-area OS units to device units, clipping, and the
// contexts that the redraw protocol makes for windows.
//
// Invariants: `current` is null or on the list; every context on the list
// has begun and not ended; a context's `outer` is the context that was
// current when it began.
#include <windows.h>
#include <new>

#include "toolkit/drawing/drawing.h"
#include "toolkit/events/window.h"

namespace {

drawing_context *first = nullptr;
drawing_context *current = nullptr;

void unlink(drawing_context *c)
{
    for (drawing_context **at = &first; *at; at = &(*at)->next)
        if (*at == c) {
            *at = c->next;
            return;
        }
}

// A window's context: the work-area point at the visible top left (the
// scroll offsets) is client pixel (0, 0).
void redraw_begins(redraw_block *b)
{
    b->context = nullptr;
    auto *c = new (std::nothrow) drawing_context;
    if (!c)
        return;
    drawing_begin(c, b->dc, 0, 0);
    c->origin_x = b->scroll_x;
    c->origin_y = b->scroll_y;
    b->context = c;
}

void redraw_ends(redraw_block *b)
{
    if (!b->context)
        return;
    drawing_end(b->context);
    delete b->context;
    b->context = nullptr;
}

// The redraw protocol lives below this layer and calls up through its hooks;
// they are plain pointers, so setting them here does not depend on the order
// in which files are initialised.
struct hook_up {
    hook_up()
    {
        redraw_begin_hook = redraw_begins;
        redraw_end_hook = redraw_ends;
    }
} hooked;

}  // namespace

void drawing_begin(drawing_context *c, HDC device, int device_per_inch_x, int device_per_inch_y)
{
    *c = drawing_context{};
    c->device = device;
    c->os_per_inch_x = c->os_per_inch_y = 180;
    c->device_per_inch_x = device_per_inch_x > 0 ? device_per_inch_x : GetDeviceCaps(device, LOGPIXELSX);
    c->device_per_inch_y = device_per_inch_y > 0 ? device_per_inch_y : GetDeviceCaps(device, LOGPIXELSY);
    if (c->device_per_inch_x <= 0)
        c->device_per_inch_x = 96;
    if (c->device_per_inch_y <= 0)
        c->device_per_inch_y = 96;
    c->saved_state = SaveDC(device);
    // Text sits on its baseline, left-aligned, until set_text_align says
    // otherwise; a device's own default (top) would differ between devices.
    SetTextAlign(device, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
    SetBkMode(device, TRANSPARENT);
    c->outer = current;
    c->next = first;
    first = c;
    current = c;
}

void drawing_end(drawing_context *c)
{
    if (c->replaced_pen)
        SelectObject(c->device, c->replaced_pen);
    if (c->replaced_brush)
        SelectObject(c->device, c->replaced_brush);
    if (c->replaced_font)
        SelectObject(c->device, c->replaced_font);
    if (c->saved_state)
        RestoreDC(c->device, c->saved_state);
    if (c->pen)
        DeleteObject(c->pen);
    if (c->brush)
        DeleteObject(c->brush);
    c->pen = nullptr;
    c->brush = nullptr;
    unlink(c);
    if (current == c)
        current = c->outer;
    // A context that ends before one that began inside it hands its own
    // outer context on.
    for (drawing_context *d = first; d; d = d->next)
        if (d->outer == c)
            d->outer = c->outer;
}

drawing_context *drawing_current() { return current; }
drawing_context *drawing_first() { return first; }

device_point to_device_in(const drawing_context *c, int x, int y)
{
    if (!c)
        return {x, y};
    int64_t dx = (int64_t)(x - (int64_t)c->origin_x) * c->device_per_inch_x / c->os_per_inch_x;
    int64_t dy = (int64_t)(y - (int64_t)c->origin_y) * c->device_per_inch_y / -(int64_t)c->os_per_inch_y;
    return {(int)(dx + c->device_origin_x), (int)(dy + c->device_origin_y)};
}

device_point to_device(int x, int y) { return to_device_in(current, x, y); }

HRGN save_clip()
{
    if (!current)
        return nullptr;
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    if (copy && GetClipRgn(current->device, copy) != 1) {
        DeleteObject(copy);
        copy = nullptr;
    }
    return copy;
}

void restore_clip(HRGN saved)
{
    if (current)
        SelectClipRgn(current->device, saved);
    if (saved)
        DeleteObject(saved);
}
