// The Choices window: the cursor and selected colours, the dictionary and
// solutions fonts and the maximum number of solutions, edited as working
// copies. OK applies them; Save applies them and writes the choices file;
// Cancel, Escape and the close box drop them. The main window is disabled
// while it is open. An error (a choices file that cannot be written) keeps
// the window open; what was applied stays applied.
#include <windows.h>
#include <commctrl.h>
#include <cstdio>

#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/parts.h"
#include "app/shell/choices.h"
#include "app/shell/shell.h"
#include "app/shell/word_list.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"

namespace {

enum : int {
    CURSOR_SAMPLE = 1016, CURSOR_BUTTON = 1033, SELECTED_SAMPLE = 1019, SELECTED_BUTTON = 1012,
    DICTIONARY_SAMPLE = 1017, DICTIONARY_BUTTON = 1011, SOLUTIONS_SAMPLE = 1018, SOLUTIONS_BUTTON = 1013,
    MAXIMUM_FIELD = 1022, MAXIMUM_UPDOWN = 1023, SAVE_BUTTON = 3,
};
const int fewest_solutions = 20, most_solutions = 1000000;

const error_block *choices_click(HWND, void *, mouse_block *mouse);
const error_block *choices_key(HWND, void *, int, int *key);
const error_block *choices_close(HWND, void *);

sample_window win = {nullptr, {}, choices_click, choices_key, choices_close};
HWND &window = win.window;
HFONT (&sample_fonts)[2] = win.fonts;
shell_choices working;

void show_samples()
{
    sample_show_colour(window, CURSOR_SAMPLE, working.cursor_colour);
    sample_show_colour(window, SELECTED_SAMPLE, working.selected_colour);
    sample_show_font(window, DICTIONARY_SAMPLE, working.dictionary_font, 0, 0xFFFFFF00u, &sample_fonts[0]);
    sample_show_font(window, SOLUTIONS_SAMPLE, working.solutions_font, 0, 0xFFFFFF00u, &sample_fonts[1]);
}

// Field 1022 read with "%d": text that is not a number keeps the working
// value; a number is clamped to 20 to 1000000.
const error_block *read_maximum()
{
    char text[32] = "";
    const error_block *e = icon_get_text(window, MAXIMUM_FIELD, text, sizeof text);
    int value;
    if (!e && sscanf(text, "%d", &value) == 1)
        working.maximum_solutions = value < fewest_solutions ? fewest_solutions
                                    : value > most_solutions ? most_solutions : value;
    return e;
}

// The working values become the live choices, and every pane that shows
// them is laid out and drawn again.
void apply_working()
{
    choices = working;
    update_metrics();
    recompute_marked_area();
    if (grid.grid_type == 0 && part_count > 0)
        pane_layout_for_parts();
    else
        pane_layout_one_column();
    pane_set_extent();
    pane_redraw();
    word_lists_font_changed();
    grid_ui_redraw_grid();
}

enum finish_action { FINISH_CANCEL, FINISH_OK, FINISH_SAVE };

const error_block *finish(finish_action action)
{
    const error_block *e = read_maximum();
    if (!e && action != FINISH_CANCEL) {
        apply_working();
        if (action == FINISH_SAVE)
            e = write_choices();
    }
    return e ? e : sample_window_close(&win);
}

const error_block *choices_click(HWND, void *, mouse_block *mouse)
{
    switch (mouse->icon) {
    case CURSOR_SAMPLE: case CURSOR_BUTTON:
        if (pick_colour(window, &working.cursor_colour))
            sample_show_colour(window, CURSOR_SAMPLE, working.cursor_colour);
        return nullptr;
    case SELECTED_SAMPLE: case SELECTED_BUTTON:
        if (pick_colour(window, &working.selected_colour))
            sample_show_colour(window, SELECTED_SAMPLE, working.selected_colour);
        return nullptr;
    case DICTIONARY_SAMPLE: case DICTIONARY_BUTTON:
        if (pick_font(window, &working.dictionary_font))
            show_samples();
        return nullptr;
    case SOLUTIONS_SAMPLE: case SOLUTIONS_BUTTON:
        if (pick_font(window, &working.solutions_font))
            show_samples();
        return nullptr;
    case SAVE_BUTTON: return finish(FINISH_SAVE);
    }
    return nullptr;
}

const error_block *choices_key(HWND, void *, int, int *key)
{
    if (*key != 13 && *key != 27)
        return nullptr;
    finish_action action = *key == 13 ? FINISH_OK : FINISH_CANCEL;
    *key = -1;
    return finish(action);
}

const error_block *choices_close(HWND, void *) { return finish(FINISH_CANCEL); }

}  // namespace

HWND choices_window() { return window; }

const error_block *open_choices_window(HWND parent)
{
    if (window) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(window);
        return nullptr;
    }
    working = choices;
    const error_block *e = window_create(TEMPLATE_CHOICES, nullptr, parent, &window);
    if (e) {
        window = nullptr;
        return e;
    }
    SendDlgItemMessageA(window, MAXIMUM_UPDOWN, UDM_SETRANGE32, fewest_solutions, most_solutions);
    char text[16];
    snprintf(text, sizeof text, "%d", working.maximum_solutions);
    icon_set_text(window, MAXIMUM_FIELD, text);
    show_samples();
    return sample_window_open(&win, MAXIMUM_FIELD);
}
