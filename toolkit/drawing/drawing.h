// The drawing layer: every pane draws through the current drawing context,
// giving positions in work-area OS units (180 to the inch, y upwards) and
// colours as colour words (0xBBGGRR00); the context turns them into device
// coordinates and platform colours.
//
// In a window's redraw handler the redraw protocol has already made a
// context for the window current:
//
//     redraw_block b = {};
//     b.window = window;
//     wimp_redraw_in(&b);
//     while (b.more) {                     // one rectangle per redraw
//         set_colour(0xFFFFFF00, 0);       // white
//         fill_rectangle(b.g0, b.g1, b.g2 - b.g0, b.g3 - b.g1);
//         set_colour(0x00000000, 0);
//         plot_move(0, 0);
//         plot_draw(180, -180);            // an inch right and down
//         wimp_redraw_end(&b);             // sets b.more to 0
//     }
//
// Any other device (a memory bitmap, a printer, a metafile) is drawn on by
// pushing a context of its own, which the caller keeps:
//
//     drawing_context c;
//     drawing_begin(&c, dc, 96, 96);       // device units per inch; 0 reads the device's
//     c.origin_y = top;                    // optional: the work-area point at the device origin
//     ...drawing calls...
//     drawing_end(&c);                     // the device gets its own pen, brush, font back
//
// Contexts nest: the one begun last is current until it ends, then the one
// that was current before it is again. With no current context the drawing
// calls do nothing.
#pragma once
#include <cstdint>

#include "toolkit/drawing/fonts.h"
#include "toolkit/events/handles.h"

struct error_block;
struct HPEN__;
typedef HPEN__ *HPEN;
struct HBRUSH__;
typedef HBRUSH__ *HBRUSH;
struct HFONT__;
typedef HFONT__ *HFONT;
struct HRGN__;
typedef HRGN__ *HRGN;
typedef void *HGDIOBJ;

struct drawing_context {
    HDC device;                       // receives the drawing
    int os_per_inch_x, os_per_inch_y; // scale of the application's coordinates (180)
    int device_per_inch_x, device_per_inch_y;
    int origin_x, origin_y;           // work-area point (OS units) that maps to...
    int device_origin_x, device_origin_y;  // ...this device point
    HPEN pen;                         // made by set_colour, or null
    HBRUSH brush;
    HGDIOBJ replaced_pen;             // the device's own, put back at the end
    HGDIOBJ replaced_brush;
    HFONT font;                       // selected by select_font, or null
    HFONT replaced_font;              // the device's own font, or null before the first selection
    int saved_state;                  // the device state saved at the beginning
    drawing_context *outer;           // current before this one began
    drawing_context *next;            // the list of all contexts
};

struct device_point {
    int x, y;
};

// Contexts.
// Fills `c` for `device` with 180 OS units per inch, both origins at 0, and
// makes it current. Device units per inch of 0 read the device's own
// resolution (a metafile writer passes the resolution it records).
void drawing_begin(drawing_context *c, HDC device, int device_per_inch_x, int device_per_inch_y);
// Puts back the device's own pen, brush, font and state, deletes the pen
// and brush made for it, and makes the outer context current again.
void drawing_end(drawing_context *c);
drawing_context *drawing_current();
drawing_context *drawing_first();     // the list of all contexts

// Coordinates: work-area OS units to device units of the current context.
device_point to_device(int x, int y);
device_point to_device_in(const drawing_context *c, int x, int y);

// Plotting. The point history holds the device positions of the last four
// points visited by a move, a draw or a plot.
void plot_move(int x, int y);
void plot_draw(int x, int y);         // the end pixel is always painted
void plot(int code, int x, int y);
device_point plot_history(int back); // 0 the last point, 1 the one before...

// Rectangles in OS units, painted with the current pen and brush.
void fill_rectangle(int x, int y, int width, int height);
void fill_rectangle_covered(int x, int y, int width, int height);

// Colours. Action 3 draws by exclusive-or, any other plain copying.
void set_colour(uint32_t colour_word, int action);
void set_palette_colour(int code);
uint32_t plotting_colour();           // 0x00BBGGRR

// Text.
enum : int {
    ALIGN_RIGHT = 2, ALIGN_CENTRE = 4, ALIGN_TOP = 8, ALIGN_BOTTOM = 16, ALIGN_MOVES = 64,
    TEXT_OS_UNITS = 16,               // paint_text flag: x, y in OS units, else 1/400 OS unit
};
// `background` -1 draws text on a transparent background.
void set_text_colours(HFONT font, int32_t background, uint32_t foreground);
void set_text_colour(uint32_t colour_word);
void set_text_align(int flags);
void paint_text(const char *text, int flags, int x, int y);
void paint_text_wide(const wchar_t *text, int flags, int x, int y);
// The text's reference point goes to (x, y) (units by `flags`), and the
// glyphs are mapped by the factors (16.16 fixed point, OS coordinates with
// y upwards): x' = a x + c y, y' = b x + d y.
struct text_transform {
    int32_t a, b, c, d;
    int x, y;
};
void paint_text_transformed(const char *text, int flags, const text_transform *t);

// Fonts, sized for the current context's device (the display with none).
const error_block *create_font(const font_spec *spec, HFONT *font);
const error_block *create_font_named(const char *face, int width, int height, HFONT *font);
// Rotation in 1/65536 of a degree, anticlockwise.
const error_block *create_font_rotated(const char *face, int width, int height, int rotation, HFONT *font);
const error_block *create_font_device(const char *face, int width, int height, HFONT *font);
void select_font(HFONT font);
// Every context holding the font gets its own font back; then it is deleted.
void delete_font(HFONT font);

// Clipping: a copy of the current device's clipping region (null when it
// has none), put back and deleted by restore_clip.
HRGN save_clip();
void restore_clip(HRGN saved);
