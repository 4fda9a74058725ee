// The runs of an autofill area: every across and down line of two or more
// open cells inside the rectangle, and the cells they share.
#pragma once
#include <cstdint>
#include <vector>

#include "app/autofill/autofill.h"

struct FillCell {
    int32_t col, row;
    int16_t letter;              // the grid's letter upper-cased, -1 empty
    int32_t run[2] = {-1, -1};   // the across and the down run through it
    int32_t position[2] = {0, 0};   // the cell's place in each
};

struct FillRun {
    int32_t col, row;            // first cell
    uint8_t direction;           // 0 across, 1 down
    std::vector<int32_t> cells;  // FillLayout::cells, in reading order
};

struct FillLayout {
    int32_t col0, row0, col1, row1;   // the rectangle, ordered and clipped
    std::vector<FillCell> cells;      // the cells of some run
    std::vector<FillRun> runs;        // across runs row by row, then down runs
};

// The runs of the area in the grid as it is now.
void fill_layout(const autofill_area *area, FillLayout *layout);
