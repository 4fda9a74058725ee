// The result list behind the solutions pane, and the stop flag.
//
// The list is one flex block (anchor grid.word_list, count grid.word_count)
// grown one row at a time in steps of 2048 bytes. It has two shapes:
//   - crossword: rows of list_columns 32-bit solution codes (slot in the
//     top 8 bits, word number in the low 24), one code per part;
//   - Wordsquare: word_record entries (grid.h).
// Pointers into the block are valid only until the next call that adds to
// it. Every operation that changes the count shows it through the
// show_progress hook; redrawing the pane afterwards is the caller's.
#pragma once
#include <cstdint>

#include "app/grid/grid.h"

struct error_block;

const int result_list_step = 2048;   // growth step of the list's block

// Codes in one crossword row: the part count of the latest division; 1 for
// Wordsquare lists (and at start).
extern int32_t list_columns;

// Frees the block, count 0, shows 0.
void list_clear();
// Crossword: part list_columns-1 opens a new row (the searches add a
// solution from its last part down to part 0); the other parts fill the
// open row. When the row cannot grow, the error is returned and the codes
// of that solution's remaining parts are dropped too; earlier rows stay.
const error_block *list_add_solution_code(uint32_t code, int part);
// Wordsquare: appends a record with selected 0. The text must fit in 35
// characters (else error 259 and nothing is added); a failed growth
// returns the error and adds nothing.
const error_block *list_add_word(int col, int row, int col_step, int row_step, const char *text);
// Removes entry `index` (ignored when out of range), moving later ones down.
void list_remove(int index);
// Sorts Wordsquare records by text ignoring letter case (code page 1252
// upper-case comparison); equal texts in no particular order.
void list_sort();
int list_count_selected();
void list_unplace_all();          // every record's position to -1

// Entry access; null when index is out of range.
word_record *list_word(int index);
uint32_t *list_solution_row(int index);   // list_columns codes

// Reads a text file as the Wordsquare word list: unhighlights the grid,
// empties the list, adds one word per line (first character as it is, then
// letters only, lower-cased; 32 characters or more: skipped), refreshes the
// pane. A file that cannot be opened changes nothing; a read error ends
// the list like the end of the file; a list that cannot grow returns its
// error (the words read so far stay).
const error_block *list_from_text_file(const char *path);

// Highlighting a Wordsquare word in the grid: the cells of the word get
// cell state 1 when their coverage was 0, then coverage + 1; unhighlight
// reverses it (state 0 when coverage returns to 0). Only cells inside the
// grid are touched. They do not change `selected`.
void highlight_word(const word_record *word);
void unhighlight_word(const word_record *word);
// Unhighlights every selected record (clearing `selected`), recomputes the
// marked area and redraws the grid once.
void remove_highlights();

// The stop flag through which the user ends a long search.
int stop_requested();
void set_stop();              // Escape on the grid pane: logs "setevent"
void set_stop_from_button();  // the Stop button: logs "stop"
void clear_stop();
