// Dividing an autofill area into runs. Like the marked area's parts, a run
// ends at a filled square, at a bar and at the rectangle's edge; unlike
// them it takes every open cell, marked or not, and any number of runs.
#include "app/autofill/fill_layout.h"

#include <algorithm>

#include "app/grid/grid.h"
#include "toolkit/text/cp1252.h"

namespace {

bool open_cell(int c, int r) { return (grid.attributes[grid_cell(c, r)] & cell_state_mask) != cell_filled; }

// Whether a run going in `direction` continues from the cell before (c, r)
// into it: (c, r) open and no bar between them.
bool continues(int c, int r, int direction)
{
    uint8_t bar = direction == 0 ? bar_left : bar_top;
    return open_cell(c, r) && !(grid.attributes[grid_cell(c, r)] & bar);
}

int cell_number(FillLayout *layout, std::vector<int32_t> &numbers, int c, int r)
{
    int width = layout->col1 - layout->col0 + 1;
    int32_t &n = numbers[(r - layout->row0) * width + (c - layout->col0)];
    if (n < 0) {
        n = static_cast<int32_t>(layout->cells.size());
        FillCell cell;
        cell.col = c;
        cell.row = r;
        uint8_t letter = grid.letters[grid_cell(c, r)];
        cell.letter = letter == ' ' ? -1 : static_cast<int16_t>(cp_upper(letter));
        layout->cells.push_back(cell);
    }
    return n;
}

void add_runs(FillLayout *layout, std::vector<int32_t> &numbers, int direction)
{
    int outer0 = direction == 0 ? layout->row0 : layout->col0;
    int outer1 = direction == 0 ? layout->row1 : layout->col1;
    int inner0 = direction == 0 ? layout->col0 : layout->row0;
    int inner1 = direction == 0 ? layout->col1 : layout->row1;
    for (int o = outer0; o <= outer1; o++) {
        int i = inner0;
        while (i <= inner1) {
            auto at = [&](int k, int *c, int *r) {
                *c = direction == 0 ? k : o;
                *r = direction == 0 ? o : k;
            };
            int c, r;
            at(i, &c, &r);
            if (!open_cell(c, r)) {
                i++;
                continue;
            }
            int end = i + 1;
            for (;; end++) {
                int nc, nr;
                at(end, &nc, &nr);
                if (end > inner1 || !continues(nc, nr, direction))
                    break;
            }
            if (end - i >= 2) {
                FillRun run;
                run.col = c;
                run.row = r;
                run.direction = static_cast<uint8_t>(direction);
                int number = static_cast<int>(layout->runs.size());
                for (int k = i; k < end; k++) {
                    int kc, kr;
                    at(k, &kc, &kr);
                    int cell = cell_number(layout, numbers, kc, kr);
                    layout->cells[cell].run[direction] = number;
                    layout->cells[cell].position[direction] = k - i;
                    run.cells.push_back(cell);
                }
                layout->runs.push_back(std::move(run));
            }
            i = end;
        }
    }
}

}  // namespace

void fill_layout(const autofill_area *area, FillLayout *layout)
{
    layout->cells.clear();
    layout->runs.clear();
    layout->col0 = std::max(0, std::min(area->col0, area->col1));
    layout->col1 = std::min(grid.width - 1, std::max(area->col0, area->col1));
    layout->row0 = std::max(0, std::min(area->row0, area->row1));
    layout->row1 = std::min(grid.height - 1, std::max(area->row0, area->row1));
    if (layout->col0 > layout->col1 || layout->row0 > layout->row1)
        return;
    std::vector<int32_t> numbers(
        static_cast<size_t>(layout->col1 - layout->col0 + 1) * (layout->row1 - layout->row0 + 1), -1);
    add_runs(layout, numbers, 0);
    add_runs(layout, numbers, 1);
}
