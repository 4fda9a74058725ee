// The Wordsquare solver.
//
// The eight search directions, in the order every cell tries them:
// (-1,-1), (-1,0), (-1,+1), (0,-1), (0,+1), (+1,-1), (+1,0), (+1,+1). The
// same word may be reported more than once: from different cells, from
// both ends when it reads the same backwards, and inside a longer word
// found from another cell.
#include "app/wordsquare/solver.h"

#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/result_list.h"
#include "app/wordsquare/lexicon.h"
#include "toolkit/messages/log.h"
#include "toolkit/text/cp1252.h"

dirty_rectangle wordsquare_dirty = {-1, -1, -1, -1};

namespace {

const int search_steps[8][2] = {{-1, -1}, {-1, 0}, {-1, +1}, {0, -1}, {0, +1}, {+1, -1}, {+1, 0}, {+1, +1}};
const int longest_run = 31;

void extend(int c, int r)
{
    dirty_rectangle &d = wordsquare_dirty;
    if (d.col0 < 0) {
        d = {c, r, c, r};
        return;
    }
    if (c < d.col0)
        d.col0 = c;
    if (c > d.col1)
        d.col1 = c;
    if (r < d.row0)
        d.row0 = r;
    if (r > d.row1)
        d.row1 = r;
}

}  // namespace

void dirty_add_word(const word_record *word)
{
    int length = static_cast<int>(strlen(word->text));
    if (word->col < 0 || word->row < 0 || length == 0)
        return;
    extend(word->col, word->row);
    int c = word->col + (length - 1) * word->col_step, r = word->row + (length - 1) * word->row_step;
    extend(c < 0 ? 0 : c, r < 0 ? 0 : r);
}

void dirty_redraw()
{
    dirty_rectangle &d = wordsquare_dirty;
    if (d.col0 >= 0)
        grid_ui_redraw_cells(d.col0, d.row0, d.col1, d.row1);
    d = {-1, -1, -1, -1};
}

void search_from(int c, int r, int dc, int dr)
{
    char run[longest_run + 1];
    int length = 0;
    for (int x = c, y = r; length < longest_run; x += dc, y += dr) {
        if (x < 0 || y < 0 || x >= grid.width || y >= grid.height)
            break;
        int cell = grid_cell(x, y);
        if (grid.attributes[cell] & cell_state_mask)
            break;
        unsigned char letter = cp_lower(grid.letters[cell]);
        if (letter < 'a' || letter > 'z')
            break;
        run[length++] = static_cast<char>(letter);
    }
    int k = lexicon_longest_word(run, length, grid.min_word_length);
    if (k > 0) {
        run[k] = 0;
        list_add_word(c, r, dc, dr, run);
    }
}

const error_block *solve_wordsquare_start()
{
    if (const error_block *e = search_ensure_dictionary())
        return e;
    list_clear();
    grid_ui_refresh_solutions();
    return nullptr;
}

void solve_wordsquare_run()
{
    lexicon_prepare();
    bool stopped = false;
    for (int c = 0; c < grid.width && !stopped; c++)
        for (int r = 0; r < grid.height && !stopped; r++) {
            for (const auto &step : search_steps)
                search_from(c, r, step[0], step[1]);
            if (stop_requested())
                stopped = true;
            else
                grid_ui_poll_once();
        }
    debug_log("solve1");
    clear_coverage();
    debug_log("solve2");
    list_sort();
    grid_ui_refresh_solutions();
}
