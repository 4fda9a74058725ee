// Toolkit windows: dialog windows made from numbered templates, their
// window data, placing and stacking, extents and scroll offsets, the
// redraw protocol, icons, the caret, drags, sounds and the information
// window.
//
// Positions are OS units (180 to the inch, y upwards). A window's work
// area has its origin at its top left, so visible points have y <= 0; the
// scroll offsets name the work-area point shown at the visible top left.
#pragma once
#include <cstdint>

#include "toolkit/events/handles.h"

struct error_block;

// Window data flags.
enum : int {
    WF_PANE = 0x8,           // activation and focus pass to the parent
    WF_NOMOVE = 0x10,        // the system move command is refused
    WF_NONAV = 0x20,         // no dialog navigation
    WF_SCROLL_CHILDREN = 0x40,
    WF_OPENING = 0x80,       // the toolkit itself is opening the window
    WF_FIXED_SIZE = 0x100,   // size fixed to the extent
    WF_CENTRE = 0x200,       // centre a work area smaller than the visible area
    WF_WIDE = 0x800,         // wide-character window procedure
};

struct wdata {
    int32_t flags;
    uint32_t style;          // platform style at creation (0x300000: scroll bars)
    int32_t extent[4];       // work area x0, x1, y0, y1
    int32_t wheel[4];        // vertical amount, direction, horizontal amount, direction
    uint32_t background;     // toolkit colour; 0 the platform's own
    int32_t scroll_x, scroll_y;
    HWND window;
    HWND parent;             // the parent given at creation
    wdata *next, *previous;
};

// State flags.
enum : uint32_t {
    WS_FLAG_ALWAYS = 0x80000000u, WS_FLAG_SHOWN = 0x10000, WS_FLAG_MAXIMISED = 0x40000,
    WS_FLAG_OPENING = 0x200000, WS_FLAG_MINIMISED = 0x400000,
};

struct window_state {
    HWND window;
    int x0, y0, x1, y1;      // visible area, screen OS units (y0 the bottom)
    int scroll_x, scroll_y;
    HWND behind;             // the window in front of it; see BEHIND_* for opening
    uint32_t flags;
};

// The "behind" word of an open request, besides a window handle.
#define BEHIND_TOP ((HWND)(intptr_t)-1)
#define BEHIND_BOTTOM ((HWND)(intptr_t)-2)
#define BEHIND_KEEP ((HWND)(intptr_t)-3)
#define BEHIND_TOPMOST ((HWND)(intptr_t)-4)
#define BEHIND_NOTOPMOST ((HWND)(intptr_t)-5)
#define BEHIND_HIDE ((HWND)(intptr_t)-6)

struct redraw_block {
    HWND window;
    int x0, y0, x1, y1;      // visible client area, work-area OS units
    int scroll_x, scroll_y;
    int g0, g1, g2, g3;      // rectangle to draw, work-area OS units (x0 y0 x1 y1)
    HDC dc;                  // the device to draw on
    int more;                // 1 painting, 2 updating, 0 ended
    int origin_x, origin_y;  // device pixel of work-area point (0, 0)
    struct drawing_context *context;  // current while drawing; set by the drawing layer
};

struct caret_block {
    HWND window;             // toolkit window with the input focus
    int icon;                // focused control, -1 the window itself
    int unused[3];           // -1
    int selection_start, selection_end;
};

struct drag_block {
    HWND window;
    int type;                // 1 window move, 5 fixed box, 8 bar
    int x0, y0, x1, y1;      // screen OS units
    int bound[4];            // x0 y0 x1 y1
};
typedef void (*drag_end_callback)(intptr_t a, intptr_t b, int x0, int y0, int x1, int y1);
typedef void (*drag_move_callback)(intptr_t a, intptr_t b, int x, int y);

// Unit conversion with the display's metrics (screen origin bottom left).
int os_from_px_x(int px);
int os_from_px_y(int px);           // a length, not a position
int px_from_os_x(int os);
int px_from_os_y(int os);
int screen_os_x(int px);            // screen pixel -> OS position
int screen_os_y(int py);
int screen_px_x(int os);            // OS position -> screen pixel
int screen_px_y(int os);
void display_read_metrics();

// Creation and deletion.
const error_block *window_create(int template_number, const char *title, HWND parent, HWND *window);
const error_block *window_create_noparent(int template_number, const char *title, HWND *window);
const error_block *window_create_height(int template_number, const char *title, HWND parent,
                                        int height, HWND *window);
const error_block *window_delete(HWND window);
wdata *window_data(HWND window);            // null for a window that is not the toolkit's
wdata *window_first();                      // the list of all toolkit windows
bool is_task_window(HWND window);

// Placing.
const error_block *window_open(window_state *state);
const error_block *window_open_ex(window_state *state);
// Opens the window at its current size in the middle of the screen, on top.
const error_block *window_open_centred(HWND window);
// Opens the window at its current size with its top left at the pointer.
const error_block *window_open_at_pointer(HWND window);
const error_block *window_get_state(HWND window, window_state *state);
const error_block *window_close(HWND window);
const error_block *window_set_extent(HWND window, int x0, int y0, int x1, int y1);
const error_block *window_get_extent(HWND window, int extent[4]);   // x0 y0 x1 y1
int window_get_flags(HWND window);
void window_flags(HWND window, int set, int clear);
void window_set_background(HWND window, uint32_t colour);
// Re-clamps the scroll offsets (and centres, with flag 0x200); scrolls the
// contents by the change.
void window_keep_scroll_valid(HWND window);

// Redrawing.
const error_block *window_force_redraw(HWND window, int x0, int y0, int x1, int y1);
const error_block *wimp_redraw_in(redraw_block *block);
const error_block *wimp_update(redraw_block *block);
void wimp_redraw_end(redraw_block *block);

// Icons.
const error_block *icon_set_text(HWND window, int icon, const char *text);
const error_block *icon_get_text(HWND window, int icon, char *buffer, int size);
const error_block *icon_move(HWND window, int icon, int x0, int y0, int x1, int y1);
const error_block *icon_delete(HWND window, int icon);
const error_block *icon_enable(HWND window, int icon, int enabled);
const error_block *icon_select(HWND window, int icon, int selected);
int icon_selected(HWND window, int icon);

// Caret.
void caret_get(caret_block *block);
const error_block *caret_set(HWND window, int icon, int selection_start, int selection_end);

// Drags.
void drag_set_callbacks(drag_end_callback end, intptr_t a, intptr_t b, drag_move_callback move);
const error_block *drag_start(const drag_block *block);   // null block: cancel
bool drag_active();

// Sound.
void sound_write(int character);
void sound_play(int frequency, int duration);

// The information window (template 3 "Info").
const error_block *info_window(HWND owner, int version, const char *date, const char *program);
HWND info_window_handle();

// Logs "illegal window handle %x at %s" for a window that is not the
// toolkit's; returns its data (null then).
wdata *window_checked(HWND window, const char *operation);

// The drawing layer may set these: called when a redraw or update has
// filled its block, and before it ends.
struct redraw_block;
extern void (*redraw_begin_hook)(redraw_block *block);
extern void (*redraw_end_hook)(redraw_block *block);
