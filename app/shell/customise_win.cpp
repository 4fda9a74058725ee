// The Customise window: the grid's own settings (colours, fonts, square
// size, and for a Wordsquare the shortest word, the fill directions and
// whether pictures show the solutions), edited as working copies. A
// crossword gets template 265 "custom", a Wordsquare 269 "customw". OK
// puts the copies into the grid, which then differs from its file; Cancel,
// Escape and the close box drop them. The main window is disabled while
// the window is open.
#include <windows.h>
#include <commctrl.h>
#include <cstdio>

#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/shell/choices.h"
#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"

namespace {

enum : int {
    GRID_SAMPLE = 1009, GRID_BUTTON = 1010, TEXT_SAMPLE = 1014, TEXT_BUTTON = 1019,
    BACKGROUND_SAMPLE = 1012, BACKGROUND_BUTTON = 1020, FONT_SAMPLE = 1013, FONT_BUTTON = 1018,
    FILLED_SAMPLE = 1011, FILLED_BUTTON = 1017, CLUE_SAMPLE = 1016, CLUE_BUTTON = 1021,
    SQUARE_FIELD = 1007, SQUARE_UPDOWN = 1015, LENGTH_FIELD = 1008, LENGTH_UPDOWN = 1016,
    SHOW_SOLUTIONS = 1032,
};

// The fill direction check boxes and their bits.
const struct {
    int icon;
    uint32_t bit;
} directions[] = {
    {1030, 1}, {1034, 2}, {1033, 4}, {1029, 8}, {1028, 16}, {1031, 32}, {1036, 64}, {1035, 128},
};

// The working copies.
struct settings {
    uint32_t grid_colour, text_colour, background_colour, filled_colour;
    font_spec grid_font, clue_font;
    int32_t square_percent, min_word_length, show_solutions;
    uint32_t fill_directions;
};

const error_block *customise_click(HWND, void *, mouse_block *mouse);
const error_block *customise_key(HWND, void *, int, int *key);
const error_block *customise_close(HWND, void *);

sample_window win = {nullptr, {}, customise_click, customise_key, customise_close};
HWND &window = win.window;
HFONT (&sample_fonts)[2] = win.fonts;
bool wordsquare = false;     // which form is open
settings working;

settings from_grid()
{
    return {grid.grid_colour, grid.text_colour, grid.background_colour, grid.filled_colour,
            grid.grid_font, grid.clue_font, grid.square_percent, grid.min_word_length,
            grid.show_solutions, grid.fill_directions};
}

void to_grid(const settings &s)
{
    grid.grid_colour = s.grid_colour;
    grid.text_colour = s.text_colour;
    grid.background_colour = s.background_colour;
    grid.filled_colour = s.filled_colour;
    grid.grid_font = s.grid_font;
    grid.clue_font = s.clue_font;
    grid.square_percent = s.square_percent;
    grid.min_word_length = s.min_word_length;
    grid.show_solutions = s.show_solutions;
    grid.fill_directions = s.fill_directions;
}

void show_font_samples()
{
    sample_show_font(window, FONT_SAMPLE, working.grid_font, working.text_colour, working.background_colour,
                     &sample_fonts[0]);
    if (!wordsquare)
        sample_show_font(window, CLUE_SAMPLE, working.clue_font, working.text_colour,
                         working.background_colour, &sample_fonts[1]);
}

void show_samples()
{
    sample_show_colour(window, GRID_SAMPLE, working.grid_colour);
    sample_show_colour(window, TEXT_SAMPLE, working.text_colour);
    sample_show_colour(window, BACKGROUND_SAMPLE, working.background_colour);
    if (!wordsquare)
        sample_show_colour(window, FILLED_SAMPLE, working.filled_colour);
    show_font_samples();
}

// A field read with "%d": text that is not a number keeps *value; a
// number is clamped to low..high.
const error_block *read_clamped(int field, int low, int high, int32_t *value)
{
    char text[32] = "";
    const error_block *e = icon_get_text(window, field, text, sizeof text);
    int v;
    if (!e && sscanf(text, "%d", &v) == 1)
        *value = v < low ? low : v > high ? high : v;
    return e;
}

void set_number(int field, int updown, int low, int high, int value)
{
    SendDlgItemMessageA(window, updown, UDM_SETRANGE32, low, high);
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    icon_set_text(window, field, text);
}

// The grid takes the working copies and is drawn again at its new size.
void apply_working()
{
    to_grid(working);
    update_square_size();
    grid_ui_set_extent(grid.width * grid.square_size, grid.height * grid.square_size);
    grid_ui_redraw_grid();
    mark_modified();
}

// The up-down control offers 90 to 400, but a square under 150% of the
// font is not kept: 90 to 149 become 150.
const error_block *finish(bool ok)
{
    const error_block *e = read_clamped(SQUARE_FIELD, 150, 400, &working.square_percent);
    if (!e && wordsquare)
        e = read_clamped(LENGTH_FIELD, 1, 12, &working.min_word_length);
    if (e)
        return e;
    e = sample_window_close(&win);
    if (ok)
        apply_working();
    return e;
}

// A colour sample or its button: the chooser on that working colour.
bool pick_into(uint32_t *colour, int sample)
{
    if (!pick_colour(window, colour))
        return false;
    sample_show_colour(window, sample, *colour);
    return true;
}

const error_block *customise_click(HWND, void *, mouse_block *mouse)
{
    int icon = mouse->icon;
    switch (icon) {
    case GRID_SAMPLE: case GRID_BUTTON: pick_into(&working.grid_colour, GRID_SAMPLE); return nullptr;
    case TEXT_SAMPLE: case TEXT_BUTTON:
        if (pick_into(&working.text_colour, TEXT_SAMPLE))
            show_font_samples();
        return nullptr;
    case BACKGROUND_SAMPLE: case BACKGROUND_BUTTON:
        if (pick_into(&working.background_colour, BACKGROUND_SAMPLE))
            show_font_samples();
        return nullptr;
    case FONT_SAMPLE: case FONT_BUTTON:
        if (pick_font(window, &working.grid_font))
            show_font_samples();
        return nullptr;
    }
    if (!wordsquare) {
        switch (icon) {
        case FILLED_SAMPLE: case FILLED_BUTTON: pick_into(&working.filled_colour, FILLED_SAMPLE); return nullptr;
        case CLUE_SAMPLE: case CLUE_BUTTON:
            if (pick_font(window, &working.clue_font))
                show_font_samples();
            return nullptr;
        }
        return nullptr;
    }
    // The check boxes tick themselves; the working copy follows the tick.
    if (icon == SHOW_SOLUTIONS)
        working.show_solutions = icon_selected(window, icon) ? 1 : 0;
    for (const auto &d : directions)
        if (d.icon == icon) {
            if (!working.fill_directions)
                working.fill_directions = 15;
            working.fill_directions = icon_selected(window, icon) ? working.fill_directions | d.bit
                                                                  : working.fill_directions & ~d.bit;
        }
    return nullptr;
}

const error_block *customise_key(HWND, void *, int, int *key)
{
    if (*key != 13 && *key != 27)
        return nullptr;
    bool ok = *key == 13;
    *key = -1;
    return finish(ok);
}

const error_block *customise_close(HWND, void *) { return finish(false); }

}  // namespace

HWND customise_window() { return window; }

const error_block *open_customise_window(HWND parent)
{
    if (window) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(window);
        return nullptr;
    }
    wordsquare = grid.grid_type == 1;
    working = from_grid();
    const error_block *e =
        window_create(wordsquare ? TEMPLATE_CUSTOMW : TEMPLATE_CUSTOM, nullptr, parent, &window);
    if (e) {
        window = nullptr;
        return e;
    }
    set_number(SQUARE_FIELD, SQUARE_UPDOWN, 90, 400, working.square_percent);
    if (wordsquare) {
        set_number(LENGTH_FIELD, LENGTH_UPDOWN, 1, 12, working.min_word_length);
        icon_select(window, SHOW_SOLUTIONS, working.show_solutions != 0);
        // No direction at all counts as the first four.
        uint32_t shown = working.fill_directions ? working.fill_directions : 15u;
        for (const auto &d : directions)
            icon_select(window, d.icon, (shown & d.bit) != 0);
    }
    show_samples();
    return sample_window_open(&win, SQUARE_FIELD);
}
