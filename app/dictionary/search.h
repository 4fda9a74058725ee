// Pattern lookup: fills the parts of the marked area (parts.h) with
// dictionary words, one row of solution codes per complete fit, and writes
// a chosen row back into the grid.
//
// The searches read the dictionaries of the document in list order and
// add their rows to the result list (result_list.h). They poll the user
// interface through the grid's hooks and end early on the stop flag.
#pragma once
#include <cstdint>

struct WordCursor;

// The most solutions a search collects: it ends as soon as the count
// exceeds this, so a full list holds maximum_solutions + 1 rows. Set from
// the choices (20 to 1000000).
extern int32_t maximum_solutions;

const int search_stopped = -1;       // a search's result when stopped or full
const int search_poll_every = 2049;  // words between polls / stop-flag reads

// A solution code: the dictionary's slot in the top 8 bits, the word number
// in the low 24.
inline uint32_t solution_code(int slot, uint32_t number)
{
    return (static_cast<uint32_t>(slot) << 24) | (number & 0xFFFFFFu);
}
inline int solution_slot(uint32_t code) { return static_cast<int>(code >> 24); }
inline uint32_t solution_number(uint32_t code) { return code & 0xFFFFFFu; }

// Fills part p and, for every fit, the parts after it. The solving control
// calls it with 0 once the marked area is divided and the list is empty.
// Returns the running word counter (0 or more), or -1 when stopped or when
// the list grew beyond maximum_solutions.
int solve_parts(int p);

// The prefix search of part p over the dictionary at `position` in the
// document list: `known` leading bytes of `pattern` (length `length`) are
// letters, the rest may hold spaces. `cursor` is not used: the candidate
// source keeps its own. Result as solve_parts.
int solve_with_prefix(const char *pattern, int position, WordCursor *cursor, int known, int length,
                      int p);

// Writes the words of solution `row` into the parts (button code 4, a
// marked word and a row below the count; otherwise nothing happens), counts
// a modification and redraws the grid.
void apply_solution(int row, int button);

// The text of the word a solution code names, in a shared buffer ("" when
// the slot or the number is unknown).
const char *solution_text(uint32_t code);
