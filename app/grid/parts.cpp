// Dividing the marked area into across and down parts, and reading and
// writing a part's letters.
#include "app/grid/parts.h"

#include "app/grid/grid.h"
#include "app/grid/result_list.h"

part parts[max_parts];
int32_t part_count = 0;
part_bounds parts_bounds = {-1, -1, -1, -1};

namespace {

const uint8_t both_taken = across_numbered | down_numbered;

uint8_t &attr(int c, int r) { return grid.attributes[grid_cell(c, r)]; }

// Step from cell (c, r) to the next cell of a run in direction `down`.
int next_col(int c, bool down) { return down ? c : c + 1; }
int next_row(int r, bool down) { return down ? r + 1 : r; }

// Whether a part in this direction starts at (c, r): the cell and the next
// one inside the rectangle are free in that direction, and no bar lies
// between them.
bool starts_run(int c, int r, bool down)
{
    uint8_t taken = down ? down_numbered : across_numbered;
    uint8_t bar = down ? bar_top : bar_left;
    if (attr(c, r) & taken)
        return false;
    if (down ? r >= parts_bounds.row1 : c >= parts_bounds.col1)
        return false;
    uint8_t next = attr(next_col(c, down), next_row(r, down));
    return !(next & taken) && !(next & bar);
}

// Takes the run's cells from (c, r) onwards and returns its length.
int take_run(int c, int r, bool down)
{
    uint8_t taken = down ? down_numbered : across_numbered;
    uint8_t bar = down ? bar_top : bar_left;
    int length = 0;
    while (c <= parts_bounds.col1 && r <= parts_bounds.row1) {
        uint8_t &a = attr(c, r);
        if (a & taken)
            break;
        a |= taken;
        length++;
        int nc = next_col(c, down), nr = next_row(r, down);
        if (nc > parts_bounds.col1 || nr > parts_bounds.row1 || (attr(nc, nr) & bar))
            break;
        c = nc;
        r = nr;
    }
    return length;
}

void add_part(int c, int r, bool down)
{
    part &p = parts[part_count++];
    p.col = c;
    p.row = r;
    p.code = 0;
    p.direction = down ? 1 : 0;
    p.length = static_cast<uint8_t>(take_run(c, r, down));
}

int lower(int a, int b) { return a < b ? a : b; }
int upper(int a, int b) { return a > b ? a : b; }

// The marked rectangle clipped to the grid; false when nothing remains.
bool clip_rectangle()
{
    parts_bounds = {-1, -1, -1, -1};
    if (grid.mark_col_a < 0)
        return false;
    int c0 = upper(0, lower(grid.mark_col_a, grid.mark_col_b));
    int c1 = lower(grid.width - 1, upper(grid.mark_col_a, grid.mark_col_b));
    int r0 = upper(0, lower(grid.mark_row_a, grid.mark_row_b));
    int r1 = lower(grid.height - 1, upper(grid.mark_row_a, grid.mark_row_b));
    if (c0 > c1 || r0 > r1)
        return false;
    parts_bounds = {c0, c1, r0, r1};
    return true;
}

}  // namespace

void divide_marked_area()
{
    part_count = 0;
    if (clip_rectangle()) {
        const part_bounds &b = parts_bounds;
        for (int c = b.col0; c <= b.col1; c++)
            for (int r = b.row0; r <= b.row1; r++) {
                uint8_t &a = attr(c, r);
                if ((a & cell_state_mask) == cell_marked)
                    a &= static_cast<uint8_t>(~both_taken);
                else
                    a |= both_taken;
            }
        for (int r = b.row0; r <= b.row1; r++)
            for (int c = b.col0; c <= b.col1 && part_count < max_parts; c++) {
                if ((attr(c, r) & both_taken) == both_taken)
                    continue;
                if (starts_run(c, r, false))
                    add_part(c, r, false);
                if (part_count < max_parts && starts_run(c, r, true))
                    add_part(c, r, true);
            }
    }
    list_columns = part_count;
}

void read_part(int p, char *buffer)
{
    const part &q = parts[p];
    bool down = q.direction != 0;
    for (int i = 0; i < q.length; i++)
        buffer[i] = static_cast<char>(grid.letters[grid_cell(down ? q.col : q.col + i, down ? q.row + i : q.row)]);
    buffer[q.length] = 0;
}

void write_part(int p, const char *text)
{
    const part &q = parts[p];
    bool down = q.direction != 0;
    int i = 0;
    for (; *text && i < q.length; text++) {
        if (*text == ' ')
            continue;
        grid.letters[grid_cell(down ? q.col : q.col + i, down ? q.row + i : q.row)] =
            convert_case(static_cast<unsigned char>(*text));
        i++;
    }
}

void restore_part(int p, const char *letters)
{
    const part &q = parts[p];
    bool down = q.direction != 0;
    for (int i = 0; i < q.length; i++)   // a NUL cell is restored, not an end
        grid.letters[grid_cell(down ? q.col : q.col + i, down ? q.row + i : q.row)] =
            static_cast<uint8_t>(letters[i]);
}
