// Window data and the life of a toolkit window: creation from a numbered
// template, deletion, and the list of all toolkit windows.
//
// A window's data is created before the dialog exists and attached on the
// dialog's first message, so every message it receives finds it.
#include <windows.h>
#include <cstring>
#include <vector>

#include "toolkit/events/internal_win.h"
#include "toolkit/events/templates.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/messages.h"

wdata *creating = nullptr;

namespace {

wdata *first = nullptr;

void link_in(wdata *d)
{
    d->next = first;
    d->previous = nullptr;
    if (first)
        first->previous = d;
    first = d;
}

void unlink_and_free(wdata *d)
{
    if (d->previous)
        d->previous->next = d->next;
    else
        first = d->next;
    if (d->next)
        d->next->previous = d->previous;
    void *p = d;
    heap_dispose(&p);
}

// Ends drag and capture in a window and tells its toolkit children.
void let_go(HWND w)
{
    drag_end_for(w);
    if (GetCapture() == w)
        ReleaseCapture();
}

// Ends drag and capture in each toolkit window created with `window` as
// parent and raises `kind` for it. The children are listed first: a
// handler may delete its own window or any other, so the list of window
// data is never walked across a handler call, and a child deleted by an
// earlier handler is passed over.
void tell_children(HWND window, int kind)
{
    std::vector<HWND> children;
    for (wdata *d = first; d; d = d->next)
        if (d->parent == window && d->window != window)
            children.push_back(d->window);
    for (HWND child : children) {
        if (!window_data(child))
            continue;
        let_go(child);
        raise_window_event(kind, child);
    }
}

void set_title(HWND w, const char *title)
{
    char text[256];
    xzstrncpy(text, title, sizeof text);
    expand_tokens(text, sizeof text);
    SetWindowTextA(w, text);
}

}  // namespace

wdata *window_first() { return first; }

wdata *window_data(HWND window)
{
    if (!window)
        return nullptr;
    for (wdata *d = first; d; d = d->next)
        if (d->window == window)
            return d;
    return nullptr;
}

bool is_task_window(HWND window)
{
    char name[8];
    return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, "Task") == 0;
}

wdata *window_attach(HWND window)
{
    wdata *d = creating;
    creating = nullptr;
    d->window = window;
    return d;
}

void window_forget(HWND window)
{
    if (wdata *d = window_data(window))
        unlink_and_free(d);
}

wdata *window_checked(HWND window, const char *operation)
{
    wdata *d = window_data(window);
    if (!d)
        debug_log("illegal window handle %x at %s", (unsigned)(uintptr_t)window, operation);
    return d;
}

const error_block *window_create(int template_number, const char *title, HWND parent, HWND *window)
{
    *window = nullptr;
    const template_entry *t;
    if (const error_block *e = template_find(template_number, &t))
        return e;
    debug_log("create win parent %x tempno=%x", (unsigned)(uintptr_t)parent, template_number);
    void *p;
    if (const error_block *e = heap_new(&p, sizeof(wdata)))
        return e;
    wdata *d = static_cast<wdata *>(p);
    link_in(d);
    creating = d;
    HWND w = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(t->data), parent,
                                        task_dialog_proc, 0);
    creating = nullptr;
    if (!w) {
        const error_block *e = win_error("CreateDialogIndirectParam", "(%s)", t->name);
        unlink_and_free(d);
        return e;
    }
    d->window = w;
    d->parent = parent;
    d->style = (uint32_t)GetWindowLongA(w, GWL_STYLE);
    RECT r;
    GetClientRect(w, &r);
    d->extent[0] = 0;
    d->extent[1] = os_from_px_x(r.right);
    d->extent[2] = -os_from_px_y(r.bottom);
    d->extent[3] = 0;
    if (title)
        set_title(w, title);
    *window = w;
    return nullptr;
}

const error_block *window_create_noparent(int template_number, const char *title, HWND *window)
{
    return window_create(template_number, title, nullptr, window);
}

const error_block *window_create_height(int template_number, const char *title, HWND parent, int height,
                                        HWND *window)
{
    if (const error_block *e = window_create(template_number, title, parent, window))
        return e;
    RECT r;
    GetClientRect(*window, &r);
    r.bottom = px_from_os_y(height);
    window_rect_from_client(*window, &r);
    SetWindowPos(*window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return nullptr;
}

const error_block *window_delete(HWND window)
{
    debug_log("delete");
    window_checked(window, "delete");
    let_go(window);
    // Clipboard data the window still owes (delayed rendering) is dropped
    // before the window goes.
    if (GetClipboardOwner() == window && OpenClipboard(window)) {
        EmptyClipboard();
        CloseClipboard();
    }
    tell_children(window, EV_PARENT_DELETE);
    if (!window_data(window) && !IsWindow(window))
        return nullptr;   // a child's handler deleted it already
    window_forget(window);
    if (!DestroyWindow(window))
        return win_error("DestroyWindow");
    return nullptr;
}

const error_block *window_close(HWND window)
{
    debug_log("close");
    window_checked(window, "close");
    let_go(window);
    ShowWindow(window, SW_HIDE);
    tell_children(window, EV_PARENT_CLOSE);
    return nullptr;
}

int window_get_flags(HWND window)
{
    wdata *d = window_checked(window, "get flags");
    return d ? d->flags : 0;
}

void window_flags(HWND window, int set, int clear)
{
    wdata *d = window_checked(window, "flags");
    if (!d)
        return;
    int old = d->flags;
    d->flags = (old & ~clear) | set;
    if ((old ^ d->flags) & WF_WIDE) {
        // Setting the procedure through the wide or the 8-bit call makes the
        // window a wide or an 8-bit window.
        LONG_PTR proc = reinterpret_cast<LONG_PTR>(task_window_proc);
        if (d->flags & WF_WIDE)
            SetWindowLongPtrW(window, GWLP_WNDPROC, proc);
        else
            SetWindowLongPtrA(window, GWLP_WNDPROC, proc);
    }
}

void window_set_background(HWND window, uint32_t colour)
{
    if (wdata *d = window_checked(window, "flags")) {
        d->background = colour;
        InvalidateRect(window, nullptr, TRUE);
    }
}

// Toolkit colours: low byte 0/255 none, 1 a platform colour in bits 8-31,
// 2-17 the sixteen-colour palette, 18+ system colours.
bool toolkit_colour(uint32_t colour, bool window_background, COLORREF *out)
{
    static const COLORREF palette[16] = {
        RGB(0xFF, 0xFF, 0xFF), RGB(0xDD, 0xDD, 0xDD), RGB(0xBB, 0xBB, 0xBB), RGB(0x99, 0x99, 0x99),
        RGB(0x77, 0x77, 0x77), RGB(0x55, 0x55, 0x55), RGB(0x33, 0x33, 0x33), RGB(0x00, 0x00, 0x00),
        RGB(0x00, 0x44, 0x99), RGB(0xEE, 0xEE, 0x00), RGB(0x00, 0xCC, 0x00), RGB(0xDD, 0x00, 0x00),
        RGB(0xEE, 0xEE, 0xBB), RGB(0x55, 0x88, 0x00), RGB(0xFF, 0xBB, 0x00), RGB(0x00, 0xBB, 0xFF),
    };
    int code = colour & 0xFF;
    if (code == 0 || code == 255)
        return false;
    if (code == 1)
        *out = colour >> 8;
    else if (code <= 17)
        *out = palette[code - 2];
    else if (window_background)
        *out = GetSysColor(code - 18);
    else if (code <= 42)
        *out = GetSysColor(code - 18);
    else if (code <= 45)
        *out = GetSysColor(code - 43 + 26);
    else
        return false;
    return true;
}
