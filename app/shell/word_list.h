// A scrolling list of one dictionary's words, in a pane laid over a list
// area of a dialogue window: rows drawn from the visible words only, a
// selected row and a focus row, clicks, the arrow and page keys, Home, End
// and Tab. The window that owns it says which dictionary is shown and what
// a chosen row and the keys it does not take mean; the optional callbacks
// (null: the list does without) add Delete, typing and a click with the
// other button.
#pragma once

#include "toolkit/drawing/fonts.h"
#include "toolkit/events/handles.h"

struct Dictionary;
struct error_block;

struct word_list {
    HWND owner;                         // the dialogue window holding the pane
    HWND pane;                          // null until created
    const Dictionary *(*dictionary)();  // the dictionary shown; null shows nothing
    // A click or a moving key made a row the selected row; the owner puts
    // its word into its field (whose change then runs word_list_follow).
    void (*row_chosen)(const char *word);
    // Return (13) and Escape (27) in the list.
    const error_block *(*key)(int key);
    const error_block *(*delete_key)();     // optional: Delete in the list
    // Optional: a character (32 to 255 but 127) typed on the list; with it
    // the pane takes characters from the dialogue, which would take them
    // for mnemonics.
    void (*typed)(int character);
    const error_block *(*adjust_click)();   // optional: the other button
    int selected;                       // word number, -1 none
    int focus_row;                      // word number, -1 while the pane lacks the focus
    int row_height, ascent, char_width; // OS units, from the list's font
};

// The font of the lists (the dictionary font of the choices); a change
// applies to lists created afterwards, and to the open ones after
// word_lists_font_changed (their rows and extents measured again, redrawn).
extern font_spec word_list_font;
void word_lists_font_changed();

// Creates the pane from its template at `area` (the owner's client pixels:
// left, top, right, bottom), after control `after` in the tab order, and
// registers its handlers. On failure nothing is left behind.
const error_block *word_list_create(word_list *list, const int area[4], int after);
// Removes the handlers (deleting the owner destroys the pane).
void word_list_forget(word_list *list);
// The work area again, after the number of words changed.
void word_list_resize(word_list *list);
void word_list_redraw(word_list *list);
void word_list_scroll_top(word_list *list);
// Brings a row into view: a row just outside by as little scrolling as
// shows it; with `centre`, a row further away to the middle.
void word_list_show_row(word_list *list, int row, bool centre);
// The typing rule: the text looked up in the dictionary shown; the list
// shows its row, or the row of the word before its place, and selects it
// only when it is there in the same letter case.
void word_list_follow(word_list *list, const char *text);
// Paints the rows between work-area heights y0 (bottom) and y1 (top), for
// a scroll offset, onto a device of `width` pixels (the redraw and tests).
void word_list_paint(const word_list *list, HDC dc, int scroll_x, int scroll_y, int y0, int y1, int width);
