// The linear congruential generator shared by the grid and the Wordsquare
// maker.
#include "app/grid/random.h"

namespace {
uint32_t state = 1;
}

void random_seed(uint32_t seed) { state = seed; }

int random_draw()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}
