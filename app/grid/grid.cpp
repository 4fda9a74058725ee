// The one grid and its operations on cells, size, type, marks and
// document state. The result list that the grid also carries lives in
// result_list.cpp; the file format in grid_file.cpp.
#include "app/grid/grid.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "app/grid/grid_hooks.h"
#include "app/grid/history.h"
#include "app/grid/parts.h"
#include "app/grid/random.h"
#include "app/grid/result_list.h"
#include "toolkit/text/cp1252.h"

grid_model grid;
appearance_settings grid_defaults;

namespace {

int last_marked_length = -1;   // what the display shows; -1 empty

font_spec start_font(int height)
{
    font_spec f{};
    f.height = height;
    strcpy(f.face, "Arial");
    f.charset = 400;
    return f;
}

bool mark_inside_grid()
{
    return grid.mark_col_a >= 0 && grid.mark_col_b >= 0 && grid.mark_row_a >= 0 &&
           grid.mark_row_b >= 0 && grid.mark_col_a < grid.width && grid.mark_col_b < grid.width &&
           grid.mark_row_a < grid.height && grid.mark_row_b < grid.height;
}

int min_of(int a, int b) { return a < b ? a : b; }
int max_of(int a, int b) { return a > b ? a : b; }
int abs_of(int a) { return a < 0 ? -a : a; }

void redraw_with_extent()
{
    grid_ui_set_extent(grid.width * grid.square_size, grid.height * grid.square_size);
    grid_ui_redraw_grid();
}

}  // namespace

appearance_settings grid_start_appearance()
{
    appearance_settings a{};
    a.text_colour = 0;
    a.grid_colour = 0;
    a.filled_colour = 0;
    a.background_colour = 0xFFFFFF00u;
    a.square_percent = 180;
    a.grid_font = start_font(128);
    a.clue_font = start_font(64);
    return a;
}

void grid_init()
{
    list_clear();
    memset(&grid, 0, sizeof grid);
    grid.width = 16;
    grid.height = 16;
    memset(grid.letters, ' ', sizeof grid.letters);
    grid.cursor_col = grid.cursor_row = grid.last_col = grid.last_row = -1;
    grid.mark_col_a = grid.mark_col_b = grid.mark_row_a = grid.mark_row_b = -1;
    grid.fill_directions = 15;
    grid.show_solutions = 1;
    grid.min_word_length = 5;
    grid.split_fraction = 20480;
    grid_defaults = grid_start_appearance();
    restore_defaults();
    update_square_size();
    last_marked_length = -1;
    part_count = 0;
    list_columns = 1;
    clear_stop();
    history_clear();
}

void clear_grid()
{
    memset(grid.letters, ' ', sizeof grid.letters);
    for (uint8_t &a : grid.attributes)
        a &= 0xF0;
}

void clear_letters()
{
    for (int i = 0; i < grid_plane_bytes; i++)
        if ((grid.attributes[i] & cell_state_mask) == cell_open)
            grid.letters[i] = ' ';
}

void clear_wordsquare_area()
{
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++) {
            int i = grid_cell(c, r);
            grid.letters[i] = ' ';
            grid.attributes[i] &= static_cast<uint8_t>(~cell_state_mask);
            grid.coverage[i] = 0;
        }
}

void fill_blanks_randomly()
{
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++) {
            uint8_t &letter = grid.letters[grid_cell(c, r)];
            if (letter == ' ')
                letter = static_cast<uint8_t>('a' + random_draw() % 26);
        }
}

void clear_coverage() { memset(grid.coverage, 0, sizeof grid.coverage); }

void discard_word_list()
{
    if (grid.word_count == 0 && !grid.word_list)
        return;
    list_clear();
    grid_ui_refresh_solutions();
}

unsigned char convert_case(unsigned char c)
{
    if (grid.case_mode == 1)
        return cp_upper(c);
    if (grid.case_mode == 2)
        return cp_lower(c);
    return c;
}

// Sizes outside 2 to 127 are brought inside: the planes hold 128 cells a
// side and the file format and every pass over the grid assume at least two.
// The mark goes while the old size holds: cells beyond a new, smaller edge
// would otherwise stay marked and come back so when the grid grows.
void set_size(int w, int h)
{
    unmark();
    grid.width = max_of(grid_min_side, min_of(w, grid_max_side));
    grid.height = max_of(grid_min_side, min_of(h, grid_max_side));
    if (grid.cursor_col >= grid.width || grid.cursor_row >= grid.height)
        remove_cursor();   // typing must not reach cells beyond the edge
    discard_word_list();
    redraw_with_extent();
    mark_modified();
}

void set_grid_type(int t)
{
    if (t == grid.grid_type)
        return;
    unmark();
    remove_cursor();
    discard_word_list();
    clear_grid();
    grid.grid_type = t;
    grid_ui_redraw_grid();
    clear_modified();
    history_clear();
    set_grid_file_name("");
    grid_ui_switch_button_bar(t);
}

void set_grid_type_light(int t)
{
    if (t == grid.grid_type)
        return;
    grid.grid_type = t;
    grid_ui_switch_button_bar(t);
}

void unmark()
{
    if (mark_inside_grid()) {
        int c0 = min_of(grid.mark_col_a, grid.mark_col_b), c1 = max_of(grid.mark_col_a, grid.mark_col_b);
        int r0 = min_of(grid.mark_row_a, grid.mark_row_b), r1 = max_of(grid.mark_row_a, grid.mark_row_b);
        for (int c = c0; c <= c1; c++)
            for (int r = r0; r <= r1; r++) {
                uint8_t &a = grid.attributes[grid_cell(c, r)];
                if ((a & cell_state_mask) == cell_marked)
                    a &= static_cast<uint8_t>(~cell_state_mask);
            }
        grid_ui_redraw_cells(c0, r0, c1, r1);
    }
    grid.mark_col_a = grid.mark_col_b = grid.mark_row_a = grid.mark_row_b = -1;
    marked_length_display();
}

void recompute_marked_area()
{
    int c0 = -1, c1 = -1, r0 = -1, r1 = -1;
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++) {
            if ((grid.attributes[grid_cell(c, r)] & cell_state_mask) != cell_marked)
                continue;
            if (c0 < 0) {
                c0 = c1 = c;
                r0 = r1 = r;
            }
            c1 = c;
            r0 = min_of(r0, r);
            r1 = max_of(r1, r);
        }
    grid.mark_col_a = c0;
    grid.mark_col_b = c1;
    grid.mark_row_a = r0;
    grid.mark_row_b = r1;
}

bool grid_has_mark() { return grid.mark_col_a != -1; }

// The columns win: a rectangle wider than one column reports its width.
int marked_length()
{
    if (!grid_has_mark())
        return 0;
    if (grid.mark_col_a != grid.mark_col_b)
        return abs_of(grid.mark_col_b - grid.mark_col_a) + 1;
    return abs_of(grid.mark_row_b - grid.mark_row_a) + 1;
}

void marked_length_display()
{
    int length = grid_has_mark() ? marked_length() : -1;
    if (length == last_marked_length)
        return;
    last_marked_length = length;
    char text[16] = "";
    if (length >= 0)
        snprintf(text, sizeof text, "%d", length);
    grid_ui_show_marked_length(text);
}

void remove_cursor()
{
    grid.cursor_col = grid.cursor_row = -1;
    grid.last_col = grid.last_row = -1;
}

void mark_modified()
{
    if (grid.modified_count == INT_MAX)
        return;
    history_note_modified();
    if (grid.modified_count++ == 0)
        grid_ui_retitle();
}

void clear_modified()
{
    grid.modified_count = 0;
    history_note_saved();
}

bool is_modified() { return grid.modified_count != 0; }

void set_grid_file_name(const char *name)
{
    snprintf(grid.grid_file_name, sizeof grid.grid_file_name, "%s", name ? name : "");
    grid_ui_retitle();
}

void snapshot_defaults()
{
    grid_defaults.text_colour = grid.text_colour;
    grid_defaults.grid_colour = grid.grid_colour;
    grid_defaults.filled_colour = grid.filled_colour;
    grid_defaults.background_colour = grid.background_colour;
    grid_defaults.square_percent = grid.square_percent;
    grid_defaults.grid_font = grid.grid_font;
    grid_defaults.clue_font = grid.clue_font;
}

void restore_defaults()
{
    grid.text_colour = grid_defaults.text_colour;
    grid.grid_colour = grid_defaults.grid_colour;
    grid.filled_colour = grid_defaults.filled_colour;
    grid.background_colour = grid_defaults.background_colour;
    grid.square_percent = grid_defaults.square_percent;
    grid.grid_font = grid_defaults.grid_font;
    grid.clue_font = grid_defaults.clue_font;
}

// Height x 180 x percent / 115200, truncated towards zero. Worked in 128
// bits and kept within 1 to 2^20 units so that a font or percentage read
// from a damaged file can neither overflow nor give a zero square (the
// pane divides pointer positions by it).
void update_square_size()
{
    __int128 size = static_cast<__int128>(grid.grid_font.height) * 180 * grid.square_percent / 115200;
    if (size < 1)
        size = 1;
    if (size > (1 << 20))
        size = 1 << 20;
    grid.square_size = static_cast<int32_t>(size);
}

void new_grid()
{
    clear_grid();
    unmark();
    discard_word_list();
    grid_ui_redraw_grid();
    clear_modified();
    history_clear();
    set_grid_file_name("");
}

void new_words()
{
    history_begin();
    unmark();
    discard_word_list();
    clear_letters();
    grid_ui_redraw_grid();
    mark_modified();
    history_end();
}
