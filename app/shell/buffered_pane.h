// Panes that paint the whole of each rectangle off-screen and copy it in
// one piece, so that redraws do not flicker, and never erase their ground
// (their painter fills it).
#pragma once

#include "toolkit/events/handles.h"

struct error_block;
struct platform_message;

// Paints the work area between heights y0 (bottom) and y1 (top), for a
// scroll offset, onto a device of `width` pixels.
typedef void (*pane_painter)(void *value, HDC dc, int scroll_x, int scroll_y, int y0, int y1, int width);

// The redraw loop of pane `w`, each rectangle painted by `paint`.
const error_block *buffered_pane_redraw(HWND w, pane_painter paint, void *value);
// A message filter for WM_ERASEBKGND that claims it, erasing nothing.
const error_block *buffered_pane_no_erase(platform_message *m, void *value, int *claimed);
