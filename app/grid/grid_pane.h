// The grid pane: the toolkit window that shows the one grid and takes the
// mouse and keys aimed at it. Windows only (target grid_ui).
#pragma once
#include <cstdint>

#include "toolkit/events/handles.h"

struct error_block;

// Cursor and marked-cell colours (colour words, 0xBBGGRR00): program-wide
// choices that the shell sets.
extern uint32_t grid_pane_cursor_colour;
extern uint32_t grid_pane_selected_colour;

// Creates the pane (template 258, "Grid") inside `parent` with its redraw,
// mouse and key handlers, and sets its extent from the grid.
const error_block *grid_pane_create(HWND parent, HWND *pane);
// The pane's key handler registered on another window too (the main
// window), so that the grid's keys act while that window has the focus.
const error_block *grid_pane_register_keys(HWND window);
// Fills the grid's redraw_cells, redraw_grid, set_extent, beep and
// show_cell hooks.
void grid_pane_install_hooks();
// Undo and Redo (Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z, and the Grid menu).
void grid_pane_undo();
void grid_pane_redo();
// Paints the cells that meet the work-area rectangle x0..x1, y0..y1 (OS
// units, y upwards, the work area's top at 0) onto `dc`, whose pixel
// (0, 0) shows work-area point (scroll_x, scroll_y).
void grid_pane_paint(HDC dc, int scroll_x, int scroll_y, int x0, int y0, int x1, int y1);
