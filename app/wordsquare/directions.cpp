// The directions table. The customisation window names the horizontal
// boxes after the side a word starts from: "Left" (bit 1) allows words that
// run from left to right, "Right" (bit 32) words that run right to left;
// the vertical names follow the step. The start value 15 allows rightwards,
// down-right, up-right and downwards words.
#include "app/wordsquare/directions.h"

#include "app/grid/grid.h"

const direction_step direction_table[direction_count] = {
    {+1, 0, 1},     // "Left"
    {+1, +1, 2},    // "Down+Left"
    {+1, -1, 4},    // "Up+Left"
    {0, +1, 8},     // "Down"
    {0, -1, 16},    // "Up"
    {-1, 0, 32},    // "Right"
    {-1, +1, 64},   // "Down+Right"
    {-1, -1, 128},  // "Up+Right"
};

uint32_t allowed_directions() { return grid.fill_directions ? grid.fill_directions : 15; }
