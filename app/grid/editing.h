// Editing the grid: cursor moves, typing, Backspace/Delete, clicks and
// drag-marking, filled squares and bars, the four reflections and the case
// commands. The window layer turns keys and pointer positions into these
// calls; redraws, scrolling and beeps go back through the grid hooks.
//
// Every operation that changes cells or bars is one Undo step (history.h).
#pragma once

// Cursor moves: to the nearest cell that is not filled in that direction,
// scrolling the least to show it; nothing when there is none (or no cursor).
void cursor_left();
void cursor_right();
void cursor_up();
void cursor_down();

// A typed character (a key code without the special-key bit): converted by
// the case mode, stored in the cursor cell when it is a space, a letter or
// "*", then `advance`. Other characters and typing without a cursor
// change nothing.
void type_character(int code);
// Backspace and Delete: the cursor cell becomes a space, then `retreat`.
void delete_character();
// The cursor after a typed character: on in the direction of the previous
// move when that way is open, else the only open way; beeps when both or
// neither are open.
void advance();
// The cursor after Backspace or Delete, the same rules leftwards/upwards
// (bars do not count).
void retreat();

// Pointer actions on cell (col, row); cells outside the grid beep.
void select_click(int col, int row, bool ctrl);
// Crossword only: fills or opens the cell, Shift toggles its left bar,
// Ctrl its top bar; with cells marked it toggles the cell's mark instead.
void adjust_click(int col, int row, bool shift, bool ctrl);

// Select drag (crossword only): marks the rectangle from the start cell to
// the pointer's cell. drag_fresh: the drag began while nothing was marked.
extern bool drag_fresh;
void drag_start(int col, int row);
void drag_update(int col, int row);   // the pointer's cell, clamped into the grid
void drag_end();

// The reflections copy attribute bytes (never letters) from one half of
// the grid to the other, moving each bar to the edge it maps to.
void reflect_horizontal();          // left half onto the right (mirror |)
void reflect_vertical();            // top half onto the bottom (mirror -)
void reflect_diagonal_slash();      // half turn from the upper-left triangle
void reflect_diagonal_backslash();  // half turn from the upper-right triangle

// "Upper Case" and "Lower Case": switch their own mode on or off (and the
// other off), then convert every open cell's letter by the new mode.
void upper_case_command();
void lower_case_command();

// Set or change the grid size as the Size window's OK does: one Undo step.
void resize_grid(int w, int h);
