// Declarations shared by the Windows files of the task and window layer.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "toolkit/events/events.h"
#include "toolkit/events/window.h"

struct error_block;

// An error for a failing platform call: the platform's text for the last
// error, then "(call) (code) (detail)".
const error_block *win_error(const char *call, const char *detail_format = nullptr, ...);

LRESULT CALLBACK task_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK task_dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
const error_block *abx_register_class();

// Dispatch of one event kind for one window: each returns true when a
// handler took the event (as the kind's rule says).
bool raise_window_event(int kind, HWND window);
bool raise_open_event(HWND window);
bool raise_click(HWND window, mouse_block *mouse);
bool raise_key(HWND window, int icon, int *key);
void raise_flag_event(int kind, HWND window, int flag);
void raise_user_message(user_message *message, int *claimed);
bool raise_filters(int kind_window_number, int kind_window, int kind_all, platform_message *m);
void raise_timers(bool fired);

// Mouse messages and drags (mouse_win.cpp).
bool mouse_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void mouse_block_at(HWND window, POINT screen, mouse_block *mouse);
void drag_pointer_moved(POINT screen);
void drag_end(bool call_back);
void drag_end_for(HWND window);
bool wheel_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void scroll_message(HWND window, int bar, int request, int position);

// Menus (menu_events_win.cpp).
void menu_init_popup(HWND window, HMENU menu, int position);
void menu_highlight(HMENU menu, UINT flags);
void menu_command(HWND window, int command);
void menu_help(HWND window, HMENU menu, int command);

// Drops (drop_win.cpp).
void drop_files(HWND window, HDROP drop);

// Busy pointer: true when it took the set-cursor request.
bool hourglass_set_cursor();

// Key suppression while a translated key-down is dispatched.
extern bool suppress_key_event;

// The window being created: its data is attached on its first message.
extern wdata *creating;
wdata *window_attach(HWND window);

// Display metrics read at start-up.
struct display_metrics {
    int dpi_x, dpi_y;
    int width, height;      // pixels
    int bits;
};
extern display_metrics display;

// Converts a window's client pixel point to work-area OS units and back.
void work_from_client(const wdata *w, int cx, int cy, int *x, int *y);
void client_from_work(const wdata *w, int x, int y, int *cx, int *cy);

// Poll internals.
int key_code_for(WPARAM virtual_key);
int caret_icon_in(HWND window);
void hourglass_load_pointers();
void poll_depth_enter();
void poll_depth_leave();
// Toolkit colours: false for "no colour".
bool toolkit_colour(uint32_t colour, bool window_background, COLORREF *out);
void raise_hotkey(HWND window, int id, int code);
void window_forget(HWND window);
// Grows a client rectangle (pixels) to the window rectangle around it: the
// frame, the menu bar and the scroll bars the window shows now (the
// platform's own adjustment leaves the bars out).
void window_rect_from_client(HWND window, RECT *r);
// Fills the file layer's event hooks.
void events_link_files();
