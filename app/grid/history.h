// Undo and Redo: the grid's edit history.
//
// A step is one user action, however many cells it changes. An action is
// bracketed by history_begin and history_end (the pairs nest: only the
// outermost pair makes a step), so the editing commands bracket themselves
// and the shell may bracket a whole handler around them. At the end the
// cells are compared with a copy taken at the beginning, and every cell
// whose letter or attribute byte changed is recorded with its old and new
// value, with the case mode, the size and the cursor before and after.
//
// What a step holds: letters and attribute bits 0-7, except that the
// marked state (a selection, not content) counts as open. Undoing keeps the
// cells that are marked now marked unless the restored cell is filled.
// A step whose only changes are marks or the numbering work bits (6-7) is
// not kept.
//
// The modified state: the history remembers the step position at which the
// grid was last saved (clear_modified). Undo or Redo back to that position
// clears the modified count; moving away from it sets it. A modification
// counted outside any step (a settings change, say) cannot be undone, so
// the saved position becomes unreachable until the next save.
//
// New Grid, a load and a grid-type change empty the history.
#pragma once

const int history_limit = 200;   // steps kept; the oldest go first

void history_begin();
void history_end();
bool history_recording();        // inside a begin/end pair

bool history_can_undo();
bool history_can_redo();
// Each returns false, changing nothing, when there is nothing to undo or
// redo or an action is being recorded.
bool history_undo();
bool history_redo();

void history_clear();
int history_step_count();        // steps held (undoable plus redoable)

// Called by the grid's document state: the grid was saved (or counts as
// unmodified), and a modification was counted.
void history_note_saved();
void history_note_modified();
