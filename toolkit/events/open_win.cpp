// Placing windows: OS units and pixels, the state block, open with its
// "behind" word, extents, and keeping the scroll offsets valid.
//
// Screen OS units have their origin at the bottom left of the screen; a
// pixel becomes px * 180 / dpi (y measured up from the bottom), and an OS
// position becomes the nearest pixel, so a pixel survives the round trip.
#include <windows.h>

#include "toolkit/events/internal_win.h"

int os_from_px_x(int px) { return px * 180 / display.dpi_x; }
int os_from_px_y(int px) { return px * 180 / display.dpi_y; }
int px_from_os_x(int os) { return MulDiv(os, display.dpi_x, 180); }
int px_from_os_y(int os) { return MulDiv(os, display.dpi_y, 180); }
int screen_os_x(int px) { return os_from_px_x(px); }
int screen_os_y(int py) { return os_from_px_y(display.height - py); }
int screen_px_x(int os) { return px_from_os_x(os); }
int screen_px_y(int os) { return display.height - px_from_os_y(os); }

void work_from_client(const wdata *w, int cx, int cy, int *x, int *y)
{
    *x = w->scroll_x + os_from_px_x(cx);
    *y = w->scroll_y - os_from_px_y(cy);
}

void client_from_work(const wdata *w, int x, int y, int *cx, int *cy)
{
    *cx = px_from_os_x(x - w->scroll_x);
    *cy = px_from_os_y(w->scroll_y - y);
}

void apply_offsets(wdata *d, int x, int y);

namespace {

void visible_size(HWND w, int *width, int *height)
{
    RECT r;
    GetClientRect(w, &r);
    *width = os_from_px_x(r.right);
    *height = os_from_px_y(r.bottom);
}

// One axis of the clamp/centre rule: `low`..`high` is the extent, the
// offset names the visible area's low edge.
int keep_inside(int offset, int low, int high, int visible, bool centre)
{
    if (high - low > visible) {
        if (offset < low)
            return low;
        return offset > high - visible ? high - visible : offset;
    }
    return centre ? low - (visible - (high - low)) / 2 : low;
}

void set_bar(HWND w, int bar, int low, int high, int page, int position)
{
    SCROLLINFO info = {sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, low, high - 1, (UINT)page, position, 0};
    SetScrollInfo(w, bar, &info, TRUE);
}

void update_bars(wdata *d, int width, int height)
{
    if (d->style & WS_HSCROLL)
        set_bar(d->window, SB_HORZ, d->extent[0], d->extent[1], width, d->scroll_x);
    if (d->style & WS_VSCROLL)
        set_bar(d->window, SB_VERT, -d->extent[3], -d->extent[2], height, -d->scroll_y);
}

HWND stacking(HWND behind, UINT *flags)
{
    if (behind == BEHIND_TOP)
        return HWND_TOP;
    if (behind == BEHIND_BOTTOM)
        return HWND_BOTTOM;
    if (behind == BEHIND_TOPMOST)
        return HWND_TOPMOST;
    if (behind == BEHIND_NOTOPMOST)
        return HWND_NOTOPMOST;
    if (behind == BEHIND_KEEP || behind == BEHIND_HIDE) {
        *flags |= SWP_NOZORDER;
        return nullptr;
    }
    return behind;
}

const error_block *place(window_state *s, bool outer, const char *operation)
{
    wdata *d = window_checked(s->window, operation);
    RECT r = {screen_px_x(s->x0), screen_px_y(s->y1), screen_px_x(s->x1), screen_px_y(s->y0)};
    HWND w = s->window;
    if (!outer)
        window_rect_from_client(w, &r);
    if ((GetWindowLong(w, GWL_STYLE) & WS_CHILD) && GetParent(w)) {
        POINT origin = {0, 0};
        ClientToScreen(GetParent(w), &origin);
        OffsetRect(&r, -origin.x, -origin.y);
    }
    UINT flags = SWP_NOACTIVATE;
    HWND after = stacking(s->behind, &flags);
    flags |= s->behind == BEHIND_HIDE ? SWP_HIDEWINDOW : SWP_SHOWWINDOW;
    if (d)
        d->flags |= WF_OPENING;
    BOOL placed = SetWindowPos(w, after, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    if (d) {
        apply_offsets(d, s->scroll_x, s->scroll_y);
        d->flags &= ~WF_OPENING;
    }
    return placed ? nullptr : win_error("SetWindowPos");
}

}  // namespace

void window_rect_from_client(HWND w, RECT *r)
{
    LONG style = GetWindowLong(w, GWL_STYLE);
    AdjustWindowRectEx(r, style, GetMenu(w) != nullptr, GetWindowLong(w, GWL_EXSTYLE));
    if (style & WS_VSCROLL)
        r->right += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL)
        r->bottom += GetSystemMetrics(SM_CYHSCROLL);
}

// Moves the scroll offsets to (x, y) kept valid by the clamp/centre rule
// and scrolls the contents by the change.
void apply_offsets(wdata *d, int x, int y)
{
    HWND window = d->window;
    int width, height;
    visible_size(window, &width, &height);
    bool centre = d->flags & WF_CENTRE;
    x = keep_inside(x, d->extent[0], d->extent[1], width, centre);
    // Vertically the offset names the top edge: work with -y.
    y = -keep_inside(-y, -d->extent[3], -d->extent[2], height, centre);
    int dx = px_from_os_x(d->scroll_x) - px_from_os_x(x);
    int dy = px_from_os_y(y) - px_from_os_y(d->scroll_y);
    d->scroll_x = x;
    d->scroll_y = y;
    update_bars(d, width, height);
    if (dx || dy)
        ScrollWindowEx(window, dx, dy, nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE | SW_ERASE | ((d->flags & WF_SCROLL_CHILDREN) ? SW_SCROLLCHILDREN : 0));
}

void window_keep_scroll_valid(HWND window)
{
    if (wdata *d = window_data(window))
        apply_offsets(d, d->scroll_x, d->scroll_y);
}

const error_block *window_open(window_state *state) { return place(state, false, "open"); }
const error_block *window_open_ex(window_state *state) { return place(state, true, "open ex"); }

const error_block *window_get_state(HWND window, window_state *state)
{
    wdata *d = window_checked(window, "state");
    RECT r;
    if (!GetClientRect(window, &r))
        return win_error("GetClientRect");
    POINT tl = {r.left, r.top}, br = {r.right, r.bottom};
    ClientToScreen(window, &tl);
    ClientToScreen(window, &br);
    state->window = window;
    state->x0 = screen_os_x(tl.x);
    state->y0 = screen_os_y(br.y);
    state->x1 = screen_os_x(br.x);
    state->y1 = screen_os_y(tl.y);
    state->scroll_x = d ? d->scroll_x : 0;
    state->scroll_y = d ? d->scroll_y : 0;
    HWND front = GetWindow(window, GW_HWNDPREV);
    state->behind = front ? front : BEHIND_TOP;
    uint32_t flags = WS_FLAG_ALWAYS;
    if (IsWindowVisible(window))
        flags |= WS_FLAG_SHOWN;
    if (IsZoomed(window))
        flags |= WS_FLAG_MAXIMISED;
    if (IsIconic(window))
        flags |= WS_FLAG_MINIMISED;
    if (d && (d->flags & WF_OPENING))
        flags |= WS_FLAG_OPENING;
    state->flags = flags;
    return nullptr;
}

const error_block *window_set_extent(HWND window, int x0, int y0, int x1, int y1)
{
    wdata *d = window_checked(window, "set extent");
    if (!d)
        return nullptr;
    d->extent[0] = x0;
    d->extent[1] = x1;
    d->extent[2] = y0;
    d->extent[3] = y1;
    window_keep_scroll_valid(window);
    return nullptr;
}

const error_block *window_get_extent(HWND window, int extent[4])
{
    wdata *d = window_checked(window, "get extent");
    extent[0] = d ? d->extent[0] : 0;
    extent[1] = d ? d->extent[2] : 0;
    extent[2] = d ? d->extent[1] : 0;
    extent[3] = d ? d->extent[3] : 0;
    return nullptr;
}

// Scroll bar requests: a line is a tenth of the visible size, a page all
// of it; the result is clamped and, when it moved, the window scrolls and
// its open handlers see the new state.
void scroll_message(HWND window, int bar, int request, int)
{
    wdata *d = window_data(window);
    if (!d)
        return;
    int width, height;
    visible_size(window, &width, &height);
    bool vertical = bar == SB_VERT;
    int visible = vertical ? height : width;
    int low = vertical ? -d->extent[3] : d->extent[0];
    int high = vertical ? -d->extent[2] : d->extent[1];
    int old = vertical ? -d->scroll_y : d->scroll_x;
    int now = old;
    SCROLLINFO info = {sizeof info, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(window, bar, &info);
    switch (request) {
    case SB_LINEUP: now -= visible / 10; break;
    case SB_LINEDOWN: now += visible / 10; break;
    case SB_PAGEUP: now -= visible; break;
    case SB_PAGEDOWN: now += visible; break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: now = info.nTrackPos; break;
    case SB_TOP: now = low; break;
    case SB_BOTTOM: now = high - visible; break;
    default: return;
    }
    if (now > high - visible)
        now = high - visible;
    if (now < low)
        now = low;
    if (now == old)
        return;
    if (vertical)
        apply_offsets(d, d->scroll_x, -now);
    else
        apply_offsets(d, now, d->scroll_y);
    raise_open_event(window);
}

const error_block *window_open_centred(HWND w)
{
    window_state s;
    window_get_state(w, &s);
    int width = s.x1 - s.x0, height = s.y1 - s.y0;
    s.x0 = (screen_os_x(display.width) - width) / 2;
    s.x1 = s.x0 + width;
    s.y0 = (screen_os_y(0) - height) / 2;
    s.y1 = s.y0 + height;
    s.behind = BEHIND_TOP;
    return window_open(&s);
}


const error_block *window_open_at_pointer(HWND w)
{
    window_state s;
    window_get_state(w, &s);
    POINT p;
    GetCursorPos(&p);
    int width = s.x1 - s.x0, height = s.y1 - s.y0;
    s.x0 = screen_os_x(p.x);
    s.x1 = s.x0 + width;
    s.y1 = screen_os_y(p.y);
    s.y0 = s.y1 - height;
    s.behind = BEHIND_TOP;
    return window_open(&s);
}
