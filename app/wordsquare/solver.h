// The Wordsquare solver: finds the dictionary words hidden in the grid.
//
// For every cell and each of eight directions it reads the run of letters
// starting there and records the longest prefix that is a word of a
// dictionary in use and at least min_word_length long. Like the maker it
// is a long operation: the shell runs solve_wordsquare_start on the click
// and solve_wordsquare_run inside its job pattern.
#pragma once

struct error_block;
struct word_record;

// Makes sure a dictionary is in use ({ENOD}, list unchanged, when none can
// be), empties the list (highlighted cells stay marked) and refreshes the
// solutions pane.
const error_block *solve_wordsquare_start();
// The scan, column by column, each column from the top, the eight
// directions per cell; ends early on the stop flag (checked after each
// cell, which otherwise polls once). Then clears coverage, sorts the list
// ignoring case and refreshes the pane.
void solve_wordsquare_run();

// Finds and records at most one word: the run from (c, r) stepping by
// (dc, dr) over open cells holding letters a-z in either case (at most 31).
void search_from(int c, int r, int dc, int dr);

// The grid's dirty rectangle: the cells of the words whose highlight
// changed since the last redraw (all -1 when empty).
struct dirty_rectangle {
    int col0, row0, col1, row1;
};
extern dirty_rectangle wordsquare_dirty;
// Extends the rectangle by the word's first and last cells.
void dirty_add_word(const word_record *word);
// Redraws the rectangle's cells (when not empty) and empties it.
void dirty_redraw();
