// The one puzzle grid: planes, cursor, marked area, type, settings and the
// document state, with the operations that every other module uses.
//
// Planes are 128 x 128 bytes, column-major: cell (c, r) is byte c*128 + r
// (grid_cell). Only cells with c < width and r < height belong to the
// puzzle; the others keep their bytes and reappear when the grid grows.
//
// Primitive operations (clear_*, fill_blanks_randomly, recompute_marked_area)
// change cells without redrawing; the composite ones (set_size,
// set_grid_type, new_grid, new_words, unmark) redraw what they change
// through the grid's user-interface hooks (grid_hooks.h).
#pragma once
#include <cstdint>

#include "toolkit/drawing/fonts.h"   // font_spec

const int grid_plane_side = 128;   // cells per column in every plane
const int grid_plane_bytes = 128 * 128;
const int grid_min_side = 2;       // smallest width or height
const int grid_max_side = 127;     // largest width or height

inline int grid_cell(int col, int row) { return col * grid_plane_side + row; }

// The attribute byte of a cell.
const uint8_t cell_state_mask = 3;  // bits 0-1: the cell state below
const uint8_t cell_open = 0;
const uint8_t cell_marked = 1;      // in the marked area or a highlighted word
const uint8_t cell_filled = 2;      // a blocked crossword square
const uint8_t bar_left = 4;         // thick rule on the cell's left edge
const uint8_t bar_top = 8;          // thick rule on the cell's top edge
const uint8_t across_numbered = 64; // numbering work bit: in a numbered across run
const uint8_t down_numbered = 128;  // numbering work bit: in a numbered down run

// The appearance settings that the default settings copy holds.
struct appearance_settings {
    uint32_t text_colour;        // colour words, 0xBBGGRR00
    uint32_t grid_colour;
    uint32_t filled_colour;
    uint32_t background_colour;
    int32_t square_percent;      // square side as % of the grid font size
    font_spec grid_font;
    font_spec clue_font;
};

// One entry of the Wordsquare word list (56 bytes).
struct word_record {
    int32_t col;        // first letter's column, -1 when not placed
    int32_t row;        // first letter's row, -1 when not placed
    int32_t col_step;   // -1, 0 or 1; -1 when not placed
    int32_t row_step;   // -1, 0 or 1 (1 downwards); -1 when not placed
    uint32_t selected;  // 1 while highlighted
    char text[36];      // NUL-terminated, at most 35 characters
};
static_assert(sizeof(word_record) == 56, "word_record is 56 bytes");

const int grid_name_size = 260;   // grid_file_name holds up to 259 characters

struct grid_model {
    int32_t width;                // columns, 2 to 127
    int32_t height;               // rows, 2 to 127
    uint8_t letters[grid_plane_bytes];     // space (32) = empty cell
    uint8_t attributes[grid_plane_bytes];  // cell state, bars, work bits
    uint8_t coverage[grid_plane_bytes];    // words through the cell

    int32_t cursor_col, cursor_row;   // -1, -1 when there is no cursor
    int32_t last_col, last_row;       // cursor before the latest move
    int32_t mark_col_a, mark_col_b;   // marked rectangle's corners, any order;
    int32_t mark_row_a, mark_row_b;   // mark_col_a -1 = nothing marked
    int32_t grid_type;                // 0 crossword, 1 Wordsquare

    // The result list (result_list.h): Wordsquare words or solution rows.
    void *word_list;                  // flex anchor; null when empty
    int32_t word_count;

    // Settings saved with every grid file.
    int32_t case_mode;         // 0 as typed, 1 upper, 2 lower
    int32_t picture_caps;      // pictures draw letters in upper case
    int32_t spare_setting;     // kept, not used
    uint32_t fill_directions;  // maker's directions, 0 counts as 15
    int32_t show_solutions;    // pictures strike through listed words
    int32_t min_word_length;   // solver's shortest word, 1 to 12
    int32_t split_fraction;    // pane divider, fraction of 65536
    int32_t window_width;      // main window's visible area when saved
    int32_t window_height;
    uint32_t text_colour;
    uint32_t grid_colour;
    uint32_t filled_colour;
    uint32_t background_colour;
    int32_t square_percent;
    font_spec grid_font;
    font_spec clue_font;

    int32_t square_size;       // side of a square, 1/180 inch (derived)
    char grid_file_name[grid_name_size];
    int32_t modified_count;    // nonzero: the grid differs from its file
    int32_t loaded_grid_type;  // the type read by the last grid file load
};

extern grid_model grid;                      // the one grid
extern appearance_settings grid_defaults;    // the default settings copy

// Every field to its start value, planes cleared to spaces, the result
// list emptied (list_columns 1, no parts, stop flag clear), the default
// settings set to the start values.
void grid_init();
// The start values of the appearance settings.
appearance_settings grid_start_appearance();

// Cells.
void clear_grid();             // all cells: space, attribute bits 0-3 cleared
void clear_letters();          // all open cells (state 0): space
void clear_wordsquare_area();  // cells in the grid: space, state 0, coverage 0
void fill_blanks_randomly();   // empty cells in the grid: random 'a'-'z'
void clear_coverage();         // coverage 0 for all cells
void discard_word_list();      // empties a non-empty list, refreshes the pane
unsigned char convert_case(unsigned char c);   // by case_mode

// Size and type.
void set_size(int w, int h);         // 2 to 127 each; keeps every cell
void set_grid_type(int t);           // full switch: clears the grid
void set_grid_type_light(int t);     // after a load: type and button bar only

// Marked area and cursor.
void unmark();
void recompute_marked_area();
bool grid_has_mark();
int marked_length();                 // 0 when nothing is marked
void marked_length_display();        // writes the display when it changed
void remove_cursor();

// Document state.
void mark_modified();
void clear_modified();
bool is_modified();
void set_grid_file_name(const char *name);   // cut at 259 characters; retitles

// Appearance.
void snapshot_defaults();
void restore_defaults();
void update_square_size();

// The "New Grid" and "New Words" commands.
void new_grid();
void new_words();
