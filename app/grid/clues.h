// Clue numbering and the text exports: the clue list of a crossword and
// the word list of a Wordsquare.
//
// An across run starts at a cell and goes right until the grid's edge, a
// filled cell or a cell with a bar on its left edge (the start cell's own
// left bar does not count); a down run likewise downwards with top bars.
// A numbering pass first sets both numbering work bits (across_numbered,
// down_numbered) on filled cells and clears them elsewhere, then scans the
// rows from the top, each from the left: a cell starts an across entry when
// it has no across_numbered bit and the cell to its right exists and has
// neither across_numbered nor a left bar (down alike). Such a cell gets the
// next number and both its runs are marked. The bits stay in the grid.
#pragma once

struct error_block;

struct numbered_cell {
    int col, row;
    int number;          // from 1, in scan order
    int across_length;   // cells of its across entry; 0 when it starts none
    int down_length;     // cells of its down entry; 0 when it starts none
};

// One numbering pass over the grid; `visit` is called for every numbered
// cell in order (may be null).
typedef void (*numbered_cell_visitor)(const numbered_cell *cell, void *context);
int number_grid(numbered_cell_visitor visit, void *context);   // returns the count

// The clue list: "Clues across.\r\n", a line "N. letters\n" per across
// entry, one more "\n" when there was one; then "Clues down.\n\n" and the
// down entries the same way. Empty cells give spaces. A grid without
// entries gives an empty file. Written through a temporary file: on
// failure the old file at `path` stays and the error is returned.
const error_block *write_clues(const char *path);
// The Wordsquare word list, each record's text and "\n", in list order.
const error_block *write_word_list(const char *path);
// "Save Clues As": the word list of a Wordsquare, else the clue list.
const error_block *save_clues(const char *path);

// The clue list or word list into an open stream (memory or file).
struct fs_stream;
const error_block *write_clues_stream(fs_stream *stream);
const error_block *write_word_list_stream(fs_stream *stream);
