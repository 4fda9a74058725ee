// The marked area divided into parts: runs of marked cells across or down
// that a crossword search fills with one word each.
//
// divide_marked_area uses attribute bits 6 and 7 (the numbering work bits)
// of the cells in the marked rectangle as "taken" marks: afterwards they
// hold the division's state, not the numbering's. Parts come in reading
// order (rows top to bottom, each left to right; across before down at a
// cell), at most 256.
#pragma once
#include <cstdint>

const int max_parts = 256;

struct part {
    int32_t col;        // first cell's column
    int32_t row;        // first cell's row
    uint32_t code;      // the solution code being tried (the search's)
    uint8_t direction;  // 0 across, 1 down
    uint8_t length;     // cells, 2 or more
};

struct part_bounds {    // the divided rectangle, inclusive; -1 when none
    int32_t col0, col1, row0, row1;
};

extern part parts[max_parts];
extern int32_t part_count;
extern part_bounds parts_bounds;

// Divides the marked area (clipped to the grid) into parts and sets
// list_columns (result_list.h) to their number. Nothing marked: 0 parts.
void divide_marked_area();

// The part's letters, empty cells as spaces, NUL-terminated: `buffer`
// holds at least parts[p].length + 1 bytes.
void read_part(int p, char *buffer);

// Writes `text` into the part's cells in order, skipping spaces in the
// text, each character through convert_case, stopping after `length`
// cells or at the end of the text. Does not redraw: the caller repaints
// once it has written what it wants shown.
void write_part(int p, const char *text);

// Restores a part's cells exactly as read_part gave them, empty cells
// included (write_part would skip the spaces): `letters` holds the part's
// `length` bytes, which may include a NUL from a cell that holds one.
void restore_part(int p, const char *letters);
