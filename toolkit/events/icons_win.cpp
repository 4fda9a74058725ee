// Icons (a window's controls), the caret and sounds.
#include <windows.h>
#include <cstring>

#include "toolkit/events/internal_win.h"

namespace {

const error_block *control(HWND window, int icon, HWND *out)
{
    *out = GetDlgItem(window, icon);
    return *out ? nullptr : win_error("GetDlgItem", "%d", icon);
}

bool class_is(HWND w, const char *name)
{
    char held[32];
    return GetClassNameA(w, held, sizeof held) && lstrcmpiA(held, name) == 0;
}

}  // namespace

const error_block *icon_set_text(HWND window, int icon, const char *text)
{
    HWND c;
    if (const error_block *e = control(window, icon, &c))
        return e;
    return SetWindowTextA(c, text) ? nullptr : win_error("SetWindowText", "%d", icon);
}

const error_block *icon_get_text(HWND window, int icon, char *buffer, int size)
{
    HWND c;
    buffer[0] = 0;
    if (const error_block *e = control(window, icon, &c))
        return e;
    GetWindowTextA(c, buffer, size);
    return nullptr;
}

const error_block *icon_move(HWND window, int icon, int x0, int y0, int x1, int y1)
{
    wdata *d = window_checked(window, "move icon");
    HWND c;
    if (const error_block *e = control(window, icon, &c))
        return e;
    int l = px_from_os_x(x0), t = px_from_os_y(-y1), r = px_from_os_x(x1), b = px_from_os_y(-y0);
    if (d) {
        client_from_work(d, x0, y1, &l, &t);
        client_from_work(d, x1, y0, &r, &b);
    }
    return MoveWindow(c, l, t, r - l, b - t, TRUE) ? nullptr : win_error("MoveWindow", "%d", icon);
}

const error_block *icon_delete(HWND window, int icon)
{
    HWND c;
    if (const error_block *e = control(window, icon, &c))
        return e;
    return DestroyWindow(c) ? nullptr : win_error("DestroyWindow", "%d", icon);
}

const error_block *icon_enable(HWND window, int icon, int enabled)
{
    HWND c;
    if (const error_block *e = control(window, icon, &c))
        return e;
    EnableWindow(c, enabled != 0);
    return nullptr;
}

const error_block *icon_select(HWND window, int icon, int selected)
{
    HWND c;
    if (const error_block *e = control(window, icon, &c))
        return e;
    SendMessageA(c, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
    return nullptr;
}

int icon_selected(HWND window, int icon)
{
    HWND c = GetDlgItem(window, icon);
    return c && SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void caret_get(caret_block *block)
{
    HWND focus = GetFocus();
    HWND owner = focus;
    while (owner && !is_task_window(owner))
        owner = GetParent(owner);
    block->window = owner;
    block->icon = !focus || focus == owner ? -1 : GetDlgCtrlID(focus);
    block->unused[0] = block->unused[1] = block->unused[2] = -1;
    block->selection_start = block->selection_end = -1;
    DWORD start = 0, end = 0;
    if (focus && class_is(focus, "Edit")) {
        SendMessageA(focus, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    } else if (focus && GetParent(focus) && class_is(GetParent(focus), "ComboBox")) {
        SendMessageA(GetParent(focus), CB_GETEDITSEL, (WPARAM)&start, (LPARAM)&end);
        block->icon = GetDlgCtrlID(GetParent(focus));
    } else {
        return;
    }
    block->selection_start = (int)start;
    block->selection_end = (int)end;
}

const error_block *caret_set(HWND window, int icon, int selection_start, int selection_end)
{
    HWND c = window;
    if (icon != -1)
        if (const error_block *e = control(window, icon, &c))
            return e;
    SetFocus(c);
    if (class_is(c, "Edit"))
        SendMessageA(c, EM_SETSEL, selection_start, selection_end);
    else if (class_is(c, "ComboBox"))
        SendMessageA(c, CB_SETEDITSEL, 0, MAKELPARAM(selection_start, selection_end));
    return nullptr;
}

void sound_write(int character)
{
    if (character == 7)
        MessageBeep(MB_OK);
}

void sound_play(int frequency, int duration)
{
    if (frequency == 0 && duration == 0)
        MessageBeep(MB_OK);
    else if (frequency == -1)
        MessageBeep((UINT)duration);
    else
        Beep(frequency ? frequency : 400, duration ? duration : 300);
}
