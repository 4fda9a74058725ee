// The redraw protocol: a redraw handler asks for its rectangle with
// `wimp_redraw_in`, draws it in work-area OS units and ends the redraw;
// `wimp_update` draws at once into a given work-area rectangle.
#include <windows.h>

#include "toolkit/events/internal_win.h"

void (*redraw_begin_hook)(redraw_block *block) = nullptr;
void (*redraw_end_hook)(redraw_block *block) = nullptr;

namespace {

PAINTSTRUCT paint;          // the one paint in progress

// Fills the block for a device whose area to draw is `r` (client pixels).
void fill_block(redraw_block *b, wdata *d, HDC dc, const RECT &r)
{
    RECT client;
    GetClientRect(b->window, &client);
    int sx = d ? d->scroll_x : 0, sy = d ? d->scroll_y : 0;
    b->scroll_x = sx;
    b->scroll_y = sy;
    b->x0 = sx;
    b->y1 = sy;
    b->x1 = sx + os_from_px_x(client.right);
    b->y0 = sy - os_from_px_y(client.bottom);
    b->g0 = sx + os_from_px_x(r.left) - 1;
    b->g2 = sx + os_from_px_x(r.right) + 1;
    b->g3 = sy - os_from_px_y(r.top) + 1;
    b->g1 = sy - os_from_px_y(r.bottom) - 1;
    b->dc = dc;
    b->origin_x = px_from_os_x(-sx);
    b->origin_y = px_from_os_y(sy);
    b->context = nullptr;
    if (redraw_begin_hook)
        redraw_begin_hook(b);
}

// Pixels from OS units rounded down or up (floor and ceiling, also below 0).
int px_down(int os, int dpi)
{
    long long n = static_cast<long long>(os) * dpi;
    return static_cast<int>(n >= 0 ? n / 180 : -((-n + 179) / 180));
}
int px_up(int os, int dpi) { return -px_down(-os, dpi); }

// The client pixels that cover a work-area rectangle: low edges round
// down and high edges up, so that a rectangle thinner than a pixel still
// covers the pixel it touches.
void covering_rect(const wdata *d, int x0, int y0, int x1, int y1, RECT *r)
{
    r->left = px_down(x0 - d->scroll_x, display.dpi_x);
    r->right = px_up(x1 - d->scroll_x, display.dpi_x);
    r->top = px_down(d->scroll_y - y1, display.dpi_y);
    r->bottom = px_up(d->scroll_y - y0, display.dpi_y);
}

}  // namespace

const error_block *window_force_redraw(HWND window, int x0, int y0, int x1, int y1)
{
    wdata *d = window_checked(window, "force redraw");
    RECT r;
    if (d)
        covering_rect(d, x0, y0, x1, y1, &r);
    if (!InvalidateRect(window, d ? &r : nullptr, TRUE))
        return win_error("InvalidateRect");
    return nullptr;
}

const error_block *wimp_redraw_in(redraw_block *block)
{
    wdata *d = window_checked(block->window, "wimp redraw in");
    block->more = 0;
    if (!GetUpdateRect(block->window, nullptr, FALSE))
        return nullptr;
    HDC dc = BeginPaint(block->window, &paint);
    if (!dc)
        return win_error("BeginPaint");
    fill_block(block, d, dc, paint.rcPaint);
    block->more = 1;
    return nullptr;
}

const error_block *wimp_update(redraw_block *block)
{
    wdata *d = window_checked(block->window, "update");
    block->more = 0;
    RECT r, client;
    if (d) {
        covering_rect(d, block->g0, block->g1, block->g2, block->g3, &r);
    } else {
        SetRectEmpty(&r);
    }
    GetClientRect(block->window, &client);
    if (!IntersectRect(&r, &r, &client))
        return nullptr;
    HDC dc = GetDC(block->window);
    if (!dc)
        return win_error("GetDC");
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    fill_block(block, d, dc, r);
    block->more = 2;
    return nullptr;
}

void wimp_redraw_end(redraw_block *block)
{
    if (block->more && redraw_end_hook)
        redraw_end_hook(block);
    if (block->more == 1)
        EndPaint(block->window, &paint);
    else if (block->more == 2)
        ReleaseDC(block->window, block->dc);
    block->more = 0;
}
