// The Edit Dictionary window: every word of one dictionary in a scrolling
// list, a word field that finds as it is typed, Add and Delete, import and
// export of text files of words (the list's Dict menu, or a text file
// dropped on the list), OK that saves and Cancel or Escape that reverts.
//
// Row r of the list shows word number r; only the rows in sight are
// decoded (word_at for the first, next_word for the rest), so a list of
// any length scrolls at the same speed. The list is a pane (template
// "pane") laid over the template's placeholder 1018.
//
// The window keeps the edited dictionary's name, not its slot number:
// creating or deleting a dictionary renumbers the slots, and the name finds
// the slot again (a deleted one closes the window).
#include <windows.h>
#include <shellapi.h>
#include <cstdio>
#include <cstring>

#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/dictionary_text.h"
#include "app/shell/shell.h"
#include "toolkit/drawing/drawing.h"
#include "toolkit/events/events.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/window.h"
#include "toolkit/files/dialogs.h"
#include "toolkit/files/filetypes.h"
#include "toolkit/files/paths.h"
#include "toolkit/messages/messages.h"
#include "toolkit/messages/report.h"

namespace {

enum : int {
    FIELD = 1017, DELETE_BUTTON = 1013, ADD_BUTTON = 1005, OK_BUTTON = 1012, COUNT = 1015, LIST_AREA = 1018,
    IMPORT_WORDS = 40024, EXPORT_WORDS = 40025,
};

const uint32_t white = 0xFFFFFF00u, black = 0;

// The dictionary font's built-in record: the word lists' font.
const font_spec dictionary_font = {128, 0, "Arial", 0, 400, 0};

HWND window = nullptr;      // the edit window, 0 while closed
HWND pane = nullptr;        // its list
char edited[DICTIONARY_NAME_SIZE];
int selected = -1;          // word numbers; -1 none
int focus = -1;
uint64_t shown_generation;  // the dictionary's generation that the list shows

struct list_metrics {
    int row_height = 32;    // OS units: text height + external leading
    int ascent = 24;
    int width = 512;        // 32 average characters
} rows;

int max_of(int a, int b) { return a > b ? a : b; }
int min_of(int a, int b) { return a < b ? a : b; }

void measure_font()
{
    HFONT font = nullptr;
    if (create_font(&dictionary_font, &font))
        return;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA tm;
    if (GetTextMetricsA(screen, &tm)) {
        rows.row_height = max_of(os_from_px_y(tm.tmHeight + tm.tmExternalLeading), 1);
        rows.ascent = os_from_px_y(tm.tmAscent);
        rows.width = 32 * os_from_px_x(tm.tmAveCharWidth);
    }
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
}

int edited_slot() { return edited[0] ? find_slot(edited) : -1; }

// The dictionary being edited; an empty one when its slot has gone.
Dictionary *edited_dictionary()
{
    static Dictionary none{};
    int slot = edited_slot();
    return slot >= 0 ? &dictionary_set.slots[slot].dictionary : &none;
}

int word_count() { return (int)edited_dictionary()->words; }

// The slot can be unloaded under the window (a grid opened meanwhile does
// not use it): it is read again before anything changes it, or an edit
// would go into an empty store and OK would save that over the file.
const error_block *ensure_edited_loaded()
{
    int slot = edited_slot();
    return slot >= 0 && !dictionary_set.slots[slot].loaded ? load_slot(slot) : nullptr;
}

// ---------------------------------------------------------------------
// Drawing.

void draw_row(int row, const char *text, int right)
{
    int top = -row * rows.row_height;
    bool is_selected = row == selected;
    if (is_selected) {
        set_palette_colour(7);
        fill_rectangle(0, top - rows.row_height, right, rows.row_height);
    }
    if (row == focus) {
        set_palette_colour(is_selected ? 0 : 7);
        int bottom = top - rows.row_height + 1;
        plot_move(0, top);
        plot_draw(right - 1, top);
        plot_draw(right - 1, bottom);
        plot_draw(0, bottom);
        plot_draw(0, top);
    }
    set_text_colour(is_selected ? white : black);
    paint_text(text, TEXT_OS_UNITS, 4, top - rows.ascent);
}

// The rows that meet the rectangle y0..y1 (work-area OS units), on a white
// ground that reaches the right edge of what is visible.
void paint_rows(int y0, int y1, int right)
{
    set_colour(white, 0);
    fill_rectangle(0, y0, right, y1 - y0);
    const Dictionary *d = edited_dictionary();
    int first = max_of(0, -y1 / rows.row_height);
    int last = min_of((int)d->words - 1, -y0 / rows.row_height);
    if (first > last)
        return;
    HFONT font = nullptr;
    if (create_font(&dictionary_font, &font))
        return;
    select_font(font);
    set_text_colours(font, -1, black);
    WordCursor cursor;
    if (word_at(d, (uint32_t)first, &cursor)) {
        for (int row = first; row <= last; row++) {
            draw_row(row, cursor.text, right);
            if (!next_word(d, &cursor))
                break;
        }
    }
    delete_font(font);
}

const error_block *pane_redraw(HWND w, void *)
{
    redraw_block b{};
    b.window = w;
    const error_block *e = wimp_redraw_in(&b);
    while (!e && b.more) {
        paint_rows(b.g1, b.g3, max_of(rows.width, b.x1));
        wimp_redraw_end(&b);
    }
    return e;
}

// The pane paints its own ground with the rows: no flicker of an erase.
const error_block *no_erase(platform_message *m, void *, int *claimed)
{
    m->result = 1;
    *claimed = 1;
    return nullptr;
}

// Characters typed on the list are the list's (the dialogue would take
// them for mnemonics).
const error_block *wants_characters(platform_message *m, void *, int *claimed)
{
    m->result = DLGC_WANTCHARS | DLGC_WANTARROWS;
    *claimed = 1;
    return nullptr;
}

void redraw_row(int row)
{
    if (pane && row >= 0) {
        int top = -row * rows.row_height;
        window_force_redraw(pane, 0, top - rows.row_height, max_of(rows.width, 1 << 20), top);
    }
}

void redraw_list()
{
    if (pane)
        InvalidateRect(pane, nullptr, FALSE);
}

// ---------------------------------------------------------------------
// The list's extent, scrolling and the count.

void update_count()
{
    char text[16];
    snprintf(text, sizeof text, "%d", word_count());
    icon_set_text(window, COUNT, text);
}

void update_title()
{
    char title[300];
    snprintf(title, sizeof title, "%s (%s)", lookup_token("EDIT"), edited);
    SetWindowTextA(window, title);
}

void update_extent()
{
    window_set_extent(pane, 0, -(word_count() * rows.row_height), rows.width, 0);
}

int visible_height()
{
    window_state s;
    window_get_state(pane, &s);
    return s.y1 - s.y0;
}

void scroll_to(int scroll_y)
{
    wdata *d = window_data(pane);
    if (!d || d->scroll_y == scroll_y)
        return;
    // Set directly, the offset needs the whole pane drawn again (the
    // toolkit moves the contents only by changes that it makes itself).
    d->scroll_y = scroll_y;
    window_keep_scroll_valid(pane);
    redraw_list();
}

// Brings a row into sight: by the least scroll when it is next to what is
// visible (arrow keys), else into the middle, with its neighbours round it
// (a typed word's place).
void show_row(int row)
{
    wdata *d = window_data(pane);
    if (!d || row < 0)
        return;
    int top = -row * rows.row_height, bottom = top - rows.row_height, height = visible_height();
    if (top > d->scroll_y + rows.row_height || bottom < d->scroll_y - height - rows.row_height)
        scroll_to(top + (height - rows.row_height) / 2);
    else if (top > d->scroll_y)
        scroll_to(top);
    else if (bottom < d->scroll_y - height)
        scroll_to(bottom + height);
}

void set_selected(int row)
{
    if (row == selected)
        return;
    redraw_row(selected);
    selected = row;
    redraw_row(selected);
}

void set_focus_row(int row)
{
    if (row == focus)
        return;
    redraw_row(focus);
    focus = row;
    redraw_row(focus);
}

// ---------------------------------------------------------------------
// The word field and the two word commands.

// Every change of the field's text: scroll to where the text is or would
// go, and select it when the dictionary holds it exactly (a word that
// differs only in case is not selected).
void field_changed()
{
    char text[256] = "";
    icon_get_text(window, FIELD, text, sizeof text);
    const Dictionary *d = edited_dictionary();
    WordCursor cursor;
    unsigned flags = 0;
    int found = find_word(d, text, &cursor, &flags) && compare_case_result(flags) == 0;
    int row = d->words ? (int)cursor.number : -1;
    if (found && row == selected)
        return;
    show_row(row);
    set_selected(found ? row : -1);
}

const error_block *field_text_changed(HWND, int icon, void *)
{
    if (icon == FIELD)
        field_changed();
    return nullptr;
}

// The list, count and selection again, after the words changed.
void show_words()
{
    shown_generation = edited_dictionary()->generation;
    if (selected >= word_count())
        set_selected(-1);
    if (focus >= word_count())
        set_focus_row(word_count() - 1);
    update_count();
    update_extent();
    redraw_list();
    field_changed();
}

void after_change()
{
    int slot = edited_slot();
    if (slot >= 0)
        mark_slot_changed(slot);
    show_words();
}

const error_block *add_typed_word()
{
    char text[256] = "";
    icon_get_text(window, FIELD, text, sizeof text);
    if (edited_slot() < 0)
        return nullptr;
    if (const error_block *e = ensure_edited_loaded())
        return e;
    Dictionary *d = edited_dictionary();
    // add_word ignores empty and over-long texts and an identical word;
    // only a real change marks the dictionary changed.
    WordCursor cursor;
    if (!text[0] || strlen(text) > WORD_MAX || (find_word(d, text, &cursor, nullptr) && !strcmp(cursor.text, text)))
        return nullptr;
    if (const error_block *e = add_word(d, text))
        return e;
    if (find_word(d, text, &cursor, nullptr) && !strcmp(cursor.text, text))
        after_change();
    return nullptr;
}

const error_block *delete_selected_word()
{
    if (const error_block *e = ensure_edited_loaded())
        return e;
    Dictionary *d = edited_dictionary();
    WordCursor cursor;
    if (selected < 0 || selected >= (int)d->words || !word_at(d, (uint32_t)selected, &cursor))
        return nullptr;
    if (delete_at_cursor(d, &cursor))
        after_change();
    return nullptr;
}

// ---------------------------------------------------------------------
// Import and export.

const error_block *import_file(const char *path)
{
    int slot = edited_slot();
    if (slot < 0)
        return nullptr;
    hourglass_on();
    const error_block *e = import_words(slot, path);
    show_words();
    hourglass_off();
    return e;
}

const error_block *import_chosen(const char *path, int, void *) { return import_file(path); }

const error_block *import_dialog()
{
    static const int types[] = {FILETYPE_TEXT};
    const load_filter_group group = {"Text file of words (*.txt)", types, 1};
    char path[FS_PATH_MAX] = "";
    return fs_load_dialogue(path, sizeof path, &group, 1, import_chosen, nullptr);
}

int format_words(const char **description)
{
    *description = "Text file of words (*.txt)";
    return FILETYPE_TEXT;
}
const save_format_function word_formats[] = {format_words};

const error_block *export_chosen(const char *path, int) { return export_words(edited_slot(), path); }

const error_block *export_dialog()
{
    char path[FS_PATH_MAX] = "TextFile";
    fs_set_save_formats(word_formats, 1);
    const error_block *e = fs_save_dialogue(path, sizeof path, FILETYPE_TEXT, export_chosen);
    fs_set_save_formats(nullptr, 0);
    return e;
}

const error_block *dict_menu_select(const int *path, HWND)
{
    int command = -1;
    for (int i = 0; i < MENU_PATH_MAX && path[i] != -1; i++)
        command = path[i];
    if (!window)
        return nullptr;
    if (command == IMPORT_WORDS)
        return import_dialog();
    if (command == EXPORT_WORDS)
        return export_dialog();
    return nullptr;
}

const error_block *drop_offer(const char *, int type, mouse_block *, void *, int *accept)
{
    *accept = type == FILETYPE_TEXT;
    return nullptr;
}

const error_block *drop_take(const char *path, int, void *, int) { return import_file(path); }

// ---------------------------------------------------------------------
// The list's mouse, keys and focus.

const error_block *list_click(HWND, void *, mouse_block *mouse)
{
    if (mouse->buttons == BUTTON_ADJUST)
        return menu_popup(window, MENU_DICT_SUB);
    if (mouse->buttons != BUTTON_SELECT)
        return nullptr;
    window_state s;
    window_get_state(pane, &s);
    int distance = s.y1 - mouse->y - s.scroll_y;
    int row = distance >= 0 ? distance / rows.row_height : -1;
    if (row >= 0 && row < word_count()) {
        WordCursor cursor;
        word_at(edited_dictionary(), (uint32_t)row, &cursor);
        set_selected(row);
        set_focus_row(row);
        icon_set_text(window, FIELD, cursor.text);
    }
    SetFocus(pane);
    return nullptr;
}

void move_to_row(int row)
{
    int words = word_count();
    if (words == 0)
        return;
    row = max_of(0, min_of(words - 1, row));
    WordCursor cursor;
    word_at(edited_dictionary(), (uint32_t)row, &cursor);
    set_selected(row);
    set_focus_row(row);
    icon_set_text(window, FIELD, cursor.text);
    show_row(row);
}

const error_block *cancel();
const error_block *ok();

const error_block *list_key(HWND, void *, int, int *key)
{
    int page = max_of(1, visible_height() / rows.row_height - 1);
    int from = focus >= 0 ? focus : selected;
    int row;
    switch (*key) {
    case KEY_VIRTUAL | VK_UP: row = from < 0 ? 0 : from - 1; break;
    case KEY_VIRTUAL | VK_DOWN: row = from < 0 ? 0 : from + 1; break;
    case KEY_VIRTUAL | VK_PRIOR: row = from < 0 ? 0 : from - page; break;
    case KEY_VIRTUAL | VK_NEXT: row = from < 0 ? 0 : from + page; break;
    case KEY_VIRTUAL | VK_HOME: row = 0; break;
    case KEY_VIRTUAL | VK_END: row = word_count() - 1; break;
    case KEY_VIRTUAL | VK_DELETE: *key = -1; return delete_selected_word();
    // The list is a dialogue of its own, so the window's navigation and
    // its Escape and Return are passed on from here.
    case KEY_VIRTUAL | VK_TAB: case KEY_VIRTUAL | KEY_SHIFT | VK_TAB:
        SendMessageA(window, WM_NEXTDLGCTL, (*key & KEY_SHIFT) != 0, FALSE);
        *key = -1;
        return nullptr;
    case 27: *key = -1; return cancel();
    case 13: *key = -1; return ok();
    default:
        // A character typed on the list goes on the end of the word.
        if (*key >= 32 && *key < 256 && *key != 127) {
            char text[2] = {(char)*key, 0};
            HWND field = GetDlgItem(window, FIELD);
            SetFocus(field);
            SendMessageA(field, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
            SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
            *key = -1;
        }
        return nullptr;
    }
    *key = -1;
    move_to_row(row);
    return nullptr;
}

// Gaining the focus shows the focus row on the selection, or in the middle
// of what is visible; losing it clears the focus row.
const error_block *list_focus(HWND, void *, int gained)
{
    if (!gained) {
        set_focus_row(-1);
        return nullptr;
    }
    int row = selected;
    if (row < 0) {
        wdata *d = window_data(pane);
        int middle = d ? -d->scroll_y + visible_height() / 2 : 0;
        row = min_of(word_count() - 1, middle / rows.row_height);
    }
    set_focus_row(row);
    return nullptr;
}

// While the word field has the focus, Return in it means Add.
const error_block *field_focus(HWND w, int icon, int gained, void *)
{
    if (icon == FIELD)
        SendMessageA(w, DM_SETDEFID, gained ? ADD_BUTTON : OK_BUTTON, 0);
    return nullptr;
}

// ---------------------------------------------------------------------
// The window's buttons, keys and closing.

const error_block *window_key(HWND, void *, int, int *key);
const error_block *window_click(HWND, void *, mouse_block *mouse);
const error_block *window_close_box(HWND, void *);
const error_block *window_resized(HWND, void *, window_state *);
const error_block *smallest_size(platform_message *m, void *, int *);
const error_block *window_activated(HWND, void *, HWND, int state);

const error_block *close_window()
{
    deregister_key(window_key, window, nullptr);
    deregister_click(window_click, window, nullptr);
    deregister_close(window_close_box, window, nullptr);
    deregister_text_changed(field_text_changed, window, nullptr);
    deregister_icon_focus(field_focus, window, nullptr);
    deregister_redraw(pane_redraw, pane, nullptr);
    deregister_click(list_click, pane, nullptr);
    deregister_key(list_key, pane, nullptr);
    deregister_focus(list_focus, pane, nullptr);
    deregister_drop_offer(drop_offer, pane, nullptr);
    deregister_drop(drop_take, pane, nullptr);
    deregister_message_filter(EV_MSG_INSIDE, no_erase, pane, WM_ERASEBKGND, nullptr);
    deregister_message_filter(EV_MSG_INSIDE, wants_characters, pane, WM_GETDLGCODE, nullptr);
    deregister_activate(window_activated, window, nullptr);
    deregister_open(window_resized, window, nullptr);
    deregister_message_filter(EV_MSG_INSIDE, smallest_size, window, WM_GETMINMAXINFO, nullptr);
    menu_set_handlers(MENU_DICT, nullptr, nullptr);
    HWND w = window;
    window = pane = nullptr;
    edited[0] = 0;
    selected = focus = -1;
    const error_block *e = window_delete(w);
    if (main_window)
        SetForegroundWindow(main_window);
    return e;
}

// Cancel and Escape throw the edits away: when there are any, the user is
// asked first, and No leaves the window as it is, field and all.
const error_block *cancel()
{
    if (any_dictionary_changed()) {
        int answer = 0;
        if (const error_block *e = message_box(window, 0x30002, &answer, "{EDDISC}"))
            return e;
        if (answer != 3)
            return nullptr;
    }
    revert_changed_dictionaries();
    return close_window();
}

const error_block *ok()
{
    // A failed save keeps the window and the edits.
    if (const error_block *e = save_changed_dictionaries())
        return e;
    return close_window();
}

const error_block *window_key(HWND, void *, int, int *key)
{
    if (*key == 27) {
        *key = -1;
        return cancel();
    }
    if (*key == 13) {   // Return with no default button
        *key = -1;
        return GetFocus() == GetDlgItem(window, FIELD) ? add_typed_word() : ok();
    }
    return nullptr;
}

const error_block *window_click(HWND, void *, mouse_block *mouse)
{
    switch (mouse->icon) {
    case ADD_BUTTON: return add_typed_word();
    case DELETE_BUTTON: return delete_selected_word();
    case OK_BUTTON: return ok();
    }
    return nullptr;
}

const error_block *window_close_box(HWND, void *) { return close_window(); }

// Back in the window: the words may have changed elsewhere meanwhile (the
// spell check's Add, a revert).
const error_block *window_activated(HWND, void *, HWND, int state)
{
    if (state != WA_INACTIVE)
        edit_window_slots_changed();
    return nullptr;
}

// Resizing: the word field widens and the list grows with the window; the
// buttons and the count keep their places at the right, OK and Cancel at
// the bottom right. The template's layout is the smallest size.
enum : int { GROW_WIDTH = 1, GROW_HEIGHT = 2, FOLLOW_RIGHT = 4, FOLLOW_BOTTOM = 8 };
struct layout_item {
    int id;                 // -1 the "Words" label; 0 the list pane
    int rule;
    RECT at;                // client pixels at the template's size
};
layout_item layout[] = {
    {FIELD, GROW_WIDTH, {}},           {0, GROW_WIDTH | GROW_HEIGHT, {}},
    {ADD_BUTTON, FOLLOW_RIGHT, {}},    {DELETE_BUTTON, FOLLOW_RIGHT, {}},
    {-1, FOLLOW_RIGHT, {}},            {COUNT, FOLLOW_RIGHT, {}},
    {OK_BUTTON, FOLLOW_RIGHT | FOLLOW_BOTTOM, {}}, {IDCANCEL, FOLLOW_RIGHT | FOLLOW_BOTTOM, {}},
};
SIZE template_client, template_frame;   // pixels
SIZE laid_out;                          // the client size of the last layout

HWND layout_control(int id) { return id ? GetDlgItem(window, id) : pane; }

void record_layout()
{
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    template_client = laid_out = {client.right, client.bottom};
    template_frame = {frame.right - frame.left, frame.bottom - frame.top};
    for (layout_item &item : layout) {
        GetWindowRect(item.id ? layout_control(item.id) : GetDlgItem(window, LIST_AREA), &item.at);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&item.at), 2);
    }
}

const error_block *window_resized(HWND, void *, window_state *)
{
    RECT client;
    GetClientRect(window, &client);
    if (client.right == laid_out.cx && client.bottom == laid_out.cy)
        return nullptr;   // moved, not resized
    laid_out = {client.right, client.bottom};
    int dx = max_of(0, client.right - template_client.cx), dy = max_of(0, client.bottom - template_client.cy);
    for (const layout_item &item : layout) {
        RECT r = item.at;
        if (item.rule & FOLLOW_RIGHT)
            OffsetRect(&r, dx, 0);
        if (item.rule & FOLLOW_BOTTOM)
            OffsetRect(&r, 0, dy);
        if (item.rule & GROW_WIDTH)
            r.right += dx;
        if (item.rule & GROW_HEIGHT)
            r.bottom += dy;
        SetWindowPos(layout_control(item.id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(window, nullptr, TRUE);
    return nullptr;
}

const error_block *smallest_size(platform_message *m, void *, int *)
{
    auto *info = reinterpret_cast<MINMAXINFO *>(m->lparam);
    info->ptMinTrackSize = {template_frame.cx, template_frame.cy};
    return nullptr;
}

// The list takes the placeholder's place, in its place in the tab order.
void place_list()
{
    HWND area = GetDlgItem(window, LIST_AREA);
    RECT r;
    GetWindowRect(area, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
    ShowWindow(area, SW_HIDE);
    SetWindowLongA(pane, GWL_STYLE, GetWindowLongA(pane, GWL_STYLE) | WS_TABSTOP);
    SetWindowPos(pane, area, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    record_layout();
}

const error_block *register_handlers()
{
    const error_block *e = register_key(window_key, window, nullptr);
    if (!e)
        e = register_click(window_click, window, nullptr);
    if (!e)
        e = register_close(window_close_box, window, nullptr);
    if (!e)
        e = register_text_changed(field_text_changed, window, nullptr);
    if (!e)
        e = register_icon_focus(field_focus, window, nullptr);
    if (!e)
        e = register_redraw(pane_redraw, pane, nullptr);
    if (!e)
        e = register_click(list_click, pane, nullptr);
    if (!e)
        e = register_key(list_key, pane, nullptr);
    if (!e)
        e = register_focus(list_focus, pane, nullptr);
    if (!e)
        e = register_drop_offer(drop_offer, pane, nullptr);
    if (!e)
        e = register_drop(drop_take, pane, nullptr);
    if (!e)
        e = register_message_filter(EV_MSG_INSIDE, no_erase, pane, WM_ERASEBKGND, nullptr);
    if (!e)
        e = register_message_filter(EV_MSG_INSIDE, wants_characters, pane, WM_GETDLGCODE, nullptr);
    if (!e)
        e = register_activate(window_activated, window, nullptr);
    if (!e)
        e = register_open(window_resized, window, nullptr);
    if (!e)
        e = register_message_filter(EV_MSG_INSIDE, smallest_size, window, WM_GETMINMAXINFO, nullptr);
    return e;
}

// Shows the slot's dictionary in the open window from its first word.
void show_slot(int slot)
{
    snprintf(edited, sizeof edited, "%s", dictionary_set.slots[slot].name);
    selected = focus = -1;
    shown_generation = edited_dictionary()->generation;
    update_title();
    update_count();
    update_extent();
    scroll_to(0);
    redraw_list();
}

}  // namespace

const error_block *open_edit_window(int slot)
{
    if (slot < 0 || slot >= dictionary_set.count)
        return nullptr;
    if (window) {
        show_slot(slot);
        field_changed();
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(window);
        return nullptr;
    }
    measure_font();
    const error_block *e = window_create(TEMPLATE_EDIT, nullptr, main_window, &window);
    if (!e)
        e = window_create(TEMPLATE_PANE, nullptr, window, &pane);
    if (!e) {
        place_list();
        DragAcceptFiles(pane, TRUE);
        menu_set_handlers(MENU_DICT, dict_menu_select, nullptr);
        e = register_handlers();
    }
    if (!e) {
        show_slot(slot);
        e = window_open_centred(window);
    }
    if (e) {
        if (window)
            close_window();
        return e;
    }
    SetForegroundWindow(window);
    return caret_set(window, FIELD, 0, -1);
}

// The slots were renumbered (a dictionary created or deleted) or the words
// may have changed: a deleted dictionary's window closes, keeping nothing
// to save; otherwise the list shows the words as they now are.
void edit_window_slots_changed()
{
    if (!window)
        return;
    if (edited_slot() < 0) {
        close_window();
        return;
    }
    ensure_edited_loaded();   // a failure shows an empty list; Add reports it
    if (edited_dictionary()->generation != shown_generation || !edited_dictionary()->words)
        show_words();
}

edit_window_view edit_window_state()
{
    return {window, pane, selected, focus, rows.row_height};
}
