// Autofill: one complete fill of a crossword grid, or of a rectangle of it,
// in which every across and down run of two or more open cells is a word
// of the document's dictionaries.
//
// A run is a maximal line of cells that are not filled squares, broken by
// bars and by the rectangle's edges, as the marked area's parts are. A
// word fits a run when its letters (spaces removed, as a word is written
// into cells) are the run's length and agree with the letters already in
// the grid ignoring case. Letters already in the grid are kept; no word
// (ignoring case) fills two runs; cells of the rectangle that belong to no
// run keep what they hold.
//
// The search is the engine's own, beside Solve's (which lists every
// combination in a fixed order): runs are variables, their candidates bit
// sets over the words of their length; it writes one letter at a time into
// the tightest empty cell, guided by how many words each letter leaves the
// cell's runs, and keeps every run consistent with the letters its
// crossing runs still allow. It polls through the
// grid's poll_once hook and ends when the stop flag is set, like the other
// long searches. Random choices come from the program's generator
// (random.h): the same seed gives the same fill.
#pragma once
#include <cstdint>

struct error_block;

// Cells col0..col1 x row0..row1, inclusive, in any order (clipped to the
// grid).
struct autofill_area {
    int32_t col0, row0, col1, row1;
};

enum autofill_outcome {
    autofill_filled = 0,      // the grid holds the fill
    autofill_impossible = 1,  // the search proved that no fill exists
    autofill_stopped = 2,     // the stop flag ended it; the grid is unchanged
};

struct autofill_progress {
    int32_t filled;        // runs holding a word now
    int32_t entries;       // runs in the area
    int32_t best;          // the most runs held at once so far
    int32_t letters;       // empty cells of the runs given a letter now
    int32_t cells;         // empty cells of the runs at the start
    int32_t best_letters;  // the most of them given a letter at once so far
    uint64_t backtracks;   // choices taken back
    int32_t restarts;      // fresh starts after a run of bad luck
};

// Called at every poll with the search's state. May be null.
typedef void (*autofill_progress_hook)(const autofill_progress *progress);

struct autofill_result {
    autofill_outcome outcome;
    autofill_progress progress;   // at the end
    char reason[160];             // for autofill_impossible: which run, when
                                  // one run alone has no word; else ""
};

// Fills the area. On autofill_filled the letters are written (through
// convert_case), the grid counts as modified and the area is redrawn; on
// the other outcomes the grid is untouched. An error from the poll hook
// ends the search (outcome autofill_stopped) and is returned.
const error_block *autofill_grid(const autofill_area *area, autofill_progress_hook hook, autofill_result *result);

// The whole grid.
autofill_area autofill_whole_grid();
