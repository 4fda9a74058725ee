// The program's one random-number generator: a 32-bit state advanced as
// state * 214013 + 2531011 (mod 2^32); each draw returns bits 16-30 of the
// new state (0 to 32767). Seeded once at start-up from the time in seconds;
// tests and `quill --seed` seed it with a fixed value.
#pragma once
#include <cstdint>

void random_seed(uint32_t seed);
int random_draw();
