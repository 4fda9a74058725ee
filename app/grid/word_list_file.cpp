// Wordsquare words in the grid: highlighting listed words, and reading a
// text file (one word a line, as the word-list export writes it) into the
// word list.
#include <cstring>

#include "app/grid/grid_hooks.h"
#include "app/grid/result_list.h"
#include "toolkit/files/stream.h"
#include "toolkit/text/cp1252.h"

namespace {

const int longest_word = 31;   // a word of 32 characters or more is skipped

// Calls visit(cell index) for each cell of the placed word that lies inside
// the grid, stopping at the first that does not.
template <class F> void for_word_cells(const word_record *word, F visit)
{
    if (!word)
        return;
    int length = static_cast<int>(strnlen(word->text, sizeof word->text));
    for (int i = 0; i < length; i++) {
        int c = word->col + i * word->col_step;
        int r = word->row + i * word->row_step;
        if (c < 0 || r < 0 || c >= grid.width || r >= grid.height)
            return;
        visit(grid_cell(c, r));
    }
}

void set_state(int cell, uint8_t state)
{
    grid.attributes[cell] = static_cast<uint8_t>((grid.attributes[cell] & ~cell_state_mask) | state);
}

// Reads one word starting at `ch` (not below 33); leaves in `ch` the first
// character not taken. Returns its length (32 when it was too long).
int read_word(fs_stream *s, int &ch, char *word)
{
    int n = 0;
    word[n++] = static_cast<char>(ch);   // the first character as it is
    ch = stream_getc(s);
    while (ch != -1 && n <= longest_word) {
        if (ch < 32) {                   // a line end ends the word, consumed
            ch = stream_getc(s);
            break;
        }
        if (cp_is_alpha(static_cast<unsigned char>(ch)))
            word[n++] = static_cast<char>(cp_lower(static_cast<unsigned char>(ch)));
        ch = stream_getc(s);
    }
    word[n] = 0;
    return n;
}

}  // namespace

void highlight_word(const word_record *word)
{
    for_word_cells(word, [](int cell) {
        if (grid.coverage[cell] == 0)
            set_state(cell, cell_marked);
        if (grid.coverage[cell] < 255)
            grid.coverage[cell]++;
    });
}

void unhighlight_word(const word_record *word)
{
    for_word_cells(word, [](int cell) {
        if (grid.coverage[cell] > 0 && --grid.coverage[cell] == 0)
            set_state(cell, cell_open);
    });
}

void remove_highlights()
{
    for (int i = 0; i < grid.word_count; i++) {
        word_record *w = list_word(i);
        if (w && w->selected) {
            unhighlight_word(w);
            w->selected = 0;
        }
    }
    recompute_marked_area();
    grid_ui_redraw_grid();
}

const error_block *list_from_text_file(const char *path)
{
    fs_stream s{};
    if (stream_open(path, "r", 4096, &s))
        return nullptr;   // a file that cannot be opened changes nothing
    remove_highlights();
    list_clear();
    const error_block *e = nullptr;
    char word[longest_word + 2];
    int ch = stream_getc(&s);
    while (!e) {
        while (ch != -1 && ch < 33)
            ch = stream_getc(&s);
        if (ch == -1)
            break;
        if (read_word(&s, ch, word) <= longest_word)
            e = list_add_word(-1, -1, -1, -1, word);
    }
    e = stream_close(&s, e);
    grid_ui_refresh_solutions();
    return e;
}
