// The Edit Dictionary window: every word of one dictionary in a scrolling
// list, a word field that finds as it is typed, Add and Delete, import and
// export of text files of words (the list's Dict menu, or a text file
// dropped on the list), OK that saves and Cancel or Escape that reverts.
//
// The list is a word list pane (word_list.h) laid over the template's
// placeholder 1018, in the dictionary font of the choices; the window adds
// Delete, a letter typed on the list going on the end of the word, and
// the Dict menu on the other button.
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
#include "app/shell/word_list.h"
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

HWND window = nullptr;      // the edit window, 0 while closed
word_list list = {};        // its list; the pane is null while closed
char edited[DICTIONARY_NAME_SIZE];
uint64_t shown_generation;  // the dictionary's generation that the list shows

int max_of(int a, int b) { return a > b ? a : b; }

int edited_slot() { return edited[0] ? find_slot(edited) : -1; }

// The dictionary being edited; an empty one when its slot has gone.
Dictionary *edited_dictionary()
{
    static Dictionary none{};
    int slot = edited_slot();
    return slot >= 0 ? &dictionary_set.slots[slot].dictionary : &none;
}

const Dictionary *shown_dictionary() { return edited_dictionary(); }

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
// The count and the title.// ---------------------------------------------------------------------
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

// ---------------------------------------------------------------------
// The word field and the two word commands.

// Every change of the field's text: scroll to where the text is or would
// go, and select it when the dictionary holds it exactly (a word that
// differs only in case is not selected).
void field_changed()
{
    char text[256] = "";
    icon_get_text(window, FIELD, text, sizeof text);
    word_list_follow(&list, text);
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
    if (list.selected >= word_count())
        list.selected = -1;
    if (list.focus_row >= word_count())
        list.focus_row = word_count() - 1;
    update_count();
    word_list_resize(&list);
    word_list_redraw(&list);
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
    int selected = list.selected;
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
// What the list leaves to the window.

const error_block *cancel();
const error_block *ok();

void put_in_field(const char *word) { icon_set_text(window, FIELD, word); }

const error_block *list_key(int key) { return key == 27 ? cancel() : ok(); }

// A character typed on the list goes on the end of the word, in the field,
// which takes the focus.
void typed_on_list(int character)
{
    char text[2] = {(char)character, 0};
    HWND field = GetDlgItem(window, FIELD);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

const error_block *list_menu() { return menu_popup(window, MENU_DICT_SUB); }

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
    if (list.pane) {
        word_list_forget(&list);
        deregister_drop_offer(drop_offer, list.pane, nullptr);
        deregister_drop(drop_take, list.pane, nullptr);
    }
    deregister_activate(window_activated, window, nullptr);
    deregister_open(window_resized, window, nullptr);
    deregister_message_filter(EV_MSG_INSIDE, smallest_size, window, WM_GETMINMAXINFO, nullptr);
    menu_set_handlers(MENU_DICT, nullptr, nullptr);
    HWND w = window;
    window = list.pane = nullptr;
    edited[0] = 0;
    list.selected = list.focus_row = -1;
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

HWND layout_control(int id) { return id ? GetDlgItem(window, id) : list.pane; }

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
const error_block *create_list()
{
    HWND area = GetDlgItem(window, LIST_AREA);
    RECT r;
    GetWindowRect(area, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
    ShowWindow(area, SW_HIDE);
    list.owner = window;
    list.dictionary = shown_dictionary;
    list.row_chosen = put_in_field;
    list.key = list_key;
    list.delete_key = delete_selected_word;
    list.typed = typed_on_list;
    list.adjust_click = list_menu;
    const int at[4] = {r.left, r.top, r.right, r.bottom};
    const error_block *e = word_list_create(&list, at, LIST_AREA);
    if (!e)
        record_layout();
    return e;
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
        e = register_drop_offer(drop_offer, list.pane, nullptr);
    if (!e)
        e = register_drop(drop_take, list.pane, nullptr);
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
    list.selected = list.focus_row = -1;
    shown_generation = edited_dictionary()->generation;
    update_title();
    update_count();
    word_list_resize(&list);
    word_list_scroll_top(&list);
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
    const error_block *e = window_create(TEMPLATE_EDIT, nullptr, main_window, &window);
    if (!e)
        e = create_list();
    if (!e) {
        DragAcceptFiles(list.pane, TRUE);
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
    return {window, list.pane, list.selected, list.focus_row, list.row_height};
}
