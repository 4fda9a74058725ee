// Pattern lookup: the crossword Solve.
//
// solve_parts(p) reads part p's pattern and collects its candidates from
// every dictionary of the document in list order, in one of three ways:
//   - complete pattern (no empty cell): one find_word per dictionary;
//   - a letter before the first empty cell, or no letter at all: the
//     prefix search, which starts from the index and matches each word by
//     its letters alone (spaces removed, lower-case comparison);
//   - otherwise: the full scan from word 0, which matches each word with
//     its spaces (upper-case comparison), so a stored "ice cream" is 9 long
//     here and 8 long in the prefix search.
// Each candidate is written into the part (a full-scan word letter by
// letter, its spaces on the part's empty cells) and the next part is solved;
// the last part adds a row to the result list. Afterwards the part's cells
// are restored exactly as read (empty cells included), so later parts
// never see stale letters.
//
// The candidates come from the candidate source (candidates.h), which
// answers through the plain walks of the store or through precomputed
// tables with the same words in the same order and the same counts of
// visited words; this file counts them, polls and reads the stop flag.
#include "app/dictionary/search.h"

#include <cstring>

#include "app/dictionary/candidates.h"
#include "app/dictionary/dictionary.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/dictionary/search_internal.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/parts.h"
#include "app/grid/result_list.h"
#include "toolkit/text/cp1252.h"

int32_t maximum_solutions = 1000;

namespace {

bool list_full() { return grid.word_count > maximum_solutions; }

// Polls once and reads the stop flag: true when the search must end.
bool poll_and_stop()
{
    grid_ui_poll_once();
    return stop_requested() != 0;
}

// Writes a word into part p. A word as long as the part (a full-scan fit,
// which may hold spaces where the part has empty cells) goes letter by
// letter into its own cells, its spaces leaving their cells as they are;
// write_part would drop the spaces and shift the later letters into the
// wrong cells. A shorter word (its letters alone fit) goes through
// write_part, which closes the gaps.
void write_word(int p, const char *word)
{
    const part &q = parts[p];
    if (strlen(word) != q.length) {
        write_part(p, word);
        return;
    }
    for (int i = 0; i < q.length; i++) {
        unsigned char c = static_cast<unsigned char>(word[i]);
        if (c != ' ')
            grid.letters[grid_cell(q.direction ? q.col : q.col + i, q.direction ? q.row + i : q.row)] =
                convert_case(c);
    }
}

// Counts one visited word: every search_poll_every-th polls (when `poll`)
// and reads the stop flag. True when the search must end.
bool count_word(int &counter, bool poll)
{
    if (++counter < search_poll_every)
        return false;
    counter = 0;
    return poll ? poll_and_stop() : stop_requested() != 0;
}

// Whether some later part that crosses part p has no word left in any
// dictionary: the branch is then dead. Asked only when every dictionary's
// tables are built and qualify, so that the answer costs a few bit-set
// operations.
bool parts_cross(int p, int q)
{
    const part &a = parts[p], &b = parts[q];
    if (a.direction == b.direction)
        return false;
    const part &across = a.direction == 0 ? a : b;
    const part &down = a.direction == 0 ? b : a;
    return down.col >= across.col && down.col < across.col + across.length && across.row >= down.row &&
           across.row < down.row + down.length;
}

bool later_parts_dead(int p)
{
    int count = search_dictionary_count();
    for (int i = 0; i < count; i++)
        if (!candidates_tables_ready(search_dictionary(i)))
            return false;
    char pattern[WORD_BUFFER * 8 + 1];
    for (int q = p + 1; q < part_count; q++) {
        if (!parts_cross(p, q))
            continue;
        read_part(q, pattern);
        int n = parts[q].length;
        if (n > WORD_MAX)
            return true;   // no word is that long
        bool any = false;
        for (int i = 0; i < count && !any; i++)
            any = candidates_exist(search_dictionary(i), pattern, n);
        if (!any)
            return true;
    }
    return false;
}

// Hands every candidate of the walk to part p, counting the visited words
// on `counter` (polling when `poll`). False when the search must end.
bool take_walk(CandidateWalk &walk, int slot, const char *pattern, int p, int &counter, bool poll)
{
    bool write = walk.match != CandidateMatch::whole;
    CandidateStep step;
    for (;;) {
        bool more = candidates_next(&walk, search_poll_every - counter, &step);
        if (search_count_words(counter, step.passed, poll))
            return false;
        if (!step.found) {
            if (!more)
                return true;
            continue;
        }
        char word[WORD_BUFFER];
        size_t length = strnlen(step.text, WORD_MAX);
        memcpy(word, step.text, length);
        word[length] = 0;
        if (!search_take_candidate(p, solution_code(slot, step.number), word, pattern, write))
            return false;
        if (write && search_count_words(counter, 1, poll))
            return false;
    }
}

}  // namespace

bool search_take_candidate(int p, uint32_t code, const char *text, const char *pattern, bool write)
{
    parts[p].code = code;
    if (p == part_count - 1) {
        // A list that cannot grow keeps what it has; the search goes on.
        for (int q = p; q >= 0; q--)
            list_add_solution_code(parts[q].code, q);
        return !list_full();
    }
    if (write)
        write_word(p, text);
    // A later part that crosses this one and has no word left makes the
    // branch dead: it is skipped without changing which rows are found or
    // their order. (The skipped walks' polls are skipped with it, so a Stop
    // may land at another word than on the plain walks.)
    int result = search_stopped + 1;
    if (!later_parts_dead(p))
        result = solve_parts(p + 1);
    if (write)
        restore_part(p, pattern);
    return result != search_stopped;
}

bool search_count_words(int &counter, int words, bool poll)
{
    while (words > 0) {
        int step = search_poll_every - 1 - counter;
        if (step >= words) {
            counter += words;
            return false;
        }
        words -= step + 1;
        counter = search_poll_every - 1;
        if (count_word(counter, poll))
            return true;
    }
    return false;
}

int solve_with_prefix(const char *pattern, int position, WordCursor *, int known, int length, int p)
{
    CandidateWalk walk;
    candidates_begin(&walk, search_dictionary(position), CandidateMatch::letters, pattern, length, known);
    int counter = 0;
    if (!take_walk(walk, search_dictionary_slot(position), pattern, p, counter, false))
        return search_stopped;
    return counter;
}

int solve_parts(int p)
{
    char pattern[WORD_BUFFER * 8 + 1];
    if (p < 0 || p >= part_count)
        return 0;
    if (p == 0 && part_count > 1)
        for (int i = 0; i < search_dictionary_count(); i++)
            candidates_prepare(search_dictionary(i));
    read_part(p, pattern);
    int n = parts[p].length;
    int first_letter = -1, first_space = -1;
    for (int i = n - 1; i >= 0; i--) {
        unsigned char c = static_cast<unsigned char>(pattern[i]);
        if (c == ' ')
            first_space = i;
        else if (cp_is_alpha(c))
            first_letter = i;
    }
    int counter = 0;
    WordCursor cursor;
    for (int position = 0; position < search_dictionary_count(); position++) {
        if (first_space < 0) {
            CandidateWalk walk;
            candidates_begin(&walk, search_dictionary(position), CandidateMatch::whole, pattern, n, n);
            int none = 0;
            if (!take_walk(walk, search_dictionary_slot(position), pattern, p, none, false))
                return search_stopped;
        } else if (first_letter < first_space) {   // includes "no letter at all" (-1)
            int r = solve_with_prefix(pattern, position, &cursor, first_space, n, p);
            if (r == search_stopped || list_full())
                return search_stopped;
            if (r > 8) {
                counter = 0;
                if (poll_and_stop())
                    return search_stopped;
            } else {
                counter = r + 1;
            }
        } else {
            CandidateWalk walk;
            candidates_begin(&walk, search_dictionary(position), CandidateMatch::spelled, pattern, n, 0);
            if (!take_walk(walk, search_dictionary_slot(position), pattern, p, counter, true))
                return search_stopped;
        }
    }
    return counter;
}

const char *solution_text(uint32_t code)
{
    const Dictionary *d = search_slot_dictionary(solution_slot(code));
    return d ? word_text(d, solution_number(code)) : "";
}

void apply_solution(int row, int button)
{
    if (button != 4 || !grid_has_mark() || row < 0 || row >= grid.word_count)
        return;
    for (int p = 0; p < part_count && p < list_columns; p++) {
        const uint32_t *codes = list_solution_row(row);
        if (!codes)
            return;
        char word[WORD_BUFFER];
        strncpy(word, solution_text(codes[p]), sizeof word - 1);
        word[sizeof word - 1] = 0;
        write_word(p, word);
        mark_modified();
    }
    grid_ui_redraw_grid();
}
