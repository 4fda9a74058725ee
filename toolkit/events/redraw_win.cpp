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

}  // namespace

const error_block *window_force_redraw(HWND window, int x0, int y0, int x1, int y1)
{
    wdata *d = window_checked(window, "force redraw");
    RECT r;
    if (d) {
        int l, t, rr, b;
        client_from_work(d, x0, y1, &l, &t);
        client_from_work(d, x1, y0, &rr, &b);
        SetRect(&r, l, t, rr, b);
    }
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
        int l, t, rr, b;
        client_from_work(d, block->g0, block->g3, &l, &t);
        client_from_work(d, block->g2, block->g1, &rr, &b);
        SetRect(&r, l, t, rr, b);
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
