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
// The fast path (search_index.h) gives the same candidates in the same
// order, and makes the same polls and stop-flag reads, from precomputed
// tables; the plain walks below are the reference it is tested against.
#include "app/dictionary/search.h"

#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/dictionary/search_index.h"
#include "app/dictionary/search_internal.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/parts.h"
#include "app/grid/result_list.h"
#include "toolkit/text/cp1252.h"

int32_t maximum_solutions = 1000;
bool search_fast_path = true;

namespace {

bool list_full() { return grid.word_count > maximum_solutions; }

// Polls once and reads the stop flag: true when the search must end.
bool poll_and_stop()
{
    grid_ui_poll_once();
    return stop_requested() != 0;
}

// Full-scan match: same length with spaces, upper-case comparison.
bool matches_upper(const char *pattern, const char *word, int n)
{
    for (int i = 0; i < n; i++) {
        unsigned char pc = static_cast<unsigned char>(pattern[i]);
        if (pc != ' ' && cp_upper(pc) != cp_upper(static_cast<unsigned char>(word[i])))
            return false;
    }
    return true;
}

// Prefix-search match: the position of the first mismatch (n when none),
// lower-case comparison.
int mismatch_lower(const char *pattern, const char *word, int n)
{
    for (int i = 0; i < n; i++) {
        unsigned char pc = static_cast<unsigned char>(pattern[i]);
        if (pc != ' ' && cp_lower(pc) != cp_lower(static_cast<unsigned char>(word[i])))
            return i;
    }
    return n;
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

int remove_spaces(const char *text, char *out)
{
    int n = 0;
    for (; *text; text++)
        if (*text != ' ')
            out[n++] = *text;
    out[n] = 0;
    return n;
}

}  // namespace

// The last index entry whose key sorts strictly below the pattern's first
// m bytes (entry 0 when none): a binary search, then a step back.
uint32_t search_prefix_start_entry(const Dictionary *d, const char *pattern, int m)
{
    char key[KEY_LENGTH + 1];
    auto compare = [&](uint32_t entry) {
        memcpy(key, entry_key(d, entry), KEY_LENGTH);
        key[KEY_LENGTH] = 0;
        return compare_words(pattern, key, m, nullptr);
    };
    int low = 0, high = static_cast<int>(d->noindex) - 1, mid = 0, last = 0;
    while (low <= high) {
        mid = (low + high) / 2;
        last = compare(mid);
        if (last == 0)
            break;
        if (last > 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    while (last <= 0 && mid > 0) {
        mid--;
        last = compare(mid);
    }
    return static_cast<uint32_t>(mid);
}

namespace {

// Counts one visited word: every search_poll_every-th polls (when `poll`)
// and reads the stop flag. True when the search must end.
bool count_word(int &counter, bool poll)
{
    if (++counter < search_poll_every)
        return false;
    counter = 0;
    return poll ? poll_and_stop() : stop_requested() != 0;
}

int plain_prefix(const char *pattern, int position, WordCursor *cursor, int known, int n, int p)
{
    const Dictionary *d = search_dictionary(position);
    int slot = search_dictionary_slot(position);
    int counter = 0;
    if (!d || d->words == 0)
        return counter;
    int m = known < KEY_LENGTH ? known : KEY_LENGTH;
    first_word_in_block(d, search_prefix_start_entry(d, pattern, m), cursor);
    char letters[WORD_BUFFER];
    do {
        if (remove_spaces(cursor->text, letters) == n) {
            int at = mismatch_lower(pattern, letters, n);
            if (at == n) {
                if (!search_take_candidate(p, solution_code(slot, cursor->number), letters, pattern, true))
                    return search_stopped;
            } else if (at < m && compare_words(pattern, cursor->text, m, nullptr) < 0) {
                break;
            }
        }
        if (count_word(counter, false))
            return search_stopped;
    } while (next_word(d, cursor));
    return counter;
}

// The full scan of one dictionary; `counter` runs on across dictionaries.
bool plain_full_scan(const char *pattern, int position, int n, int p, int &counter)
{
    const Dictionary *d = search_dictionary(position);
    int slot = search_dictionary_slot(position);
    WordCursor cursor;
    if (!d || !word_at(d, 0, &cursor))
        return true;
    do {
        if (static_cast<int>(strlen(cursor.text)) == n && matches_upper(pattern, cursor.text, n)) {
            char word[WORD_BUFFER];
            memcpy(word, cursor.text, sizeof word);
            if (!search_take_candidate(p, solution_code(slot, cursor.number), word, pattern, true))
                return false;
        }
        if (count_word(counter, true))
            return false;
    } while (next_word(d, &cursor));
    return true;
}

bool complete_pattern(const char *pattern, int position, int p)
{
    const Dictionary *d = search_dictionary(position);
    WordCursor cursor;
    // A part longer than any word takes none (the find compares 31 bytes),
    // nor does one with a NUL cell (the find would see a shorter word).
    size_t n = strlen(pattern);
    if (!d || n > static_cast<size_t>(WORD_MAX) || n != parts[p].length || !find_word(d, pattern, &cursor, nullptr))
        return true;
    uint32_t code = solution_code(search_dictionary_slot(position), cursor.number);
    return search_take_candidate(p, code, pattern, pattern, false);
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
    if (!search_later_parts_dead(p))
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

int search_plain_prefix(const char *pattern, int position, WordCursor *cursor, int known, int n, int p)
{
    return plain_prefix(pattern, position, cursor, known, n, p);
}

int solve_with_prefix(const char *pattern, int position, WordCursor *cursor, int known, int length, int p)
{
    if (search_fast_path) {
        int result = 0;
        if (search_fast_prefix(pattern, position, known, length, p, &result))
            return result;
    }
    return plain_prefix(pattern, position, cursor, known, length, p);
}

int solve_parts(int p)
{
    char pattern[WORD_BUFFER * 8 + 1];
    if (p < 0 || p >= part_count)
        return 0;
    if (p == 0)
        search_check_tables();
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
            if (!complete_pattern(pattern, position, p))
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
            bool go_on = search_fast_path
                             ? search_fast_full_scan(pattern, position, n, p, counter)
                             : plain_full_scan(pattern, position, n, p, counter);
            if (!go_on)
                return search_stopped;
        }
    }
    return counter;
}

// Exposed for the reference path of the tests and for the fast path's
// fallback.
bool search_plain_full_scan(const char *pattern, int position, int n, int p, int &counter)
{
    return plain_full_scan(pattern, position, n, p, counter);
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
