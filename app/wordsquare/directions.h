// The eight directions in which Wordsquare words run. The maker numbers
// them 0 to 7, each with a column step, a row step (+1 goes down the
// screen) and one bit of the grid's fill_directions.
#pragma once
#include <cstdint>

struct direction_step {
    int col_step;
    int row_step;
    uint32_t bit;   // its bit in fill_directions
};

const int direction_count = 8;
extern const direction_step direction_table[direction_count];

// The directions the maker may use: fill_directions, or 15 when it is 0.
uint32_t allowed_directions();
