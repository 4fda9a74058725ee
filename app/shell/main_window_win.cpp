// The main window: its three children, the layout with its draggable
// divider, the caption, quitting, and files dropped on the window.
//
// Layout: the button bar spans the top at its template height; below it
// the solutions pane runs from the left edge to 2 pixels before the
// divider and the grid pane from 2 pixels after it to the right edge. The
// divider sits at split_fraction/65536 of the inner width; the 4-pixel gap
// belongs to the main window and shows the "splith" pointer.
#include <windows.h>
#include <cstring>

#include "app/dictionary/dictionary_set.h"
#include "app/grid/grid.h"
#include "app/grid/grid_file.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/grid_pane.h"
#include "app/grid/result_list.h"
#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/window.h"
#include "toolkit/files/filetypes.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"
#include "toolkit/messages/report.h"

HWND main_window = nullptr;
HWND grid_pane = nullptr;
HWND solutions_pane = nullptr;
HWND button_bar = nullptr;

namespace {

const int split_min = 3276;
const int split_max = 62259;

// Client pixels to screen OS units, for opening a child at a client rectangle.
void place_child(HWND child, int left, int top, int right, int bottom)
{
    if (!child)
        return;
    POINT origin = {0, 0};
    ClientToScreen(main_window, &origin);
    if (right < left)
        right = left;
    if (bottom < top)
        bottom = top;
    window_state s;
    window_get_state(child, &s);
    s.x0 = screen_os_x(origin.x + left);
    s.x1 = screen_os_x(origin.x + right);
    s.y1 = screen_os_y(origin.y + top);
    s.y0 = screen_os_y(origin.y + bottom);
    s.behind = BEHIND_TOP;
    window_open_ex(&s);
}

int bar_height_px()
{
    int extent[4];
    window_get_extent(button_bar, extent);
    return px_from_os_y(extent[3] - extent[1]);
}

// The divider drag follows the pointer: the panes are laid out again at
// every move.
void divider_moved(intptr_t, intptr_t, int x, int)
{
    window_state s;
    window_get_state(main_window, &s);
    if (s.x1 <= s.x0)
        return;
    int64_t product = (int64_t)(x - s.x0) * 65536;
    int width = s.x1 - s.x0;
    int64_t fraction = (product + (product >= 0 ? width / 2 : -(width / 2))) / width;
    if (fraction < split_min)
        fraction = split_min;
    if (fraction > split_max)
        fraction = split_max;
    grid.split_fraction = (int32_t)fraction;
    layout_main_window(&s);
}

void divider_end(intptr_t, intptr_t, int, int, int, int) {}

const error_block *main_click(HWND, void *, mouse_block *mouse)
{
    if (mouse->buttons != BUTTON_SELECT_DRAG || mouse->icon != -1)
        return nullptr;
    POINT p;
    GetCursorPos(&p);
    if (WindowFromPoint(p) != main_window)
        return nullptr;
    drag_block d{};
    d.window = main_window;
    d.type = 5;   // an empty box: nothing is drawn, the panes themselves move
    d.x0 = d.x1 = mouse->x;
    d.y0 = d.y1 = mouse->y;
    drag_set_callbacks(divider_end, 0, 0, divider_moved);
    return drag_start(&d);
}

const error_block *main_cursor(HWND, void *, int *, int *claimed)
{
    POINT p;
    GetCursorPos(&p);
    if (WindowFromPoint(p) != main_window)
        return nullptr;
    static HCURSOR split = LoadCursorA(GetModuleHandleA(nullptr), "splith");
    SetCursor(split ? split : LoadCursor(nullptr, IDC_SIZEWE));
    *claimed = 1;
    return nullptr;
}

const error_block *main_opened(HWND, void *, window_state *state)
{
    layout_main_window(state);
    return nullptr;
}

const error_block *main_close(HWND, void *)
{
    return command_quit();
}

// Drops: a grid file anywhere; a text file only onto a Wordsquare.
const error_block *drop_offer(const char *, int type, mouse_block *, void *, int *accept)
{
    *accept = type == grid_file_type || (type == FILETYPE_TEXT && grid.grid_type == 1);
    return nullptr;
}

const error_block *drop_take(const char *path, int type, void *, int)
{
    if (type == FILETYPE_TEXT)
        return list_from_text_file(path);
    // The dropped grid replaces the one on screen: unsaved work is not
    // thrown away without asking.
    if (confirm_quit())
        return nullptr;
    const error_block *e = load_grid_file(path);
    layout_now();
    return e;
}

const error_block *accept_drops(HWND w)
{
    const error_block *e = register_drop_offer(drop_offer, w, nullptr);
    if (!e)
        e = register_drop(drop_take, w, nullptr);
    return e;
}

void window_size_hook(int32_t *width, int32_t *height)
{
    if (!main_window)
        return;
    window_state s;
    window_get_state(main_window, &s);
    *width = s.x1 - s.x0;
    *height = s.y1 - s.y0;
}

void resize_hook(int, int) { fit_window_to_grid(); }

void marked_length_hook(const char *text)
{
    if (button_bar && GetDlgItem(button_bar, BAR_MARKED_LENGTH))
        icon_set_text(button_bar, BAR_MARKED_LENGTH, text);
}

}  // namespace

void layout_main_window(const window_state *visible)
{
    if (!main_window)
        return;
    RECT client;
    GetClientRect(main_window, &client);
    (void)visible;   // the client rectangle is the same area, in pixels
    int width = client.right, height = client.bottom;
    int bar = button_bar ? bar_height_px() : 0;
    int divider = (int)((int64_t)width * grid.split_fraction / 65536);
    place_child(button_bar, 0, 0, width, bar);
    place_child(solutions_pane, 0, bar, divider - 2, height);
    place_child(grid_pane, divider + 2, bar, width, height);
}

void layout_now()
{
    if (!main_window)
        return;
    window_state s;
    window_get_state(main_window, &s);
    layout_main_window(&s);
    InvalidateRect(main_window, nullptr, TRUE);
}

const error_block *open_main_window()
{
    const error_block *e = window_create(TEMPLATE_MAIN, "{NAME}", nullptr, &main_window);
    if (!e)
        e = grid_pane_create(main_window, &grid_pane);
    if (!e)
        e = window_create(TEMPLATE_SOLUTIONS, nullptr, main_window, &solutions_pane);
    if (!e)
        e = solutions_pane_register();
    if (!e)
        e = create_button_bar(0);
    if (!e)
        e = menu_set_bar(main_window, MENU_MAIN);
    if (!e)
        e = register_close(main_close, main_window, nullptr);
    if (!e)
        e = register_open(main_opened, main_window, nullptr);
    if (!e)
        e = accept_drops(main_window);
    if (!e)
        e = accept_drops(grid_pane);
    if (!e)
        e = accept_drops(solutions_pane);
    if (!e)
        e = register_click(main_click, main_window, nullptr);
    if (!e)
        e = register_setcursor(main_cursor, main_window, nullptr);
    if (!e)
        e = grid_pane_register_keys(main_window);
    if (e)
        return e;

    set_title();
    window_state s;
    window_get_state(main_window, &s);
    if (grid.window_width && grid.window_height) {
        s.x1 = s.x0 + grid.window_width;
        s.y0 = s.y1 - grid.window_height;
        window_open(&s);
    }
    e = window_open_centred(main_window);
    layout_now();
    SetForegroundWindow(main_window);
    SetActiveWindow(main_window);
    SetFocus(grid_pane);
    return e;
}

void set_title()
{
    if (!main_window)
        return;
    char caption[400];
    if (grid.grid_file_name[0]) {
        const char *name = grid.grid_file_name;
        const char *leaf = strrchr(name, '\\');
        if (!leaf)
            leaf = strrchr(name, '/');
        if (!leaf)
            leaf = strrchr(name, ':');
        leaf = leaf ? leaf + 1 : name;
        format_tokens(sizeof caption, caption, "{NAME} - %s", leaf);
    } else {
        format_tokens(sizeof caption, caption, "{NAME}");
    }
    if (is_modified() && strlen(caption) + 1 < sizeof caption)
        strcat(caption, "*");
    SetWindowTextA(main_window, caption);
}

namespace {

// A Yes/No warning that loses work on Yes: 0 goes on, 1 (No) stays.
int ask_to_continue(const char *question)
{
    int answer = 0;
    message_box(main_window, 0x10002, &answer, question);
    return answer == 3 ? 0 : 1;
}

}  // namespace

int confirm_quit() { return is_modified() ? ask_to_continue("{FS10}") : 0; }

// Dictionary edits kept in memory (the Edit window's close box keeps them
// unsaved) are lost by quitting.
int confirm_quit_dictionaries() { return any_dictionary_changed() ? ask_to_continue("{DICTCH}") : 0; }

void fit_window_to_grid()
{
    if (!grid.window_width || !grid.window_height || !main_window)
        return;
    window_state s;
    window_get_state(main_window, &s);
    s.x1 = s.x0 + grid.window_width;
    s.y0 = s.y1 - grid.window_height;
    s.behind = BEHIND_KEEP;
    window_open(&s);
    layout_now();
}

void shell_install_grid_hooks()
{
    grid_ui_hooks h{};
    h.retitle = set_title;
    h.show_marked_length = marked_length_hook;
    h.show_progress = show_progress;
    h.refresh_solutions = pane_refresh;
    // A job running brings back the bar for the grid type when it ends.
    h.switch_button_bar = [](int) {
        if (!job_running())
            swap_button_bar(0);
    };
    h.poll_once = []() -> const error_block * {
        poll_once();
        return nullptr;
    };
    h.window_size = window_size_hook;
    h.resize_main_window = resize_hook;
    grid_set_hooks(&h);
}
