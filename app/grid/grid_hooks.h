// How the grid engine reaches the user interface: one table of function
// pointers that the shell fills in at start-up. Tests and quill install
// their own; grid_set_hooks(nullptr) restores the no-op defaults. A null
// field in a table passed to grid_set_hooks also gets its no-op default.
// The engine calls the hooks only through the grid_ui_* wrappers.
#pragma once
#include <cstdint>

struct error_block;

struct grid_ui_hooks {
    // Repaint the cells of the rectangle col0..col1 x row0..row1
    // (inclusive, col0 <= col1, row0 <= row1). Default: nothing.
    void (*redraw_cells)(int col0, int row0, int col1, int row1);
    // Repaint the whole grid pane. Default: nothing.
    void (*redraw_grid)();
    // The grid pane's work area changed: width and height in 1/180 inch.
    void (*set_extent)(int width_units, int height_units);
    // The file name or the modified state changed: redraw the title.
    void (*retitle)();
    // Write the marked-length display of the crossword bar ("" empties it).
    void (*show_marked_length)(const char *text);
    // Show the result list's count on the Stop bar.
    void (*show_progress)(int count);
    // Redraw the solutions pane after its list changed.
    void (*refresh_solutions)();
    // Show the normal button bar for this grid type (0 crossword, 1 Wordsquare).
    void (*switch_button_bar)(int grid_type);
    // Process one pending event (searches call it between units of work);
    // returns an error to pass on, or null. Default: nothing, null.
    const error_block *(*poll_once)();
    // The main window's visible area now, for the grid file header. Called
    // with the grid's stored values in place; default leaves them.
    void (*window_size)(int32_t *width, int32_t *height);
    // Size the main window from a loaded file's stored visible area (both
    // nonzero). Default: nothing.
    void (*resize_main_window)(int width, int height);
    // The current user's login name (the platform's user-name query) into
    // `out` (`size` bytes); returns 0, or the platform's error code when
    // the query fails. Default: the environment's USERNAME, else USER.
    int (*login_name)(char *out, int size);
    // Refused moves, clicks and keys: the toolkit's beep. Default: nothing.
    void (*beep)();
    // Scroll the grid pane by the least amount that shows cell (col, row)
    // whole. Default: nothing.
    void (*show_cell)(int col, int row);
};

extern grid_ui_hooks grid_hooks;
void grid_set_hooks(const grid_ui_hooks *hooks);

void grid_ui_redraw_cells(int col0, int row0, int col1, int row1);
void grid_ui_redraw_grid();
void grid_ui_set_extent(int width_units, int height_units);
void grid_ui_retitle();
void grid_ui_show_marked_length(const char *text);
void grid_ui_show_progress(int count);
void grid_ui_refresh_solutions();
void grid_ui_switch_button_bar(int grid_type);
const error_block *grid_ui_poll_once();
void grid_ui_window_size(int32_t *width, int32_t *height);
void grid_ui_resize_main_window(int width, int height);
int grid_ui_login_name(char *out, int size);
void grid_ui_beep();
void grid_ui_show_cell(int col, int row);
