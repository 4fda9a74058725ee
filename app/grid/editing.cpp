// Editing operations on the one grid. The window layer maps keys and
// pointer positions to cells; everything that decides what a key or click
// does to the grid is here, so both builds test it.
#include "app/grid/editing.h"

#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/history.h"
#include "app/grid/result_list.h"
#include "toolkit/text/cp1252.h"

bool drag_fresh = false;

namespace {

int drag_col = -1, drag_row = -1;   // the start cell of the current drag

bool inside(int c, int r) { return c >= 0 && r >= 0 && c < grid.width && r < grid.height; }
uint8_t &attribute(int c, int r) { return grid.attributes[grid_cell(c, r)]; }
uint8_t state(int c, int r) { return attribute(c, r) & cell_state_mask; }
bool filled(int c, int r) { return state(c, r) == cell_filled; }
bool has_cursor() { return inside(grid.cursor_col, grid.cursor_row); }
int min_of(int a, int b) { return a < b ? a : b; }
int max_of(int a, int b) { return a > b ? a : b; }
int clamp(int v, int most) { return max_of(0, min_of(v, most - 1)); }

void set_state(int c, int r, uint8_t s)
{
    uint8_t &a = attribute(c, r);
    a = static_cast<uint8_t>((a & ~cell_state_mask) | s);
}

void redraw_cell(int c, int r)
{
    if (c >= 0 && r >= 0)
        grid_ui_redraw_cells(c, r, c, r);
}

// A cursor move: the last position remembers where it came from. Cells
// are redrawn once the cursor has moved (a redraw may paint at once).
void move_cursor(int c, int r)
{
    grid_ui_show_cell(c, r);
    grid.last_col = grid.cursor_col;
    grid.last_row = grid.cursor_row;
    grid.cursor_col = c;
    grid.cursor_row = r;
    redraw_cell(grid.last_col, grid.last_row);
    redraw_cell(c, r);
}

// Moves to the first cell that is not filled from the cursor in steps of
// (dc, dr); nothing when every cell that way is filled.
void cursor_step(int dc, int dr)
{
    if (!has_cursor())
        return;
    for (int c = grid.cursor_col + dc, r = grid.cursor_row + dr; inside(c, r); c += dc, r += dr)
        if (!filled(c, r)) {
            move_cursor(c, r);
            return;
        }
}

struct rect {
    int c0, r0, c1, r1;   // inclusive, c0 <= c1 and r0 <= r1; c0 -1: none
    bool holds(int c, int r) const { return c0 >= 0 && c >= c0 && c <= c1 && r >= r0 && r <= r1; }
};

rect span(int ca, int ra, int cb, int rb)
{
    return rect{min_of(ca, cb), min_of(ra, rb), max_of(ca, cb), max_of(ra, rb)};
}

rect marked_rect()
{
    if (!grid_has_mark())
        return rect{-1, -1, -1, -1};
    return span(grid.mark_col_a, grid.mark_row_a, grid.mark_col_b, grid.mark_row_b);
}

// The first steps of every reflection.
void begin_reflection()
{
    history_begin();
    unmark();
    discard_word_list();
}

void end_change()
{
    grid_ui_redraw_grid();
    mark_modified();
    history_end();
}

// The target cell takes the source's attribute byte except the bits in
// `keep`, which it keeps.
void copy_attribute(int tc, int tr, uint8_t source, uint8_t keep)
{
    uint8_t &t = attribute(tc, tr);
    t = static_cast<uint8_t>((source & ~keep) | (t & keep));
}

// Sets or clears `bar` on cell (c, r), which may lie one beyond the grid.
void set_bar(int c, int r, uint8_t bar, bool on)
{
    uint8_t &a = attribute(c, r);
    a = static_cast<uint8_t>(on ? a | bar : a & ~bar);
}

// The body of both diagonal reflections: source (i, j) onto its half turn.
void half_turn(int i, int j)
{
    int w = grid.width, h = grid.height;
    uint8_t source = attribute(i, j);
    copy_attribute(w - 1 - i, h - 1 - j, source, bar_left | bar_top);
    set_bar(w - 1 - i, h - j, bar_top, source & bar_top);
    set_bar(w - i, h - 1 - j, bar_left, source & bar_left);
}

void convert_open_letters()
{
    for (int i = 0; i < grid_plane_bytes; i++)
        if ((grid.attributes[i] & cell_state_mask) == cell_open)
            grid.letters[i] = convert_case(grid.letters[i]);
}

void case_command(int32_t mode)
{
    history_begin();
    grid.case_mode = mode;
    unmark();
    discard_word_list();
    mark_modified();
    convert_open_letters();
    grid_ui_redraw_grid();
    history_end();
}

}  // namespace

void cursor_left() { cursor_step(-1, 0); }
void cursor_right() { cursor_step(1, 0); }
void cursor_up() { cursor_step(0, -1); }
void cursor_down() { cursor_step(0, 1); }

void type_character(int code)
{
    unsigned char c = convert_case(static_cast<unsigned char>(code & 0xFF));
    if (!(c == ' ' || c == '*' || cp_is_alpha(c)) || !has_cursor())
        return;
    history_begin();
    grid.letters[grid_cell(grid.cursor_col, grid.cursor_row)] = c;
    redraw_cell(grid.cursor_col, grid.cursor_row);
    advance();
    mark_modified();
    history_end();
}

void delete_character()
{
    if (!has_cursor())
        return;
    history_begin();
    grid.letters[grid_cell(grid.cursor_col, grid.cursor_row)] = ' ';
    redraw_cell(grid.cursor_col, grid.cursor_row);
    retreat();
    mark_modified();
    history_end();
}

void advance()
{
    int c = grid.cursor_col, r = grid.cursor_row;
    bool right_ok = c + 1 < grid.width && !filled(c + 1, r) && !(attribute(c + 1, r) & bar_left);
    bool down_ok = r + 1 < grid.height && !filled(c, r + 1) && !(attribute(c, r + 1) & bar_top);
    bool went_right = c == grid.last_col + 1 && r == grid.last_row;
    bool went_down = r == grid.last_row + 1 && c == grid.last_col;
    if ((went_right && right_ok) || (right_ok && !down_ok))
        move_cursor(c + 1, r);
    else if ((went_down && down_ok) || (down_ok && !right_ok))
        move_cursor(c, r + 1);
    else
        grid_ui_beep();
}

void retreat()
{
    int c = grid.cursor_col, r = grid.cursor_row;
    bool left_ok = c > 0 && !filled(c - 1, r);
    bool up_ok = r > 0 && !filled(c, r - 1);
    bool went_left = c == grid.last_col - 1 && r == grid.last_row;
    bool went_up = r == grid.last_row - 1 && c == grid.last_col;
    if ((went_left && left_ok) || (left_ok && !up_ok))
        move_cursor(c - 1, r);
    else if ((went_up && up_ok) || (up_ok && !left_ok))
        move_cursor(c, r - 1);
    else
        grid_ui_beep();
}

// In a Wordsquare the marked cells are highlighted list words: the click
// takes the highlights away but keeps the list, which is the user's own
// (and the maker's input), not a result that the grid has outgrown.
void select_click(int col, int row, bool ctrl)
{
    if (!inside(col, row)) {
        grid_ui_beep();
        return;
    }
    if (grid_has_mark()) {
        if (ctrl)
            return;
        if (grid.grid_type == 1) {
            remove_highlights();
            unmark();
            grid_ui_refresh_solutions();
        } else {
            unmark();
            discard_word_list();
        }
    }
    if (filled(col, row)) {
        grid_ui_beep();
        return;
    }
    int old_col = grid.cursor_col, old_row = grid.cursor_row;
    grid.cursor_col = grid.last_col = col;
    grid.cursor_row = grid.last_row = row;
    redraw_cell(old_col, old_row);
    redraw_cell(col, row);
}

void adjust_click(int col, int row, bool shift, bool ctrl)
{
    if (!inside(col, row)) {
        grid_ui_beep();
        return;
    }
    if (grid.grid_type != 0)
        return;
    uint8_t &a = attribute(col, row);
    if (grid_has_mark()) {
        if (filled(col, row))
            return;
        history_begin();   // a mark is no content: no step, but counted inside one
        set_state(col, row, state(col, row) == cell_marked ? cell_open : cell_marked);
        mark_modified();
        redraw_cell(col, row);
        recompute_marked_area();
        marked_length_display();
        discard_word_list();
        history_end();
        return;
    }
    history_begin();
    if (filled(col, row)) {
        grid.letters[grid_cell(col, row)] = ' ';
        a &= 0xF0;
    } else {
        set_state(col, row, cell_open);
        if (shift)
            a ^= bar_left;
        else if (ctrl)
            a ^= bar_top;
        else
            set_state(col, row, cell_filled);
    }
    redraw_cell(col, row);
    mark_modified();
    history_end();
}

void drag_start(int col, int row)
{
    if (grid.grid_type != 0)
        return;
    drag_col = clamp(col, grid.width);
    drag_row = clamp(row, grid.height);
    drag_fresh = !grid_has_mark();
    grid.mark_col_a = grid.mark_col_b = grid.mark_row_a = grid.mark_row_b = -1;
    if (!drag_fresh)
        drag_update(col, row);
}

// The previous rectangle of the drag is the marked area, which the start
// set to none: cells in exactly one of the two toggle between open and
// marked, so the start cell of a fresh drag, unmarked while the pointer
// stayed on it, is marked again once the rectangle grows.
void drag_update(int col, int row)
{
    if (grid.grid_type != 0 || drag_col < 0)
        return;
    col = clamp(col, grid.width);
    row = clamp(row, grid.height);
    rect was = marked_rect(), now = span(drag_col, drag_row, col, row);
    rect all = was.c0 < 0 ? now
                          : rect{min_of(was.c0, now.c0), min_of(was.r0, now.r0),
                                 max_of(was.c1, now.c1), max_of(was.r1, now.r1)};
    for (int c = all.c0; c <= all.c1; c++)
        for (int r = all.r0; r <= all.r1; r++) {
            if (was.holds(c, r) == now.holds(c, r))
                continue;
            uint8_t s = state(c, r);
            if (s == cell_open || s == cell_marked)
                set_state(c, r, s == cell_open ? cell_marked : cell_open);
        }
    grid.mark_col_a = drag_col;
    grid.mark_row_a = drag_row;
    grid.mark_col_b = col;
    grid.mark_row_b = row;
    if (drag_fresh) {
        int old_col = grid.cursor_col, old_row = grid.cursor_row;
        if (now.c0 == now.c1 && now.r0 == now.r1) {
            grid.mark_col_a = grid.mark_col_b = grid.mark_row_a = grid.mark_row_b = -1;
            if (state(col, row) == cell_marked)
                set_state(col, row, cell_open);
            if (!filled(col, row)) {   // the cursor never rests on a filled cell
                grid.cursor_col = grid.last_col = col;
                grid.cursor_row = grid.last_row = row;
            }
        } else {
            remove_cursor();
        }
        redraw_cell(old_col, old_row);
        redraw_cell(grid.cursor_col, grid.cursor_row);
    }
    grid_ui_redraw_cells(all.c0, all.r0, all.c1, all.r1);
    marked_length_display();
}

void drag_end()
{
    if (drag_col < 0)
        return;
    drag_fresh = false;
    drag_col = drag_row = -1;
    recompute_marked_area();
    marked_length_display();
}

void reflect_horizontal()
{
    begin_reflection();
    int w = grid.width, h = grid.height;
    for (int i = 0; i < (w - 1) / 2; i++)
        for (int j = 0; j < h; j++) {
            uint8_t source = attribute(i, j);
            copy_attribute(w - 1 - i, j, source, bar_left);
            set_bar(w - i, j, bar_left, source & bar_left);
        }
    end_change();
}

void reflect_vertical()
{
    begin_reflection();
    int w = grid.width, h = grid.height;
    for (int j = 0; j < (h - 1) / 2; j++)
        for (int i = 0; i < w; i++) {
            uint8_t source = attribute(i, j);
            copy_attribute(i, h - 1 - j, source, bar_top);
            set_bar(i, h - j, bar_top, source & bar_top);
        }
    end_change();
}

void reflect_diagonal_slash()
{
    begin_reflection();
    int w = grid.width, h = grid.height;
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w * (h - j) / h; i++)
            half_turn(i, j);
    end_change();
}

void reflect_diagonal_backslash()
{
    begin_reflection();
    int w = grid.width, h = grid.height;
    for (int j = 0; j < h; j++)
        for (int i = w - 1; i >= w * j / h; i--)
            half_turn(i, j);
    end_change();
}

void upper_case_command() { case_command((grid.case_mode & ~2) ^ 1); }
void lower_case_command() { case_command((grid.case_mode & ~1) ^ 2); }

void resize_grid(int w, int h)
{
    history_begin();
    set_size(w, h);
    history_end();
}
