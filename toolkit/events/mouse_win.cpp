// Mouse messages, drags and the wheel.
//
// A press remembers its mouse block and captures the mouse; the first
// movement while pressed raises the click event again as a drag (4 -> 64,
// 1 -> 16). A drag started from a click handler then follows the pointer
// until the button is released or the capture is lost.
#include <windows.h>
#include <windowsx.h>
#include <cstdlib>

#include "toolkit/events/internal_win.h"
#include "toolkit/events/registry.h"

namespace {

mouse_block pressed;
bool press_state = false;

struct drag_state {
    bool active;
    drag_block block;        // current box, screen OS units
    drag_block origin;       // the box as the drag started
    POINT start;             // pointer at the start, screen pixels
    RECT shown;              // box drawn now, screen pixels
    drag_end_callback end;
    drag_move_callback move;
    intptr_t a, b;
} drag;

HWND owning_task_window(HWND w)
{
    while (w && !is_task_window(w))
        w = GetParent(w);
    return w;
}

RECT box_pixels(const drag_block &b)
{
    RECT r = {screen_px_x(b.x0), screen_px_y(b.y1), screen_px_x(b.x1), screen_px_y(b.y0)};
    if (b.type == 8) {
        if (b.x0 == b.x1) {
            r.left -= 2;
            r.right = r.left + 4;
        } else {
            r.top -= 2;
            r.bottom = r.top + 4;
        }
    }
    return r;
}

// Exclusive-or drawing: drawing the same box twice removes it.
void draw_box(const RECT &r, int type)
{
    HDC screen = GetDC(nullptr);
    if (type == 8) {
        HBRUSH grey = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        HGDIOBJ old = SelectObject(screen, grey);
        PatBlt(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, PATINVERT);
        SelectObject(screen, old);
    } else {
        DrawFocusRect(screen, &r);
    }
    ReleaseDC(nullptr, screen);
}

int clamp(int v, int low, int high) { return v < low ? low : (v > high ? high : v); }

}  // namespace

void mouse_block_at(HWND window, POINT screen, mouse_block *m)
{
    m->x = screen_os_x(screen.x);
    m->y = screen_os_y(screen.y);
    m->buttons = 0;
    m->window = window;
    m->icon = -1;
    HWND deepest = window;
    for (;;) {
        POINT p = screen;
        ScreenToClient(deepest, &p);
        HWND child = ChildWindowFromPointEx(deepest, p, CWP_SKIPINVISIBLE);
        if (!child || child == deepest)
            break;
        deepest = child;
    }
    if (deepest && deepest != window)
        m->icon = GetDlgCtrlID(deepest);
}

bool mouse_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    POINT p = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    ClientToScreen(window, &p);
    mouse_block m;
    mouse_block_at(drag.active ? owning_task_window(WindowFromPoint(p)) : window, p, &m);
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: {
        wdata *d = window_data(window);
        if (d && (d->flags & WF_PANE) && GetFocus() == window && GetParent(window))
            SetFocus(GetParent(window));
        m.buttons = message == WM_LBUTTONDOWN ? BUTTON_SELECT : BUTTON_ADJUST;
        pressed = m;
        press_state = true;
        SetCapture(window);
        raise_click(window, &m);
        return true;
    }
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK:
        m.buttons = message == WM_LBUTTONDBLCLK ? BUTTON_SELECT_DOUBLE : BUTTON_ADJUST_DOUBLE;
        raise_click(window, &m);
        return true;
    case WM_LBUTTONUP: case WM_RBUTTONUP:
        press_state = false;
        if (drag.active)
            drag_end(true);
        if (GetCapture() == window)
            ReleaseCapture();
        return true;
    case WM_MOUSEMOVE:
        if (press_state) {
            press_state = false;
            mouse_block again = pressed;
            again.buttons = pressed.buttons == BUTTON_SELECT ? BUTTON_SELECT_DRAG : BUTTON_ADJUST_DRAG;
            raise_click(window, &again);
        } else if (drag.active) {
            drag_pointer_moved(p);
        } else if (!(wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
            registry_walk(EV_POINTER, window, false, [&](const handler_entry &e) {
                report_handler_error(reinterpret_cast<mouse_handler>(e.handler)(
                    window, reinterpret_cast<void *>(e.value), &m));
                return false;
            });
        }
        return true;
    }
    return false;
}

void drag_set_callbacks(drag_end_callback end, intptr_t a, intptr_t b, drag_move_callback move)
{
    drag.end = end;
    drag.a = a;
    drag.b = b;
    drag.move = move;
}

bool drag_active() { return drag.active; }

const error_block *drag_start(const drag_block *block)
{
    if (!block) {
        drag_end(false);
        return nullptr;
    }
    if (drag.active)
        drag_end(false);
    if (block->type == 1) {
        // The platform's own window-move drag.
        ReleaseCapture();
        POINT p;
        GetCursorPos(&p);
        SendMessageA(block->window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
        return nullptr;
    }
    drag.block = *block;
    drag.origin = *block;
    GetCursorPos(&drag.start);
    drag.shown = box_pixels(*block);
    drag.active = true;
    if (GetCapture() != block->window)
        SetCapture(block->window);
    draw_box(drag.shown, block->type);
    return nullptr;
}

// Moves the box with the pointer, kept inside the bounding box.
void drag_pointer_moved(POINT screen)
{
    drag_block &b = drag.block;
    draw_box(drag.shown, b.type);
    int x = screen_os_x(screen.x), y = screen_os_y(screen.y);
    bool bounded = b.bound[2] > b.bound[0] || b.bound[3] > b.bound[1];
    if (b.type == 8 && b.x0 == b.x1) {
        b.x0 = b.x1 = bounded ? clamp(x, b.bound[0], b.bound[2]) : x;
    } else if (b.type == 8) {
        b.y0 = b.y1 = bounded ? clamp(y, b.bound[1], b.bound[3]) : y;
    } else {
        int w = b.x1 - b.x0, h = b.y1 - b.y0;
        int start_x = screen_os_x(drag.start.x), start_y = screen_os_y(drag.start.y);
        int nx = drag.origin.x0 + (x - start_x);
        int ny = drag.origin.y0 + (y - start_y);
        if (bounded) {
            nx = clamp(nx, b.bound[0], b.bound[2] - w);
            ny = clamp(ny, b.bound[1], b.bound[3] - h);
        }
        b.x0 = nx;
        b.x1 = nx + w;
        b.y0 = ny;
        b.y1 = ny + h;
    }
    drag.shown = box_pixels(b);
    draw_box(drag.shown, b.type);
    if (drag.move)
        drag.move(drag.a, drag.b, x, y);
}

void drag_end(bool call_back)
{
    if (!drag.active)
        return;
    drag.active = false;
    draw_box(drag.shown, drag.block.type);
    if (GetCapture() == drag.block.window)
        ReleaseCapture();
    if (call_back && drag.end)
        drag.end(drag.a, drag.b, drag.block.x0, drag.block.y0, drag.block.x1, drag.block.y1);
}

void drag_end_for(HWND window)
{
    if (drag.active && drag.block.window == window)
        drag_end(false);
}

// The wheel: -27 handlers first; then a window with a scroll bar scrolls
// one line per 40 units of accumulated amount; otherwise the toolkit child
// window under the pointer gets the wheel. With none, the wheel ends here:
// the platform's default would pass it to the parent, which would hand it
// back to this window (the child under the pointer) without end.
bool wheel_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    int delta = GET_WHEEL_DELTA_WPARAM(wparam);
    bool horizontal = message == WM_MOUSEHWHEEL;
    int claimed = 0;
    registry_walk(EV_WHEEL, window, false, [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<wheel_handler>(e.handler)(
            window, reinterpret_cast<void *>(e.value), delta, GET_KEYSTATE_WPARAM(wparam), horizontal, &claimed));
        return true;
    });
    if (claimed)
        return true;
    wdata *d = window_data(window);
    DWORD bar_style = horizontal ? WS_HSCROLL : WS_VSCROLL;
    if (d && (d->style & bar_style)) {
        int *amount = &d->wheel[horizontal ? 2 : 0], *direction = &d->wheel[horizontal ? 3 : 1];
        int sign = delta < 0 ? -1 : 1;
        if (*direction != sign) {
            *amount = 0;
            *direction = sign;
        }
        *amount += abs(delta);
        // Wheel forward (positive) scrolls up; a horizontal tilt right scrolls right.
        int request = (sign > 0) != horizontal ? SB_LINEUP : SB_LINEDOWN;
        for (; *amount >= 40; *amount -= 40)
            scroll_message(window, horizontal ? SB_HORZ : SB_VERT, request, 0);
        return true;
    }
    POINT p = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    ScreenToClient(window, &p);
    HWND child = ChildWindowFromPointEx(window, p, CWP_SKIPINVISIBLE);
    if (child && child != window && is_task_window(child))
        SendMessageA(child, message, wparam, lparam);
    return true;
}
