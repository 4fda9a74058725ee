// The Spell Check window: the unknown grid word in a field, a list that
// shows either the Guess dictionary (the suggestions) or, in Browse mode,
// the dictionary chosen in the combo box, and the buttons that add the
// word to that dictionary, go on to the next unknown word or close.
//
// The engine (app/dictionary/spell_check) finds the words and builds the
// suggestions; this file fills its hooks: it opens the window on the
// first unknown word, shows each later one, and on closing asks whether
// to keep changed dictionaries. At most one window exists.
//
// The list is a word list pane (word_list.h) laid over the template's
// list area; the window grows with its frame, the list and the field
// taking the change of size.
#include <windows.h>
#include <cstdio>
#include <cstring>

#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/dictionary/spell_check.h"
#include "app/shell/shell.h"
#include "app/shell/word_list.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/confirm.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/messages.h"

namespace {

enum : int { FIELD = 1019, BROWSE = 1021, COMBO = 1022, LIST = 1023, ADD = 1024, CONTINUE = 1025, CLOSE = 1026 };

HWND window = nullptr;              // null while closed
bool browse_mode = false;           // kept between checks; Guess at start-up
int chosen = 0;                     // position in the document's list
// The chosen dictionary's name: adding or removing a dictionary of the
// document moves the positions, and the name finds the choice again.
char chosen_name_kept[DICTIONARY_NAME_SIZE] = "";
word_list list = {};                // the list; its pane is null while closed

// Child controls as the template placed them, for resizing.
struct placed_control {
    HWND control;
    RECT rect;                       // client pixels at the template's size
};
placed_control placed[16];
int placed_count = 0;
RECT list_rect;                      // the list area, client pixels
SIZE template_client;                // client size the template gave

int max_of(int a, int b) { return a > b ? a : b; }

// ---------------------------------------------------------------------
// The dictionaries.

int chosen_slot()
{
    if (chosen < 0 || chosen >= search_dictionary_count())
        return -1;
    return search_dictionary_slot(chosen);
}

const char *chosen_name()
{
    int slot = chosen_slot();
    return slot >= 0 ? dictionary_set.slots[slot].name : "";
}

// The dictionary the list shows; null when the chosen one is gone.
const Dictionary *shown()
{
    if (!browse_mode)
        return &spell_guess;
    return chosen_slot() >= 0 ? search_dictionary(chosen) : nullptr;
}

// ---------------------------------------------------------------------
// The word field and the list.

void set_title()
{
    char title[128];
    format_tokens(sizeof title, title, "{SPCH} (%s)", browse_mode ? chosen_name() : "Guess");
    SetWindowTextA(window, title);
}

void follow_field()
{
    char text[256] = "";
    icon_get_text(window, FIELD, text, sizeof text);
    word_list_follow(&list, text);
}

// The list shows the dictionary of the current mode from its top.
void show_mode()
{
    const Dictionary *d = shown();
    list.selected = -1;
    list.focus_row = GetFocus() == list.pane && d && d->words > 0 ? 0 : -1;
    word_list_resize(&list);
    word_list_scroll_top(&list);
    set_title();
    icon_select(window, BROWSE, browse_mode);
}

void fill_combo()
{
    HWND combo = GetDlgItem(window, COMBO);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    int count = search_dictionary_count();
    for (int i = 0; i < count; i++)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(dictionary_set.slots[search_dictionary_slot(i)].name));
    if (chosen >= count)
        chosen = 0;
    SendMessageA(combo, CB_SETCURSEL, count > 0 ? chosen : -1, 0);
    snprintf(chosen_name_kept, sizeof chosen_name_kept, "%s", chosen_name());
}

// The document's dictionaries may have changed since the combo box was
// filled (the Words menu stays usable): the combo box is filled again and
// the choice found by its name. False when the chosen dictionary has left
// the document (the first one is chosen then).
bool sync_chosen()
{
    int count = search_dictionary_count(), at = -1;
    for (int i = 0; i < count && chosen_name_kept[0] && at < 0; i++)
        if (strcmp(dictionary_set.slots[search_dictionary_slot(i)].name, chosen_name_kept) == 0)
            at = i;
    bool same = at >= 0 && at == chosen && SendDlgItemMessageA(window, COMBO, CB_GETCOUNT, 0, 0) == count;
    if (!same) {
        chosen = at >= 0 ? at : 0;
        fill_combo();
        if (browse_mode) {
            show_mode();
            follow_field();
        }
    }
    return at >= 0;
}

bool holds_as_typed(const Dictionary *d, const char *text)
{
    WordCursor cursor;
    return d->words > 0 && find_word(d, text, &cursor, nullptr) == 1 && strcmp(cursor.text, text) == 0;
}

// Adds the field's text to the chosen dictionary, whatever the list shows.
// A word that is already there as typed changes nothing (and asks nothing
// on closing). A text that cannot be stored (empty, 32 bytes or more, not
// encodable) gets the beep; a memory failure leaves field and list as they
// are, without a message.
void add_field_word()
{
    if (!sync_chosen()) {   // not into another dictionary than the one chosen
        MessageBeep(MB_OK);
        return;
    }
    int slot = chosen_slot();
    char text[256] = "";
    icon_get_text(window, FIELD, text, sizeof text);
    size_t n = strlen(text);
    if (slot < 0)
        return;
    if (n == 0 || n >= WORD_BUFFER) {
        MessageBeep(MB_OK);
        return;
    }
    Dictionary *d = &dictionary_set.slots[slot].dictionary;
    if (holds_as_typed(d, text))
        return;
    if (add_word(d, text))
        return;
    if (!holds_as_typed(d, text)) {
        MessageBeep(MB_OK);
        return;
    }
    mark_slot_changed(slot);
    list.selected = -1;
    word_list_resize(&list);
    word_list_redraw(&list);
    follow_field();
}

void put_in_field(const char *word) { icon_set_text(window, FIELD, word); }

void toggle_mode()
{
    browse_mode = !browse_mode;
    show_mode();
    if (browse_mode)
        follow_field();
}

// ---------------------------------------------------------------------
// Events.

const error_block *close_request(HWND, void *) { return close_spell_check(); }

const error_block *window_key(HWND, void *, int, int *key)
{
    if (*key == 27) {
        *key = -1;
        return close_spell_check();
    }
    if (*key == 13) {
        *key = -1;
        return check_next();
    }
    return nullptr;
}

const error_block *window_click(HWND, void *, mouse_block *mouse)
{
    switch (mouse->icon) {
    case ADD:
        add_field_word();
        return mouse->buttons == BUTTON_ADJUST ? check_next() : nullptr;
    case CONTINUE: return check_next();
    case BROWSE: toggle_mode(); return nullptr;
    case CLOSE: return close_spell_check();
    }
    return nullptr;
}

// A click on Add with the other button: the platform's buttons react to
// the first button only, so the press is taken from the control itself.
const error_block *add_adjust(platform_message *m, void *, int *claimed)
{
    if (m->message == WM_RBUTTONUP) {
        *claimed = 1;
        m->result = 0;
    } else if (m->message == WM_RBUTTONDOWN) {
        *claimed = 1;
        m->result = 0;
        mouse_block mouse{};
        mouse.window = window;
        mouse.icon = ADD;
        mouse.buttons = BUTTON_ADJUST;
        return window_click(window, nullptr, &mouse);
    }
    return nullptr;
}

const error_block *text_changed(HWND, int icon, void *)
{
    if (icon == FIELD) {
        follow_field();
    } else if (icon == COMBO) {
        LRESULT at = SendDlgItemMessageA(window, COMBO, CB_GETCURSEL, 0, 0);
        if (at != CB_ERR && at != chosen) {
            chosen = static_cast<int>(at);
            snprintf(chosen_name_kept, sizeof chosen_name_kept, "%s", chosen_name());
            if (browse_mode) {
                show_mode();
                follow_field();
            }
        }
    }
    return nullptr;
}

// Back in the window: the document's dictionaries may have changed.
const error_block *window_activated(HWND, void *, HWND, int state)
{
    if (state != WA_INACTIVE && window)
        sync_chosen();
    return nullptr;
}

// Return and Escape in the list act as in the window.
const error_block *list_key(int key)
{
    int k = key;
    return window_key(window, nullptr, -1, &k);
}

// Resizing: the field and the list take the change of width, the list
// the change of height; the buttons on the right follow the right edge
// and Close the bottom edge too.
void layout()
{
    RECT client;
    GetClientRect(window, &client);
    int dx = client.right - template_client.cx, dy = client.bottom - template_client.cy;
    for (int i = 0; i < placed_count; i++) {
        RECT r = placed[i].rect;
        int id = GetDlgCtrlID(placed[i].control);
        if (r.left >= list_rect.right)
            OffsetRect(&r, dx, id == CLOSE ? dy : 0);
        else if (id == FIELD)
            r.right = max_of(r.left + 20, r.right + dx);
        MoveWindow(placed[i].control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    MoveWindow(list.pane, list_rect.left, list_rect.top, max_of(list_rect.right + dx - list_rect.left, 20),
               max_of(list_rect.bottom + dy - list_rect.top, 20), TRUE);
    window_keep_scroll_valid(list.pane);
    // Controls moved into the newly uncovered part must be drawn again.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

const error_block *window_moved(HWND, void *, window_state *)
{
    layout();
    return nullptr;
}

// The window is never made smaller than its template.
const error_block *smallest_size(platform_message *m, void *, int *claimed)
{
    RECT r = {0, 0, template_client.cx, template_client.cy};
    AdjustWindowRectEx(&r, GetWindowLongA(window, GWL_STYLE), FALSE, GetWindowLongA(window, GWL_EXSTYLE));
    auto *info = reinterpret_cast<MINMAXINFO *>(m->lparam);
    info->ptMinTrackSize.x = r.right - r.left;
    info->ptMinTrackSize.y = r.bottom - r.top;
    m->result = 0;
    *claimed = 1;
    return nullptr;
}

BOOL CALLBACK note_control(HWND control, LPARAM)
{
    if (GetParent(control) != window || placed_count >= 16)
        return TRUE;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
    if (GetDlgCtrlID(control) == LIST) {
        list_rect = r;
        ShowWindow(control, SW_HIDE);
    } else {
        placed[placed_count++] = {control, r};
    }
    return TRUE;
}

void unregister_all()
{
    deregister_close(close_request, window, nullptr);
    deregister_key(window_key, window, nullptr);
    deregister_click(window_click, window, nullptr);
    deregister_text_changed(text_changed, window, nullptr);
    deregister_activate(window_activated, window, nullptr);
    deregister_open(window_moved, window, nullptr);
    deregister_message_filter(EV_MSG_INSIDE, smallest_size, window, WM_GETMINMAXINFO, nullptr);
    deregister_subclass(add_adjust, GetDlgItem(window, ADD), nullptr);
    if (list.pane)
        word_list_forget(&list);
}

void forget_window()
{
    HWND w = window;
    window = nullptr;
    list.pane = nullptr;
    placed_count = 0;
    window_delete(w);
}

const error_block *register_all()
{
    const error_block *e = register_close(close_request, window, nullptr);
    if (!e)
        e = register_key(window_key, window, nullptr);
    if (!e)
        e = register_click(window_click, window, nullptr);
    if (!e)
        e = register_text_changed(text_changed, window, nullptr);
    if (!e)
        e = register_activate(window_activated, window, nullptr);
    if (!e)
        e = register_subclass(add_adjust, GetDlgItem(window, ADD), nullptr);
    return e;
}

// The window opens with its controls noted for resizing and the list
// laid over its list area, in the tab order after the word field. The
// handlers for moving come last: opening moves the window.
const error_block *open_window()
{
    const error_block *e = window_create(TEMPLATE_CHECK, "{SPCH}", main_window, &window);
    if (e) {
        window = nullptr;
        return e;
    }
    placed_count = 0;
    chosen = 0;
    chosen_name_kept[0] = 0;
    RECT client;
    GetClientRect(window, &client);
    template_client = {client.right, client.bottom};
    EnumChildWindows(window, note_control, 0);
    list.owner = window;
    list.dictionary = shown;
    list.row_chosen = put_in_field;
    list.key = list_key;
    const int area[4] = {list_rect.left, list_rect.top, list_rect.right, list_rect.bottom};
    e = word_list_create(&list, area, FIELD);
    if (!e)
        e = register_all();
    if (!e)
        e = window_open_centred(window);
    if (!e)
        e = register_open(window_moved, window, nullptr);
    if (!e)
        e = register_message_filter(EV_MSG_INSIDE, smallest_size, window, WM_GETMINMAXINFO, nullptr);
    if (e) {
        unregister_all();
        forget_window();
        return e;
    }
    // The field takes any length: a limit would cut a pasted word short
    // without a sign, and Add would store the stump. Add refuses a word
    // too long to store, with the beep.
    return nullptr;
}

// ---------------------------------------------------------------------
// The engine's hooks.

bool hook_window_open() { return window != nullptr; }

const error_block *hook_show_word(const char *word)
{
    bool opening = window == nullptr;
    if (opening)
        if (const error_block *e = open_window())
            return e;
    sync_chosen();
    word_list_resize(&list);
    list.selected = -1;
    icon_set_text(window, FIELD, word);   // runs the field's change
    if (browse_mode) {
        follow_field();
    } else {
        list.selected = -1;
        word_list_scroll_top(&list);
    }
    set_title();
    icon_select(window, BROWSE, browse_mode);
    if (opening)
        SetForegroundWindow(window);
    // The word selected in the field, so that typing corrects it.
    return caret_set(window, FIELD, 0, -1);
}

// Asks whether to keep changed dictionaries: Yes saves them, any other
// answer reverts them. A question that cannot be asked, or a save that
// fails, leaves the window open (the failed slots keep their changes).
const error_block *hook_close_window(bool changed)
{
    if (!window)
        return nullptr;
    if (changed) {
        debug_log("changed message");
        int answer = 0;
        if (const error_block *e = confirm(window, 0, &answer, "Dictionaries changed. Retain changes?"))
            return e;
        debug_log("result %d", answer);
        if (answer == 1) {
            if (const error_block *e = save_changed_dictionaries())
                return e;
        } else {
            revert_changed_dictionaries();
        }
    }
    unregister_all();
    forget_window();
    SetForegroundWindow(main_window);
    return nullptr;
}

void hook_busy(bool on)
{
    if (on)
        hourglass_on();
    else
        hourglass_off();
}

}  // namespace

const error_block *command_spell_check()
{
    static const SpellCheckHooks hooks = {hook_window_open, hook_show_word, hook_close_window, hook_busy};
    spell_check_set_hooks(&hooks);
    if (window)
        SetForegroundWindow(window);
    return start_spell_check();
}

HWND spell_check_window() { return window; }
HWND spell_check_list() { return list.pane; }
int spell_check_selected_row() { return list.selected; }
