// The toolkit's window procedure (class "Task"): offers each message to
// the filters, maps it to an event, and leaves what no handler took to the
// platform's dialog processing. It only dispatches; the work is done by
// the handlers and by the files named beside each message.
#include <windows.h>
#include <windowsx.h>
#include <cstring>

#include "toolkit/events/internal_win.h"
#include "toolkit/events/registry.h"
#include "toolkit/messages/log.h"

namespace {

LRESULT default_proc(HWND w, UINT message, WPARAM wparam, LPARAM lparam)
{
    return IsWindowUnicode(w) ? DefDlgProcW(w, message, wparam, lparam) : DefDlgProcA(w, message, wparam, lparam);
}

bool key_message(HWND w, int key)
{
    return raise_key(w, caret_icon_in(w), &key);
}

void user_notice(int action)
{
    user_message m = {};
    m.size = sizeof m;
    m.action = action;
    send_message(&m);
}

bool erase_background(HWND w, HDC dc)
{
    wdata *d = window_data(w);
    COLORREF colour;
    if (!d || !toolkit_colour(d->background, true, &colour))
        return false;
    RECT r;
    GetClientRect(w, &r);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    return true;
}

void fixed_size(HWND w, MINMAXINFO *info)
{
    wdata *d = window_data(w);
    if (!d || !(d->flags & WF_FIXED_SIZE))
        return;
    // The extent is the client area: the frame is added so that all of it shows.
    RECT r = {0, 0, px_from_os_x(d->extent[1] - d->extent[0]), px_from_os_y(d->extent[3] - d->extent[2])};
    window_rect_from_client(w, &r);
    info->ptMaxSize.x = info->ptMaxTrackSize.x = r.right - r.left;
    info->ptMaxSize.y = info->ptMaxTrackSize.y = r.bottom - r.top;
}

bool help_request(HWND w, int icon)
{
    int result = 0;
    return registry_walk(EV_HELP, w, false, [&](const handler_entry &e) {
        if (e.handler)
            report_handler_error(reinterpret_cast<help_handler>(e.handler)(w, reinterpret_cast<void *>(e.value),
                                                                           icon, &result));
        return true;
    });
}

bool set_cursor(HWND w, LPARAM lparam)
{
    if (hourglass_set_cursor())
        return true;
    if (LOWORD(lparam) != HTCLIENT)
        return false;
    int hit = LOWORD(lparam), claimed = 0;
    registry_walk(EV_SETCURSOR, w, false, [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<cursor_handler>(e.handler)(w, reinterpret_cast<void *>(e.value),
                                                                         &hit, &claimed));
        return false;
    });
    return claimed != 0;
}

void activate(HWND w, WPARAM wparam, LPARAM lparam)
{
    registry_walk(EV_ACTIVATE, w, false, [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<activate_handler>(e.handler)(
            w, reinterpret_cast<void *>(e.value), reinterpret_cast<HWND>(lparam), (int)LOWORD(wparam)));
        return false;
    });
}

void icon_event(int kind, HWND w, int icon, int gained)
{
    registry_walk(kind, w, false, [&](const handler_entry &e) {
        void *value = reinterpret_cast<void *>(e.value);
        if (kind == EV_TEXT_CHANGED)
            report_handler_error(reinterpret_cast<icon_handler>(e.handler)(w, icon, value));
        else
            report_handler_error(reinterpret_cast<icon_focus_handler>(e.handler)(w, icon, gained, value));
        return false;
    });
}

void button_click(HWND w, int icon)
{
    POINT p;
    GetCursorPos(&p);
    mouse_block m;
    mouse_block_at(w, p, &m);
    m.window = w;
    m.icon = icon;
    m.buttons = BUTTON_SELECT;
    raise_click(w, &m);
}

// Picking from a combo box's list changes its text, which the platform
// reports only after this notification (and not as an edit change): put
// the picked text in now, without the edit change it may raise, and raise
// one text change, as setting the text from the program does.
bool suppress_combo_edit = false;

bool is_combo(HWND control)
{
    char name[16];
    return GetClassNameA(control, name, sizeof name) && lstrcmpiA(name, "ComboBox") == 0;
}

void combo_picked(HWND w, int icon, HWND combo)
{
    LRESULT at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    LRESULT length = at == CB_ERR ? CB_ERR : SendMessageA(combo, CB_GETLBTEXTLEN, at, 0);
    if (length == CB_ERR || length > 1023)
        return;
    char picked[1024] = "", held[1024] = "";
    SendMessageA(combo, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(picked));
    GetWindowTextA(combo, held, sizeof held);
    if (strcmp(picked, held) != 0) {
        suppress_combo_edit = true;
        SetWindowTextA(combo, picked);
        suppress_combo_edit = false;
    }
    icon_event(EV_TEXT_CHANGED, w, icon, 0);
}

bool command(HWND w, WPARAM wparam, LPARAM lparam)
{
    int id = LOWORD(wparam), code = HIWORD(wparam);
    if ((id == IDOK || id == IDCANCEL) && code == BN_CLICKED)
        return key_message(w, id == IDOK ? 13 : 27), true;
    if (!lparam) {
        menu_command(w, id);
        return true;
    }
    switch (code) {
    case BN_CLICKED: button_click(w, id); return true;
    case EN_CHANGE: case CBN_EDITCHANGE:
        if (!suppress_combo_edit)
            icon_event(EV_TEXT_CHANGED, w, id, 0);
        return true;
    case CBN_SELCHANGE:
        if (is_combo(reinterpret_cast<HWND>(lparam))) {
            combo_picked(w, id, reinterpret_cast<HWND>(lparam));
            return true;
        }
        return false;
    case EN_SETFOCUS: case CBN_SETFOCUS: icon_event(EV_ICON_FOCUS, w, id, 1); return true;
    case EN_KILLFOCUS: case CBN_KILLFOCUS: icon_event(EV_ICON_FOCUS, w, id, 0); return true;
    }
    return false;
}

bool app_command(HWND w, WPARAM wparam, LPARAM lparam)
{
    int claimed = 0;
    registry_walk(EV_APPCOMMAND, w, false, [&](const handler_entry &e) {
        report_handler_error(reinterpret_cast<appcommand_handler>(e.handler)(
            w, reinterpret_cast<void *>(e.value), reinterpret_cast<HWND>(wparam), GET_APPCOMMAND_LPARAM(lparam),
            GET_DEVICE_LPARAM(lparam), GET_KEYSTATE_LPARAM(lparam), &claimed));
        return true;
    });
    return claimed != 0;
}

// The message-to-event map. Returns true with *result set when the
// message was taken.
bool handle(HWND w, UINT message, WPARAM wparam, LPARAM lparam, LRESULT *result)
{
    *result = 0;
    switch (message) {
    case WM_NCDESTROY:
        window_forget(w);
        return false;
    case WM_MOVE:
        raise_open_event(w);
        return false;
    case WM_SIZE: case WM_SHOWWINDOW:
        if (message == WM_SHOWWINDOW && !wparam)
            return false;
        window_keep_scroll_valid(w);
        raise_open_event(w);
        return false;
    case WM_ACTIVATE: activate(w, wparam, lparam); return false;
    case WM_SETFOCUS: raise_flag_event(EV_FOCUS, w, 1); return false;
    case WM_KILLFOCUS: raise_flag_event(EV_FOCUS, w, 0); return false;
    case WM_PAINT:
        if (!raise_window_event(EV_REDRAW, w))
            return false;
        ValidateRect(w, nullptr);   // a handler that drew nothing must not loop
        return true;
    case WM_CLOSE:
        if (!raise_window_event(EV_CLOSE, w)) {
            drag_end_for(w);
            if (GetCapture() == w)
                ReleaseCapture();
            ShowWindow(w, SW_HIDE);
        }
        return true;
    case WM_ERASEBKGND:
        *result = 1;
        return erase_background(w, reinterpret_cast<HDC>(wparam));
    case WM_FONTCHANGE: user_notice(MESSAGE_FONT_CHANGE); return true;
    case WM_SETCURSOR:
        *result = TRUE;
        return set_cursor(w, lparam);
    case WM_GETMINMAXINFO: fixed_size(w, reinterpret_cast<MINMAXINFO *>(lparam)); return false;
    case WM_HELP: {
        auto *info = reinterpret_cast<HELPINFO *>(lparam);
        if (GetKeyState(VK_SHIFT) < 0)
            help_pointer_mode(1);
        else if (info->iContextType == HELPINFO_MENUITEM)
            menu_help(w, static_cast<HMENU>(info->hItemHandle), info->iCtrlId);
        else
            help_request(w, info->hItemHandle == w ? -1 : info->iCtrlId);
        *result = TRUE;
        return true;
    }
    case WM_CONTEXTMENU: {
        HWND on = reinterpret_cast<HWND>(wparam);
        return help_request(w, on && on != w ? GetDlgCtrlID(on) : -1);
    }
    case WM_DISPLAYCHANGE: display_read_metrics(); user_notice(MESSAGE_PALETTE); return false;
    case WM_QUERYNEWPALETTE: case WM_PALETTECHANGED: user_notice(MESSAGE_PALETTE); return false;
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
        return !suppress_key_event && key_message(w, key_code_for(wparam));
    case WM_CHAR: case WM_SYSCHAR: case WM_UNICHAR: case WM_IME_CHAR:
        return key_message(w, (int)wparam);
    case WM_COMMAND: return command(w, wparam, lparam);
    case WM_SYSCOMMAND:
        if ((wparam & 0xFFF0) == SC_MOVE && (window_get_flags(w) & WF_NOMOVE)) {
            debug_log("syscommand defeat");
            return true;
        }
        return false;
    case WM_HSCROLL: case WM_VSCROLL:
        if (lparam)
            return false;
        scroll_message(w, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wparam), HIWORD(wparam));
        return true;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lparam))
            menu_init_popup(w, reinterpret_cast<HMENU>(wparam), LOWORD(lparam));
        return true;
    case WM_MENUSELECT: menu_highlight(reinterpret_cast<HMENU>(lparam), HIWORD(wparam)); return false;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MOUSEMOVE:
        return mouse_message(w, message, wparam, lparam);
    case WM_MOUSEWHEEL: case WM_MOUSEHWHEEL: return wheel_message(w, message, wparam, lparam);
    case WM_CAPTURECHANGED:
        // Wine reports a change also when the capture is set again to the
        // same window: only a real loss ends the drag.
        if (drag_active() && reinterpret_cast<HWND>(lparam) != w)
            drag_end(true);
        return false;
    case WM_DROPFILES: drop_files(w, reinterpret_cast<HDROP>(wparam)); return true;
    case WM_HOTKEY: raise_hotkey(w, (int)wparam, (int)lparam); return true;
    case WM_APPCOMMAND:
        *result = TRUE;
        return app_command(w, wparam, lparam);
    }
    return false;
}

}  // namespace

LRESULT CALLBACK task_window_proc(HWND w, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (creating && !window_data(w))
        window_attach(w);
    poll_depth_enter();
    platform_message m{w, message, wparam, lparam, 0};
    LRESULT result;
    if (raise_filters(EV_MSG_INSIDE, EV_WIN_INSIDE, EV_ALL_INSIDE, &m))
        result = m.result;
    else if (!handle(w, message, wparam, lparam, &result))
        result = default_proc(w, message, wparam, lparam);
    poll_depth_leave();
    return result;
}

INT_PTR CALLBACK task_dialog_proc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
