// The grid's edit history: steps recorded as cell differences.
//
// Invariants:
//   1. steps[0 .. position) can be undone, steps[position .. count) redone.
//   2. saved_position is the position whose cells are those of the last
//      save, or -1 when no position has them.
//   3. While depth > 0 the `before` copy holds the cells as they were when
//      the outermost history_begin ran.
#include "app/grid/history.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"

namespace {

struct cell_change {
    uint16_t cell;          // plane index, column-major
    uint8_t old_letter, new_letter;
    uint8_t old_attribute, new_attribute;   // marked state stored as open
};

struct grid_state {         // what a step restores besides its cells
    int32_t case_mode;
    int32_t width, height;
    int32_t cursor_col, cursor_row, last_col, last_row;
};

struct step {
    cell_change *changes;   // malloc'd, `count` entries
    int count;
    grid_state before, after;
};

step steps[history_limit];
int count = 0;
int position = 0;
int saved_position = 0;
int depth = 0;
bool applying = false;      // undo or redo is writing the grid

uint8_t before_letters[grid_plane_bytes];
uint8_t before_attributes[grid_plane_bytes];
grid_state before_state;

uint8_t content(uint8_t attribute)
{
    return (attribute & cell_state_mask) == cell_marked ? attribute & ~cell_state_mask : attribute;
}

grid_state current_state()
{
    return grid_state{grid.case_mode, grid.width,    grid.height,  grid.cursor_col,
                      grid.cursor_row, grid.last_col, grid.last_row};
}

void free_steps(int from)
{
    for (int i = from; i < count; i++) {
        free(steps[i].changes);
        steps[i] = step{};
    }
    if (count > from)
        count = from;
}

void drop_oldest()
{
    free(steps[0].changes);
    memmove(&steps[0], &steps[1], sizeof(step) * (count - 1));
    steps[count - 1] = step{};
    count--;
    position--;
    saved_position = saved_position > 0 ? saved_position - 1 : -1;
}

// Cells that differ from the `before` copy; *visible is set when one of
// them changed in its letter or in attribute bits 0-5.
int count_changes(bool *visible)
{
    int n = 0;
    for (int i = 0; i < grid_plane_bytes; i++) {
        uint8_t was = content(before_attributes[i]), now = content(grid.attributes[i]);
        if (before_letters[i] == grid.letters[i] && was == now)
            continue;
        n++;
        if (before_letters[i] != grid.letters[i] || ((was ^ now) & 0x3F))
            *visible = true;
    }
    return n;
}

void record_step()
{
    bool visible = false;
    int n = count_changes(&visible);
    grid_state now = current_state();
    bool settings = now.case_mode != before_state.case_mode || now.width != before_state.width ||
                    now.height != before_state.height;
    if (!visible && !settings)
        return;
    cell_change *changes = static_cast<cell_change *>(malloc(sizeof(cell_change) * (n ? n : 1)));
    if (!changes) {   // no memory for the step: the older steps cannot be undone either
        history_clear();
        saved_position = -1;
        return;
    }
    int k = 0;
    for (int i = 0; i < grid_plane_bytes; i++) {
        uint8_t was = content(before_attributes[i]), nowa = content(grid.attributes[i]);
        if (before_letters[i] == grid.letters[i] && was == nowa)
            continue;
        changes[k++] = cell_change{static_cast<uint16_t>(i), before_letters[i], grid.letters[i], was, nowa};
    }
    free_steps(position);
    if (saved_position > position)
        saved_position = -1;
    if (count == history_limit)
        drop_oldest();
    steps[count++] = step{changes, n, before_state, now};
    position = count;
}

void restore_cell(int cell, uint8_t letter, uint8_t attribute, bool *lost_mark)
{
    uint8_t &a = grid.attributes[cell];
    bool marked = (a & cell_state_mask) == cell_marked;
    if (marked && (attribute & cell_state_mask) == cell_open)
        attribute |= cell_marked;
    else if (marked)
        *lost_mark = true;
    a = attribute;
    grid.letters[cell] = letter;
}

void redraw_cell(int col, int row)
{
    if (col >= 0 && row >= 0)
        grid_ui_redraw_cells(col, row, col, row);
}

void apply_state(const grid_state &from, const grid_state &to)
{
    grid.case_mode = to.case_mode;
    if (to.width != grid.width || to.height != grid.height) {
        unmark();
        grid.width = to.width;
        grid.height = to.height;
        grid_ui_set_extent(grid.width * grid.square_size, grid.height * grid.square_size);
        grid_ui_redraw_grid();
    }
    grid.cursor_col = to.cursor_col;
    grid.cursor_row = to.cursor_row;
    grid.last_col = to.last_col;
    grid.last_row = to.last_row;
    if (grid.cursor_col >= 0)
        grid_ui_show_cell(grid.cursor_col, grid.cursor_row);
    redraw_cell(from.cursor_col, from.cursor_row);
    redraw_cell(grid.cursor_col, grid.cursor_row);
}

// Writes one side of a step into the grid and redraws what changed.
void apply(const step &s, bool undo)
{
    applying = true;
    bool lost_mark = false;
    int c0 = grid_plane_side, r0 = grid_plane_side, c1 = -1, r1 = -1;
    for (int i = 0; i < s.count; i++) {
        const cell_change &ch = s.changes[i];
        restore_cell(ch.cell, undo ? ch.old_letter : ch.new_letter,
                     undo ? ch.old_attribute : ch.new_attribute, &lost_mark);
        int c = ch.cell / grid_plane_side, r = ch.cell % grid_plane_side;
        if (c < c0) c0 = c;
        if (c > c1) c1 = c;
        if (r < r0) r0 = r;
        if (r > r1) r1 = r;
    }
    apply_state(undo ? s.after : s.before, undo ? s.before : s.after);
    if (lost_mark) {
        recompute_marked_area();
        marked_length_display();
    }
    if (c1 >= 0)
        grid_ui_redraw_cells(c0, r0, c1, r1);
    if (position == saved_position) {
        if (grid.modified_count) {
            grid.modified_count = 0;
            grid_ui_retitle();
        }
    } else if (grid.modified_count == 0) {
        mark_modified();
    }
    applying = false;
}

}  // namespace

void history_begin()
{
    if (depth++ > 0)
        return;
    memcpy(before_letters, grid.letters, sizeof before_letters);
    memcpy(before_attributes, grid.attributes, sizeof before_attributes);
    before_state = current_state();
}

void history_end()
{
    if (depth == 0 || --depth > 0)
        return;
    record_step();
}

bool history_recording() { return depth > 0; }
bool history_can_undo() { return depth == 0 && position > 0; }
bool history_can_redo() { return depth == 0 && position < count; }

bool history_undo()
{
    if (!history_can_undo())
        return false;
    position--;
    apply(steps[position], true);
    return true;
}

bool history_redo()
{
    if (!history_can_redo())
        return false;
    position++;
    apply(steps[position - 1], false);
    return true;
}

// Inside an action (a New Grid within a bracketed handler, say) the action
// starts again from the grid as it is now, so the clearing is not undone.
void history_clear()
{
    free_steps(0);
    position = 0;
    saved_position = grid.modified_count ? -1 : 0;
    if (depth > 0) {
        memcpy(before_letters, grid.letters, sizeof before_letters);
        memcpy(before_attributes, grid.attributes, sizeof before_attributes);
        before_state = current_state();
    }
}

int history_step_count() { return count; }

void history_note_saved() { saved_position = position; }

void history_note_modified()
{
    if (depth == 0 && !applying)
        saved_position = -1;
}
