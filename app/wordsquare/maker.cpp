// The Wordsquare maker.
//
// fit_word places one word and recurses for the next. Each call draws its
// own random start cell and direction (also when called again after a
// backtrack), then tries every start cell in column-then-row order from
// there, wrapping round, and every allowed direction from the random one,
// cyclically. Placing a letter adds 1 to the cell's coverage; undoing
// subtracts 1 and empties the cell only when no other word still uses it,
// so letters shared by crossing words survive.
#include "app/wordsquare/maker.h"

#include <cstring>

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

// Tries the allowed directions from d0 at start cell (c, r).
bool fit_at(int n, const char *text, int length, int c, int r, int d0, uint32_t allowed)
{
    for (int k = 0; k < direction_count; k++) {
        const direction_step &d = direction_table[(d0 + k) & 7];
        if (!(allowed & d.bit))
            continue;
        if (!inside(c + (length - 1) * d.col_step, r + (length - 1) * d.row_step))
            continue;
        if (!letters_fit(text, length, c, r, d.col_step, d.row_step))
            continue;
        place(text, length, c, r, d.col_step, d.row_step);
        if (fit_word(n + 1)) {
            word_record *w = list_word(n);
            w->col = c;
            w->row = r;
            w->col_step = d.col_step;
            w->row_step = d.row_step;
            return true;
        }
        undo(length, c, r, d.col_step, d.row_step);
    }
    return false;
}

}  // namespace

bool fit_word(int n)
{
    if (n >= grid.word_count)
        return true;
    grid_ui_show_progress(n);
    int c0 = random_draw() % grid.width;
    int r0 = random_draw() % grid.height;
    int d0 = random_draw() & 7;
    uint32_t allowed = allowed_directions();
    char text[sizeof(word_record::text)];
    strcpy(text, list_word(n)->text);
    if (stop_requested()) {
        report_message(0, "Fitted %d words, up to %s", n, text);
        return true;
    }
    grid_ui_poll_once();
    int length = static_cast<int>(strlen(text));
    int c = c0, r = r0;
    do {
        if (fit_at(n, text, length, c, r, d0, allowed))
            return true;
        if (++c == grid.width) {
            c = 0;
            if (++r == grid.height)
                r = 0;
        }
    } while (c != c0 || r != r0);
    return false;
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

void make_from_list_run()
{
    fit_word(0);
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
        if (stop_requested())
            break;
    }
}

void finish_making_from_dictionary()
{
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
