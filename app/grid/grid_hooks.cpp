// The grid's user-interface hooks: no-op defaults and one wrapper per hook.
#include "app/grid/grid_hooks.h"

#include <cstdio>
#include <cstdlib>

namespace {

void no_cells(int, int, int, int) {}
void no_action() {}
void no_extent(int, int) {}
void no_text(const char *) {}
void no_count(int) {}
const error_block *no_poll() { return nullptr; }
void keep_size(int32_t *, int32_t *) {}
void no_cell(int, int) {}

int environment_login_name(char *out, int size)
{
    const char *name = getenv("USERNAME");
    if (!name || !*name)
        name = getenv("USER");
    if (!name || !*name)
        return 2;
    return snprintf(out, size, "%s", name) < size ? 0 : 122;   // 122: buffer too small
}

const grid_ui_hooks defaults = {
    no_cells, no_action, no_extent, no_action, no_text, no_count,
    no_action, no_count, no_poll, keep_size, no_extent, environment_login_name,
    no_action, no_cell,
};

template <class F> void take(F &field, F given, F fallback) { field = given ? given : fallback; }

}  // namespace

grid_ui_hooks grid_hooks = defaults;

void grid_set_hooks(const grid_ui_hooks *hooks)
{
    if (!hooks) {
        grid_hooks = defaults;
        return;
    }
    take(grid_hooks.redraw_cells, hooks->redraw_cells, defaults.redraw_cells);
    take(grid_hooks.redraw_grid, hooks->redraw_grid, defaults.redraw_grid);
    take(grid_hooks.set_extent, hooks->set_extent, defaults.set_extent);
    take(grid_hooks.retitle, hooks->retitle, defaults.retitle);
    take(grid_hooks.show_marked_length, hooks->show_marked_length, defaults.show_marked_length);
    take(grid_hooks.show_progress, hooks->show_progress, defaults.show_progress);
    take(grid_hooks.refresh_solutions, hooks->refresh_solutions, defaults.refresh_solutions);
    take(grid_hooks.switch_button_bar, hooks->switch_button_bar, defaults.switch_button_bar);
    take(grid_hooks.poll_once, hooks->poll_once, defaults.poll_once);
    take(grid_hooks.window_size, hooks->window_size, defaults.window_size);
    take(grid_hooks.resize_main_window, hooks->resize_main_window, defaults.resize_main_window);
    take(grid_hooks.login_name, hooks->login_name, defaults.login_name);
    take(grid_hooks.beep, hooks->beep, defaults.beep);
    take(grid_hooks.show_cell, hooks->show_cell, defaults.show_cell);
}

void grid_ui_redraw_cells(int col0, int row0, int col1, int row1)
{
    grid_hooks.redraw_cells(col0, row0, col1, row1);
}
void grid_ui_redraw_grid() { grid_hooks.redraw_grid(); }
void grid_ui_set_extent(int width_units, int height_units)
{
    grid_hooks.set_extent(width_units, height_units);
}
void grid_ui_retitle() { grid_hooks.retitle(); }
void grid_ui_show_marked_length(const char *text) { grid_hooks.show_marked_length(text); }
void grid_ui_show_progress(int count) { grid_hooks.show_progress(count); }
void grid_ui_refresh_solutions() { grid_hooks.refresh_solutions(); }
void grid_ui_switch_button_bar(int grid_type) { grid_hooks.switch_button_bar(grid_type); }
const error_block *grid_ui_poll_once() { return grid_hooks.poll_once(); }
void grid_ui_window_size(int32_t *width, int32_t *height) { grid_hooks.window_size(width, height); }
void grid_ui_resize_main_window(int width, int height)
{
    grid_hooks.resize_main_window(width, height);
}
int grid_ui_login_name(char *out, int size) { return grid_hooks.login_name(out, size); }
void grid_ui_beep() { grid_hooks.beep(); }
void grid_ui_show_cell(int col, int row) { grid_hooks.show_cell(col, row); }
