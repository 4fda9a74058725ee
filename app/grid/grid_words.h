// The grid's word enumeration: every run of at least two cells across or
// down, in clue-numbering order, for the spell check.
#pragma once

// The longest text a grid word can have, terminator included.
const int GRID_WORD_BUFFER = 128;

// Word number `k` (from 0) of the grid: at each cell in reading order
// (rows from the top, each from the left), first the across run when the
// cell starts one, then the down run when it starts one. The text holds
// the cells' letters with a space for each empty cell. Returns false, with
// `out` empty, when the grid has fewer words. `out` holds
// GRID_WORD_BUFFER bytes. The grid is read only.
bool grid_word(int k, char *out);

// All the grid's words at once, in the same order, through a callback
// that returns false to stop; returns how many were produced.
int grid_words(bool (*take)(const char *text, void *argument), void *argument);
