// The Grid Size dialogue: width and height with their up-down controls.
// One instance at most; the main window is disabled while it is open. OK
// (Return) resizes the grid; Cancel (Escape) and the close box do not. A
// value below 2, or of 128 and more, keeps that dimension as it is.
#include <windows.h>
#include <commctrl.h>
#include <cstdio>

#include "app/grid/editing.h"
#include "app/grid/grid.h"
#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"

namespace {

HWND dialog = nullptr;

int read_dimension(int field, int current)
{
    char text[32] = "";
    icon_get_text(dialog, field, text, sizeof text);
    int value;
    if (sscanf(text, "%d", &value) != 1 || value < 2 || value >= 128)
        return current;
    return value;
}

const error_block *gridsize_key(HWND, void *, int, int *key);
const error_block *gridsize_close(HWND, void *);

const error_block *finish(bool ok)
{
    int width = read_dimension(1008, grid.width);
    int height = read_dimension(1010, grid.height);
    EnableWindow(main_window, TRUE);
    deregister_key(gridsize_key, dialog, nullptr);
    deregister_close(gridsize_close, dialog, nullptr);
    HWND w = dialog;
    dialog = nullptr;
    const error_block *e = window_delete(w);
    SetForegroundWindow(main_window);
    if (ok)
        resize_grid(width, height);
    return e;
}

const error_block *gridsize_key(HWND, void *, int, int *key)
{
    if (*key != 13 && *key != 27)
        return nullptr;
    bool ok = *key == 13;
    *key = -1;
    return finish(ok);
}

const error_block *gridsize_close(HWND, void *) { return finish(false); }

void set_field(int field, int updown, int value)
{
    SendDlgItemMessageA(dialog, updown, UDM_SETRANGE32, 2, 128);
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    icon_set_text(dialog, field, text);
}

}  // namespace

HWND grid_size_dialog() { return dialog; }

const error_block *open_grid_size_dialog()
{
    if (dialog) {
        SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(dialog);
        return nullptr;
    }
    const error_block *e = window_create(TEMPLATE_GRIDSIZE, nullptr, main_window, &dialog);
    if (e) {
        dialog = nullptr;
        return e;
    }
    set_field(1008, 1007, grid.width);
    set_field(1010, 1009, grid.height);
    e = register_key(gridsize_key, dialog, nullptr);
    if (!e)
        e = register_close(gridsize_close, dialog, nullptr);
    if (!e)
        e = window_open_centred(dialog);
    if (e) {
        window_delete(dialog);
        dialog = nullptr;
        return e;
    }
    EnableWindow(main_window, FALSE);
    SetForegroundWindow(dialog);
    return caret_set(dialog, 1008, 0, -1);
}
