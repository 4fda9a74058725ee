// The "abx" control class: its record and state bits, the platform's text,
// check, enable and focus messages, painting, the pointer and the mouse.
//
// The validation string lives in the control's record; the platform's text
// messages read and set only its `s` command. The state bits live in the
// class's one extra window word.
//
// Mouse, by the `K` flags: `1` and `2` report a click and a double click
// when the button goes down, or after `R` when it is released over the
// control; `A` reports a click at the press and then, while the button is
// held and the pointer is over the control, every 0.1 s from 0.6 s on; `D`
// reports a drag once per press when the pointer moves beyond the
// platform's drag distance. Reports are click events (kind 6) on the
// parent window with the control's identifier as icon.
#include <windows.h>
#include <windowsx.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "toolkit/events/abx.h"
#include "toolkit/events/abx_internal_win.h"
#include "toolkit/events/internal_win.h"
#include "toolkit/events/registry.h"

namespace {

struct mouse_flags {
    bool click_press = false, double_press = false;
    bool click_release = false, double_release = false;
    bool repeat = false, drag = false;
};

struct abx_record {
    std::string validation;
    HFONT font = nullptr;
    int button = 0;           // the held button's click code, 0 when none
    bool double_press = false; // the held press was a double click
    bool dragged = false;      // a drag was reported for this press
    bool inside = false;       // the pointer is over the control
    POINT pressed_at = {};
};

abx_record *record(HWND w) { return reinterpret_cast<abx_record *>(GetWindowLongPtrA(w, GWLP_USERDATA)); }
int state(HWND w) { return (int)GetWindowLongA(w, 0); }

void set_state(HWND w, int bits, bool on)
{
    int old = state(w), now = on ? old | bits : old & ~bits;
    if (now != old) {
        SetWindowLongA(w, 0, now);
        InvalidateRect(w, nullptr, FALSE);
    }
}

mouse_flags flags_of(const abx_record *r)
{
    mouse_flags f;
    std::string k;
    abx_read_command(r->validation, 'K', &k);
    bool release = false;
    for (char c : k) {
        switch (c) {
        case 'R': release = true; break;
        case 'A': f.repeat = true; break;
        case 'D': f.drag = true; break;
        case '1': (release ? f.click_release : f.click_press) = true; break;
        case '2': (release ? f.double_release : f.double_press) = true; break;
        }
    }
    return f;
}

// Raises a click event on the parent with the control as its icon.
void report(HWND w, int buttons)
{
    HWND parent = GetParent(w);
    if (!parent)
        return;
    POINT p;
    GetCursorPos(&p);
    mouse_block m;
    mouse_block_at(parent, p, &m);
    m.window = parent;
    m.icon = GetDlgCtrlID(w);
    m.buttons = buttons;
    raise_click(parent, &m);
}

void pointer_moved(HWND w, POINT client)
{
    HWND parent = GetParent(w);
    if (!parent)
        return;
    POINT p = client;
    ClientToScreen(w, &p);
    mouse_block m;
    mouse_block_at(parent, p, &m);
    m.icon = GetDlgCtrlID(w);
    registry_walk(EV_POINTER, parent, false, [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<mouse_handler>(e.handler)(parent, reinterpret_cast<void *>(e.value), &m));
        return false;
    });
}

bool inside(HWND w, POINT client)
{
    RECT r;
    GetClientRect(w, &r);
    return PtInRect(&r, client) != 0;
}

// A press (single or double) of the left (select) or right (adjust) button.
void press(HWND w, abx_record *r, bool left, bool is_double, POINT at)
{
    if (r->button)
        return;
    mouse_flags f = flags_of(r);
    r->button = left ? BUTTON_SELECT : BUTTON_ADJUST;
    r->double_press = is_double;
    r->dragged = false;
    r->inside = true;
    r->pressed_at = at;
    // A control in the keyboard's tab order takes the focus as a button
    // does; display fields and pictures leave it where it is.
    if (GetWindowLongA(w, GWL_STYLE) & WS_TABSTOP)
        SetFocus(w);
    SetCapture(w);
    set_state(w, ABX_PRESSED, true);
    if (is_double && f.double_press)
        report(w, left ? BUTTON_SELECT_DOUBLE : BUTTON_ADJUST_DOUBLE);
    else if (is_double && f.double_release)
        ;   // reported when the button is released
    else if (f.click_press || f.repeat)
        report(w, r->button);
    if (f.repeat)
        SetTimer(w, abx_repeat_timer, 600, nullptr);
}

// Ends the press; `over` says whether the release happened over the control.
void release(HWND w, abx_record *r, bool over)
{
    int button = r->button;
    bool was_double = r->double_press;
    r->button = 0;
    KillTimer(w, abx_repeat_timer);
    if (GetCapture() == w)
        ReleaseCapture();
    set_state(w, ABX_PRESSED, false);
    if (!button || !over)
        return;
    mouse_flags f = flags_of(r);
    if (was_double && f.double_release)
        report(w, button == BUTTON_SELECT ? BUTTON_SELECT_DOUBLE : BUTTON_ADJUST_DOUBLE);
    else if (f.click_release)
        report(w, button);
}

void moved(HWND w, abx_record *r, POINT at)
{
    if (!r->button) {
        pointer_moved(w, at);
        return;
    }
    r->inside = inside(w, at);
    set_state(w, ABX_PRESSED, r->inside);
    if (r->dragged || !flags_of(r).drag)
        return;
    if (std::abs(at.x - r->pressed_at.x) > GetSystemMetrics(SM_CXDRAG) / 2 ||
        std::abs(at.y - r->pressed_at.y) > GetSystemMetrics(SM_CYDRAG) / 2) {
        r->dragged = true;
        report(w, r->button == BUTTON_SELECT ? BUTTON_SELECT_DRAG : BUTTON_ADJUST_DRAG);
    }
}

void repeat(HWND w, abx_record *r)
{
    if (!r->button) {
        KillTimer(w, abx_repeat_timer);
        return;
    }
    SetTimer(w, abx_repeat_timer, 100, nullptr);
    if (r->inside)
        report(w, r->button);
}

// The parent's background under the control, so that a control without a
// fill colour shows what is behind it.
void parent_background(HWND w, HDC dc)
{
    HWND parent = GetParent(w);
    RECT r;
    GetClientRect(w, &r);
    if (!parent) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    POINT at = {0, 0};
    MapWindowPoints(w, parent, &at, 1);
    POINT old;
    SetViewportOrgEx(dc, -at.x, -at.y, &old);
    if (!SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) {
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    }
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

// Paints into a buffer and copies it, so that the fill, the borders and the
// text never show half drawn.
void paint(HWND w, abx_record *r)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    RECT client;
    GetClientRect(w, &client);
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    if (buffer && bitmap) {
        HGDIOBJ old = SelectObject(buffer, bitmap);
        parent_background(w, buffer);
        abx_erase(r->validation, state(w), buffer, client);
        abx_draw(r->validation, state(w), buffer, client, r->font);
        BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, old);
    } else {
        abx_erase(r->validation, state(w), dc, client);
        abx_draw(r->validation, state(w), dc, client, r->font);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (buffer)
        DeleteDC(buffer);
    EndPaint(w, &ps);
}

bool set_pointer(HWND w, abx_record *r)
{
    std::string p;
    if (!abx_read_command(r->validation, 'P', &p) || p.size() < 2 || p[0] != 'i')
        return false;
    std::string name = p.substr(1);
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), name.c_str());
    // A program without its own "hand" gets the platform's.
    if (!cursor && lstrcmpiA(name.c_str(), "hand") == 0)
        cursor = LoadCursor(nullptr, IDC_HAND);
    if (!cursor)
        return false;
    (void)w;
    SetCursor(cursor);
    return true;
}

LRESULT text_message(abx_record *r, UINT message, WPARAM wparam, LPARAM lparam)
{
    std::string s;
    abx_read_command(r->validation, 's', &s);
    if (message == WM_GETTEXTLENGTH)
        return (LRESULT)s.size();
    char *out = reinterpret_cast<char *>(lparam);
    size_t room = wparam;
    if (!out || room == 0)
        return 0;
    size_t n = std::min(s.size(), room - 1);
    memcpy(out, s.data(), n);
    out[n] = 0;
    return (LRESULT)n;
}

LRESULT CALLBACK abx_proc(HWND w, UINT message, WPARAM wparam, LPARAM lparam)
{
    abx_record *r = record(w);
    if (message == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTA *>(lparam);
        r = new (std::nothrow) abx_record;
        if (!r)
            return FALSE;
        // A caption given as a resource ordinal is no validation string.
        const char *caption = create->lpszName;
        if (caption && static_cast<unsigned char>(caption[0]) != 0xFF)
            r->validation = caption;
        SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(r));
        SetWindowLongA(w, 0, (create->style & WS_DISABLED) ? ABX_DISABLED : 0);
        return DefWindowProcA(w, message, wparam, lparam);
    }
    if (!r)
        return DefWindowProcA(w, message, wparam, lparam);
    switch (message) {
    case WM_NCDESTROY:
        KillTimer(w, abx_repeat_timer);
        SetWindowLongPtrA(w, GWLP_USERDATA, 0);
        delete r;
        return DefWindowProcA(w, message, wparam, lparam);
    case WM_GETTEXT: case WM_GETTEXTLENGTH:
        return text_message(r, message, wparam, lparam);
    case WM_SETTEXT:
        if (abx_write_command(&r->validation, 's', lparam ? reinterpret_cast<const char *>(lparam) : ""))
            InvalidateRect(w, nullptr, FALSE);
        return TRUE;
    case ABXM_SET_COMMAND:
        if (!abx_write_command(&r->validation, (char)wparam, reinterpret_cast<const char *>(lparam)))
            return 0;
        InvalidateRect(w, nullptr, FALSE);
        return 1;
    case ABXM_GET_VALIDATION:
        *reinterpret_cast<std::string *>(lparam) = r->validation;
        return 1;
    case BM_SETCHECK: set_state(w, ABX_SELECTED, wparam == BST_CHECKED); return 0;
    case BM_GETCHECK: return (state(w) & ABX_SELECTED) ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETSTATE: set_state(w, ABX_PRESSED, wparam != 0); return 0;
    case BM_GETSTATE:
        return ((state(w) & ABX_SELECTED) ? BST_CHECKED : 0) | ((state(w) & ABX_PRESSED) ? BST_PUSHED : 0) |
               ((state(w) & ABX_FOCUS) ? BST_FOCUS : 0);
    case BM_CLICK: {
        mouse_flags f = flags_of(r);
        if (f.click_press || f.click_release || f.repeat)
            report(w, BUTTON_SELECT);
        return 0;
    }
    case WM_ENABLE:
        set_state(w, ABX_DISABLED, !wparam);
        if (!wparam && r->button)
            release(w, r, false);
        return 0;
    case WM_SETFOCUS: set_state(w, ABX_FOCUS, true); return 0;
    case WM_KILLFOCUS: set_state(w, ABX_FOCUS, false); return 0;
    case WM_SETFONT:
        r->font = reinterpret_cast<HFONT>(wparam);
        if (lparam)
            InvalidateRect(w, nullptr, FALSE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(r->font);
    case WM_GETDLGCODE: return DLGC_BUTTON;
    case WM_KEYDOWN:
        // Space presses a focused control as a click on it would.
        if (wparam != VK_SPACE)
            break;
        if (!(lparam & 0x40000000))
            set_state(w, ABX_PRESSED, true);
        return 0;
    case WM_KEYUP:
        if (wparam != VK_SPACE)
            break;
        if ((state(w) & ABX_PRESSED) && !r->button) {
            set_state(w, ABX_PRESSED, false);
            SendMessageA(w, BM_CLICK, 0, 0);
        }
        return 0;
    case WM_ERASEBKGND: return 1;   // painted with the rest
    case WM_PAINT: paint(w, r); return 0;
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(w, &client);
        HDC dc = reinterpret_cast<HDC>(wparam);
        if (lparam & PRF_ERASEBKGND)
            abx_erase(r->validation, state(w), dc, client);
        if (lparam & PRF_CLIENT)
            abx_draw(r->validation, state(w), dc, client, r->font);
        return 0;
    }
    case WM_SETCURSOR:
        if (hourglass_set_cursor())
            return TRUE;
        if (LOWORD(lparam) == HTCLIENT && set_pointer(w, r))
            return TRUE;
        break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK:
        press(w, r, message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK,
              message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
        return 0;
    case WM_LBUTTONUP: case WM_RBUTTONUP: {
        bool left = message == WM_LBUTTONUP;
        if (r->button == (left ? BUTTON_SELECT : BUTTON_ADJUST))
            release(w, r, inside(w, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}));
        return 0;
    }
    case WM_MOUSEMOVE: moved(w, r, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}); return 0;
    case WM_CAPTURECHANGED:
        // Losing the capture (to a dialog, a menu, another program) ends the
        // press without reporting it; Wine also sends this when the capture
        // is set again to the same window.
        if (r->button && reinterpret_cast<HWND>(lparam) != w)
            release(w, r, false);
        return 0;
    case WM_TIMER:
        if (wparam == abx_repeat_timer) {
            repeat(w, r);
            return 0;
        }
        break;
    }
    return DefWindowProcA(w, message, wparam, lparam);
}

// The control of that identifier, when it is an "abx" control: the private
// messages would mean something else to other classes.
HWND control(HWND window, int icon, const error_block **error)
{
    HWND c = GetDlgItem(window, icon);
    char name[8] = {};
    if (!c) {
        *error = win_error("GetDlgItem", "%d", icon);
        return nullptr;
    }
    *error = nullptr;
    return GetClassNameA(c, name, sizeof name) && lstrcmpiA(name, "abx") == 0 ? c : nullptr;
}

}  // namespace

const error_block *abx_register_class()
{
    WNDCLASSA abx = {};
    abx.style = CS_DBLCLKS;
    abx.lpfnWndProc = abx_proc;
    abx.cbWndExtra = sizeof(LONG);
    abx.hInstance = GetModuleHandleA(nullptr);
    abx.hCursor = LoadCursor(nullptr, IDC_ARROW);
    abx.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    abx.lpszClassName = "abx";
    if (!RegisterClassA(&abx) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win_error("RegisterClass", "(%s)", "abx");
    return nullptr;
}

const error_block *abx_set_command(HWND window, int icon, char letter, const char *value)
{
    const error_block *e;
    HWND c = control(window, icon, &e);
    if (c)
        SendMessageA(c, ABXM_SET_COMMAND, (WPARAM)(unsigned char)letter, reinterpret_cast<LPARAM>(value));
    return e;
}

const error_block *abx_set_colour(HWND window, int icon, char letter, uint32_t colour)
{
    char value[16];
    snprintf(value, sizeof value, "0x%x", colour);
    return abx_set_command(window, icon, letter, value);
}

const error_block *abx_get_validation(HWND window, int icon, std::string *validation)
{
    validation->clear();
    const error_block *e;
    HWND c = control(window, icon, &e);
    if (c)
        SendMessageA(c, ABXM_GET_VALIDATION, 0, reinterpret_cast<LPARAM>(validation));
    return e;
}
