// The Choices and Customise windows, and what they share: the colour and
// font samples and the platform's colour and font choosers.
#pragma once
#include <cstdint>

#include "toolkit/drawing/fonts.h"
#include "toolkit/events/handles.h"

struct error_block;
struct mouse_block;
struct HFONT__;
typedef HFONT__ *HFONT;

// The windows (choices_window_win.cpp, customise_win.cpp). Each opens over
// `parent`, or comes to the front when it is already open; the handles are
// null while they are not open.
const error_block *open_choices_window(HWND parent);
const error_block *open_customise_window(HWND parent);
HWND choices_window();
HWND customise_window();

// The choosers (samples_win.cpp), started on a working copy: true when the
// user pressed OK, and the copy then holds the choice. Tests may put their
// own in place of the platform's.
extern bool (*pick_colour)(HWND owner, uint32_t *colour_word);
extern bool (*pick_font)(HWND owner, font_spec *font);
bool platform_pick_colour(HWND owner, uint32_t *colour_word);
bool platform_pick_font(HWND owner, font_spec *font);

// Samples: "abx" controls whose fill is the colour, or which show
// "ABCabc123" in the font, text colour and background colour. A font
// sample's font is kept in *held, which replaces (and deletes) the one
// there before; sample_release deletes it once the window is gone.
void sample_show_colour(HWND window, int icon, uint32_t colour_word);
void sample_show_font(HWND window, int icon, const font_spec &font, uint32_t text_colour,
                      uint32_t background_colour, HFONT *held);
void sample_release(HFONT *held);

// What the two windows share around their samples: a window over the
// disabled main window, with its click, key and close handlers and the
// fonts of its two font samples.
struct sample_window {
    HWND window;
    HFONT fonts[2];
    const error_block *(*click)(HWND, void *, mouse_block *);
    const error_block *(*key)(HWND, void *, int, int *);
    const error_block *(*close)(HWND, void *);
};
// Registers the handlers and opens the created window centred, the main
// window disabled and the caret in `caret_icon`. On an error the window is
// deleted and its fonts released, so nothing is left half open.
const error_block *sample_window_open(sample_window *s, int caret_icon);
// Deregisters the handlers, enables the main window, deletes the window,
// releases the fonts and makes the main window active again.
const error_block *sample_window_close(sample_window *s);
