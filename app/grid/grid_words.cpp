// The word enumeration, as a numbering pass scans the grid.
//
// A numbering pass keeps two work marks per cell: "in an across run" and
// "in a down run". Filled cells carry both from the start, so a run ends
// at a filled cell; a bar on a cell's left (top) edge ends an across
// (down) run before that cell. A cell is an across start when it has no
// across mark, is not in the last column, and the cell to its right has
// neither the mark nor a left bar (down: the same downwards). Each run
// produced marks its cells, so a cell inside a run that started further
// left (up) is not a start. The marks live in local planes: enumerating
// the words leaves the grid's own work bits alone.
#include "app/grid/grid_words.h"

#include <cstring>

#include "app/grid/grid.h"

namespace {

struct Marks {
    bool across[grid_plane_bytes];
    bool down[grid_plane_bytes];
};

bool filled(int c, int r)
{
    return (grid.attributes[grid_cell(c, r)] & cell_state_mask) == cell_filled;
}

uint8_t attribute(int c, int r) { return grid.attributes[grid_cell(c, r)]; }

// The text of the run from (c, r) in direction (dc, dr), marking its cells.
int take_run(int c, int r, int dc, int dr, bool *mark, char *text)
{
    int n = 0;
    for (;;) {
        mark[grid_cell(c, r)] = true;
        uint8_t letter = grid.letters[grid_cell(c, r)];
        text[n++] = letter ? static_cast<char>(letter) : ' ';   // NUL: an empty cell
        c += dc;
        r += dr;
        if (c >= grid.width || r >= grid.height || filled(c, r))
            break;
        if (attribute(c, r) & (dc ? bar_left : bar_top))
            break;
    }
    text[n] = 0;
    return n;
}

}  // namespace

int grid_words(bool (*take)(const char *text, void *argument), void *argument)
{
    static Marks marks;
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++) {
            bool f = filled(c, r);
            marks.across[grid_cell(c, r)] = f;
            marks.down[grid_cell(c, r)] = f;
        }
    int produced = 0;
    char text[GRID_WORD_BUFFER];
    for (int r = 0; r < grid.height; r++)
        for (int c = 0; c < grid.width; c++) {
            if (filled(c, r))
                continue;
            bool across = !marks.across[grid_cell(c, r)] && c < grid.width - 1 &&
                          !marks.across[grid_cell(c + 1, r)] && !(attribute(c + 1, r) & bar_left);
            bool down = !marks.down[grid_cell(c, r)] && r < grid.height - 1 &&
                        !marks.down[grid_cell(c, r + 1)] && !(attribute(c, r + 1) & bar_top);
            if (across) {
                take_run(c, r, 1, 0, marks.across, text);
                produced++;
                if (!take(text, argument))
                    return produced;
            }
            if (down) {
                take_run(c, r, 0, 1, marks.down, text);
                produced++;
                if (!take(text, argument))
                    return produced;
            }
        }
    return produced;
}

namespace {

struct Wanted {
    int k;
    char *out;
    bool found;
};

bool take_kth(const char *text, void *argument)
{
    Wanted *w = static_cast<Wanted *>(argument);
    if (w->k-- > 0)
        return true;
    strcpy(w->out, text);
    w->found = true;
    return false;
}

}  // namespace

bool grid_word(int k, char *out)
{
    out[0] = 0;
    if (k < 0)
        return false;
    Wanted w{k, out, false};
    grid_words(take_kth, &w);
    return w.found;
}
