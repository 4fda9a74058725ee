// The Wordsquare maker.
//
// fit_word places one word and goes on with the next (a depth-first
// search, kept on an explicit stack). Each word's turn draws its own
// random start cell and direction (also when it comes again after a
// backtrack), then tries every start cell in column-then-row order from
// there, wrapping round, and every allowed direction from the random one,
// cyclically. Placing a letter adds 1 to the cell's coverage; undoing
// subtracts 1 and empties the cell only when no other word still uses it,
// so letters shared by crossing words survive.
#include "app/wordsquare/maker.h"

#include <cstring>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/random.h"
#include "app/grid/result_list.h"
#include "app/wordsquare/directions.h"
#include "toolkit/messages/report.h"
#include "toolkit/text/cp1252.h"

namespace {

int rotation = 0;   // position in the in-use list of the last word drawn
bool list_taken = false;   // a command run by a poll took the word list away

bool inside(int c, int r) { return c >= 0 && r >= 0 && c < grid.width && r < grid.height; }

// Whether every cell holds a space or the letter placing would store. A
// cell whose coverage count is full takes no further word.
bool letters_fit(const char *text, int length, int c, int r, int dc, int dr)
{
    for (int i = 0; i < length; i++) {
        int cell = grid_cell(c + i * dc, r + i * dr);
        unsigned char have = grid.letters[cell];
        if ((have != ' ' && have != cp_lower(static_cast<unsigned char>(text[i]))) || grid.coverage[cell] == 255)
            return false;
    }
    return true;
}

void place(const char *text, int length, int c, int r, int dc, int dr)
{
    for (int i = 0; i < length; i++) {
        int cell = grid_cell(c + i * dc, r + i * dr);
        grid.letters[cell] = cp_lower(static_cast<unsigned char>(text[i]));
        grid.coverage[cell]++;
    }
}

void undo(int length, int c, int r, int dc, int dr)
{
    for (int i = 0; i < length; i++) {
        int cell = grid_cell(c + i * dc, r + i * dr);
        if (--grid.coverage[cell] == 0)
            grid.letters[cell] = ' ';
    }
}

// One level of the search: the word being placed, its random start and
// how far its scan has come. The levels live on an explicit stack rather
// than the call stack, so that a list of thousands of words cannot
// overflow it.
struct Level {
    int n;                                 // the word's index in the list
    char text[sizeof(word_record::text)];
    int length;
    int c0, r0, d0;                        // the random start
    uint32_t allowed;
    int c, r, k;                           // next start cell, next direction offset
    int dc, dr;                            // the placement being tried
};

// Whether the search still has its list: menu commands stay available
// while it polls, and one that empties the word list (a load, a new grid,
// a size or type change, an edit) leaves nothing to place or record.
bool list_intact(int count) { return grid.word_count == count && list_word(count - 1) != nullptr; }

// Steps 2 to 5 for word n. False when the stop flag ends the search here
// (the message has been shown): the level then counts as done. False too,
// without a message, when a command run by the poll took the word list
// away; `count` is the list's length when the search began.
bool begin_level(Level &l, int n, int count)
{
    l.n = n;
    grid_ui_show_progress(n);
    l.c0 = random_draw() % grid.width;
    l.r0 = random_draw() % grid.height;
    l.d0 = random_draw() & 7;
    l.allowed = allowed_directions();
    strcpy(l.text, list_word(n)->text);
    if (stop_requested()) {
        report_message(0, "Fitted %d words, up to %s", n, l.text);
        return false;
    }
    grid_ui_poll_once();
    if (!list_intact(count)) {
        list_taken = true;
        return false;
    }
    l.length = static_cast<int>(strlen(l.text));
    l.c = l.c0;
    l.r = l.r0;
    l.k = 0;
    return true;
}

// Places the level's word at its next possible place, scanning directions
// from d0 cyclically at each start cell and the start cells in column-then-
// row order from (c0, r0), wrapping round. False when none is left.
bool place_next(Level &l)
{
    for (;;) {
        while (l.k < direction_count) {
            const direction_step &d = direction_table[(l.d0 + l.k++) & 7];
            if (!(l.allowed & d.bit))
                continue;
            if (!inside(l.c + (l.length - 1) * d.col_step, l.r + (l.length - 1) * d.row_step))
                continue;
            if (!letters_fit(l.text, l.length, l.c, l.r, d.col_step, d.row_step))
                continue;
            place(l.text, l.length, l.c, l.r, d.col_step, d.row_step);
            l.dc = d.col_step;
            l.dr = d.row_step;
            return true;
        }
        l.k = 0;
        if (++l.c == grid.width) {
            l.c = 0;
            if (++l.r == grid.height)
                l.r = 0;
        }
        if (l.c == l.c0 && l.r == l.r0)
            return false;
    }
}

}  // namespace

bool fit_word(int n)
{
    if (n >= grid.word_count || !list_word(n))
        return true;
    const int count = grid.word_count;
    std::vector<Level> levels(1);
    if (!begin_level(levels[0], n, count))
        return true;
    for (;;) {
        if (!place_next(levels.back())) {
            // No place lets the later words fit: back to the word before.
            levels.pop_back();
            if (levels.empty())
                return false;
            const Level &l = levels.back();
            undo(l.length, l.c, l.r, l.dc, l.dr);
            continue;
        }
        int next = levels.back().n + 1;
        if (next < count) {
            Level child;
            if (begin_level(child, next, count)) {
                levels.push_back(child);
                continue;
            }
            if (!list_intact(count))
                return true;   // the list is gone: nothing to record
        }
        // Every word is placed (or the stop flag cut the search short):
        // each level records where its word went.
        for (const Level &l : levels) {
            word_record *w = list_word(l.n);
            w->col = l.c;
            w->row = l.r;
            w->col_step = l.dc;
            w->row_step = l.dr;
        }
        return true;
    }
}

void make_from_list_start()
{
    if (list_count_selected() > 0) {
        remove_highlights();
        grid_ui_refresh_solutions();
    }
    clear_wordsquare_area();
    list_unplace_all();
    grid_ui_redraw_grid();
    mark_modified();
}

// When a command run during the search replaced the grid's contents (a
// load, a new grid), its empty cells are not the maker's to fill.
void make_from_list_run()
{
    list_taken = false;
    fit_word(0);
    if (!list_taken)
        fill_blanks_randomly();
    clear_coverage();
    grid_ui_redraw_grid();
}

const error_block *make_from_dictionary_start()
{
    if (const error_block *e = search_ensure_dictionary())
        return e;
    clear_wordsquare_area();
    list_clear();
    grid_ui_refresh_solutions();
    grid_ui_redraw_grid();
    mark_modified();
    return nullptr;
}

void make_words_from_dictionary()
{
    int allowance = 3;
    list_taken = false;
    restart_dictionary_rotation();
    for (;;) {
        char word[WORD_BUFFER];
        strncpy(word, random_dictionary_word(), sizeof word - 1);
        word[sizeof word - 1] = 0;
        // An empty word (an empty dictionary) would "fit" anywhere and the
        // loop would never end: it counts as a word that cannot be placed.
        bool placed = false;
        if (word[0]) {
            if (list_add_word(-1, -1, -1, -1, word))
                break;   // the list cannot grow: keep what was made
            placed = fit_word(grid.word_count - 1);
        }
        if (!placed) {
            if (allowance == 0)
                break;
            allowance--;
        }
        if (stop_requested() || list_taken)
            break;
    }
}

void finish_making_from_dictionary()
{
    if (!list_taken)
        fill_blanks_randomly();
    clear_coverage();   // outside a fitting run coverage counts highlights only
    list_clear();
    grid_ui_refresh_solutions();
    grid_ui_redraw_grid();
}

void make_from_dictionary_run()
{
    make_words_from_dictionary();
    finish_making_from_dictionary();
}

void restart_dictionary_rotation() { rotation = 0; }

const char *random_dictionary_word()
{
    int count = search_dictionary_count();
    if (count == 0)
        return "";
    if (++rotation >= count)
        rotation = 0;
    uint32_t a = static_cast<uint32_t>(random_draw());
    uint32_t b = static_cast<uint32_t>(random_draw());
    uint32_t k = (a + b * 32768u) & 0xFFFFFFu;
    const Dictionary *d = search_dictionary(rotation);
    uint32_t words = d ? d->words : 0;
    k = words ? k % words : 0;
    return d ? word_text(d, k) : "";
}
