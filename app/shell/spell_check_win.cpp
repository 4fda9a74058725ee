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
// The list is a scrolling pane laid over the template's list area. Row r
// shows word number r of the dictionary shown; its band runs from work
// area y = -r * row height down by one row height, and only the visible
// rows are decoded (word_at for the first, next_word for the rest). The
// selected row is drawn inverted (black with white text); the focus row,
// while the pane has the input focus, gets a rectangle around it.
#include <windows.h>
#include <cstdio>
#include <cstring>

#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/dictionary/spell_check.h"
#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/confirm.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/messages.h"

namespace {

enum : int { FIELD = 1019, BROWSE = 1021, COMBO = 1022, LIST = 1023, ADD = 1024, CONTINUE = 1025, CLOSE = 1026 };

// The list's font: until the Choices window keeps a dictionary font, the
// list uses this one.
const char list_face[] = "Arial";
const int list_height = 160;        // sixteenths of a point

HWND window = nullptr;              // null while closed
HWND pane = nullptr;                // the list, a child of the window
bool browse_mode = false;           // kept between checks; Guess at start-up
int chosen = 0;                     // position in the document's list
int selected = -1;                  // word number, -1 none
int focus_row = -1;                 // word number, -1 none (pane without focus)
int row_height = 32, ascent = 24, char_width = 16;   // OS units

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
int min_of(int a, int b) { return a < b ? a : b; }

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

int shown_words()
{
    const Dictionary *d = shown();
    return d ? static_cast<int>(d->words) : 0;
}

// ---------------------------------------------------------------------
// Drawing the list.

HFONT make_list_font(HDC dc)
{
    int height = MulDiv(list_height, GetDeviceCaps(dc, LOGPIXELSY), 16 * 72);
    return CreateFontA(-max_of(height, 1), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, list_face);
}

void measure_font()
{
    HDC screen = GetDC(nullptr);
    HFONT font = make_list_font(screen);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA tm;
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    row_height = max_of(os_from_px_y(tm.tmHeight + tm.tmExternalLeading), 2);
    ascent = os_from_px_y(tm.tmAscent);
    char_width = max_of(os_from_px_x(tm.tmAveCharWidth), 1);
}

struct mapping {
    int scroll_x, scroll_y;
    int x(int work_x) const { return px_from_os_x(work_x - scroll_x); }
    int y(int work_y) const { return px_from_os_y(scroll_y - work_y); }
};

void paint_rows(HDC dc, int scroll_x, int scroll_y, int y0, int y1, int width_px)
{
    mapping m{scroll_x, scroll_y};
    RECT clip;
    GetClipBox(dc, &clip);
    FillRect(dc, &clip, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const Dictionary *d = shown();
    if (!d || d->words == 0)
        return;
    int first = max_of(0, -y1 / row_height);
    int last = min_of(static_cast<int>(d->words) - 1, -y0 / row_height);
    WordCursor cursor;
    if (first > last || !word_at(d, first, &cursor))
        return;
    HFONT font = make_list_font(dc);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    for (int row = first; row <= last; row++) {
        int top = -row * row_height;
        RECT band = {0, m.y(top), width_px, m.y(top - row_height)};
        if (row == selected) {
            FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            SetTextColor(dc, RGB(255, 255, 255));
        } else {
            SetTextColor(dc, RGB(0, 0, 0));
        }
        TextOutA(dc, m.x(4), m.y(top - ascent), cursor.text, static_cast<int>(strlen(cursor.text)));
        if (row == focus_row) {
            // Inside the band, so that the white outline of a selected
            // row shows against the white rows around it.
            RECT outline = band;
            InflateRect(&outline, -1, -1);
            FrameRect(dc, &outline, static_cast<HBRUSH>(GetStockObject(row == selected ? WHITE_BRUSH : BLACK_BRUSH)));
        }
        if (row < last && !next_word(d, &cursor))
            break;
    }
    SelectObject(dc, old);
    DeleteObject(font);
}

// Painted off-screen and copied, so that redraws do not flicker.
const error_block *pane_redraw(HWND w, void *)
{
    redraw_block b{};
    b.window = w;
    const error_block *e = wimp_redraw_in(&b);
    while (!e && b.more) {
        RECT client;
        GetClientRect(w, &client);
        HDC memory = CreateCompatibleDC(b.dc);
        HBITMAP bitmap = CreateCompatibleBitmap(b.dc, max_of(client.right, 1), max_of(client.bottom, 1));
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint_rows(memory, b.scroll_x, b.scroll_y, b.g1, b.g3, client.right);
        RECT clip;
        GetClipBox(b.dc, &clip);
        BitBlt(b.dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, memory, clip.left,
               clip.top, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        wimp_redraw_end(&b);
    }
    return e;
}

const error_block *no_erase(platform_message *m, void *, int *claimed)
{
    m->result = 1;
    *claimed = 1;
    return nullptr;
}

void redraw_list()
{
    if (pane)
        InvalidateRect(pane, nullptr, FALSE);
}

// The work area: one row per word, 32 average characters wide.
void resize_list()
{
    if (pane)
        window_set_extent(pane, 0, -shown_words() * row_height, 32 * char_width, 0);
}

int visible_height()
{
    RECT c;
    GetClientRect(pane, &c);
    return os_from_px_y(c.bottom);
}

void scroll_list_to(int scroll_y)
{
    if (wdata *d = window_data(pane)) {
        d->scroll_y = scroll_y;
        window_keep_scroll_valid(pane);
    }
    redraw_list();
}

// Brings the row into view: a row just outside scrolls by as little as
// shows it (arrow keys); with `centre`, a row further away comes to the
// middle, so that the words after the place show too (typing).
void scroll_to_row(int row, bool centre)
{
    wdata *d = window_data(pane);
    if (!d || row < 0)
        return;
    int top = -row * row_height, visible = visible_height();
    bool above = top > d->scroll_y, below = top - row_height < d->scroll_y - visible;
    if (!above && !below)
        return;
    if (centre && (top > d->scroll_y + row_height || top - 2 * row_height < d->scroll_y - visible))
        scroll_list_to(top + (visible - row_height) / 2);
    else if (above)
        scroll_list_to(top);
    else
        scroll_list_to(top - row_height + visible);
}

// ---------------------------------------------------------------------
// The word field and the list.

void set_title()
{
    char title[128];
    format_tokens(sizeof title, title, "{SPCH} (%s)", browse_mode ? chosen_name() : "Guess");
    SetWindowTextA(window, title);
}

// The field's text looked up in the dictionary shown: the list scrolls to
// its row, or to the row of the word before its place, and selects it only
// when it is there with the same letter case.
void follow_field()
{
    char text[256] = "";
    icon_get_text(window, FIELD, text, sizeof text);
    const Dictionary *d = shown();
    if (!d || d->words == 0) {
        selected = -1;
        redraw_list();
        return;
    }
    WordCursor cursor;
    cursor.number = 0;
    bool match = false;
    if (text[0] && strlen(text) < WORD_BUFFER)
        match = find_word(d, text, &cursor, nullptr) == 1 && strcmp(cursor.text, text) == 0;
    int row = static_cast<int>(cursor.number);
    if (match && row == selected)
        return;
    scroll_to_row(min_of(row, static_cast<int>(d->words) - 1), true);
    selected = match ? row : -1;
    redraw_list();
}

// The list shows the dictionary of the current mode from its top.
void show_mode()
{
    selected = -1;
    focus_row = GetFocus() == pane && shown_words() > 0 ? 0 : -1;
    resize_list();
    scroll_list_to(0);
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
    selected = -1;
    resize_list();
    redraw_list();
    follow_field();
}

void put_row_in_field(int row)
{
    const Dictionary *d = shown();
    WordCursor cursor;
    if (d && word_at(d, row, &cursor))
        icon_set_text(window, FIELD, cursor.text);
}

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
            if (browse_mode) {
                show_mode();
                follow_field();
            }
        }
    }
    return nullptr;
}

int row_under(const mouse_block *mouse)
{
    window_state s;
    if (window_get_state(pane, &s))
        return -1;
    int work_y = mouse->y - s.y1 + s.scroll_y;
    return work_y > 0 ? -1 : -work_y / row_height;
}

const error_block *pane_click(HWND, void *, mouse_block *mouse)
{
    if (mouse->buttons != BUTTON_SELECT)
        return nullptr;
    int row = row_under(mouse);
    if (row < 0 || row >= shown_words())
        return nullptr;
    focus_row = row;
    put_row_in_field(row);   // the field's change selects the row
    selected = row;
    redraw_list();
    SetFocus(pane);
    return nullptr;
}

const error_block *pane_key(HWND, void *, int, int *key)
{
    int k = *key;
    int words = shown_words();
    if (k == (KEY_VIRTUAL | VK_UP) || k == (KEY_VIRTUAL | VK_DOWN)) {
        *key = -1;
        if (words == 0)
            return nullptr;
        int from = focus_row >= 0 ? focus_row : (selected >= 0 ? selected : 0);
        int row = max_of(0, min_of(words - 1, from + (k == (KEY_VIRTUAL | VK_UP) ? -1 : 1)));
        focus_row = row;
        put_row_in_field(row);
        selected = row;
        scroll_to_row(row, false);
        redraw_list();
    } else if ((k & ~KEY_SHIFT) == (KEY_VIRTUAL | VK_TAB)) {
        *key = -1;
        if (HWND next = GetNextDlgTabItem(window, pane, (k & KEY_SHIFT) != 0))
            SetFocus(next);
    } else if (k == (KEY_VIRTUAL | VK_RETURN) || k == 13) {
        *key = -1;
        return check_next();
    } else if (k == (KEY_VIRTUAL | VK_ESCAPE) || k == 27) {
        *key = -1;
        return close_spell_check();
    }
    return nullptr;
}

// Gaining the focus: the focus row is the selected row, or the middle of
// what is visible; losing it clears the focus row.
const error_block *pane_focus(HWND, void *, int gained)
{
    if (!gained) {
        focus_row = -1;
    } else if (selected >= 0) {
        focus_row = selected;
    } else if (wdata *d = window_data(pane)) {
        int middle = (-d->scroll_y + visible_height() / 2) / row_height;
        focus_row = shown_words() > 0 ? min_of(middle, shown_words() - 1) : -1;
    }
    redraw_list();
    return nullptr;
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
    MoveWindow(pane, list_rect.left, list_rect.top, max_of(list_rect.right + dx - list_rect.left, 20),
               max_of(list_rect.bottom + dy - list_rect.top, 20), TRUE);
    window_keep_scroll_valid(pane);
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
    deregister_open(window_moved, window, nullptr);
    deregister_message_filter(EV_MSG_INSIDE, smallest_size, window, WM_GETMINMAXINFO, nullptr);
    deregister_subclass(add_adjust, GetDlgItem(window, ADD), nullptr);
    deregister_redraw(pane_redraw, pane, nullptr);
    deregister_click(pane_click, pane, nullptr);
    deregister_key(pane_key, pane, nullptr);
    deregister_focus(pane_focus, pane, nullptr);
    deregister_message_filter(EV_MSG_INSIDE, no_erase, pane, WM_ERASEBKGND, nullptr);
}

void forget_window()
{
    HWND w = window;
    window = nullptr;
    pane = nullptr;
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
        e = register_subclass(add_adjust, GetDlgItem(window, ADD), nullptr);
    if (!e)
        e = register_redraw(pane_redraw, pane, nullptr);
    if (!e)
        e = register_click(pane_click, pane, nullptr);
    if (!e)
        e = register_key(pane_key, pane, nullptr);
    if (!e)
        e = register_focus(pane_focus, pane, nullptr);
    if (!e)
        e = register_message_filter(EV_MSG_INSIDE, no_erase, pane, WM_ERASEBKGND, nullptr);
    return e;
}

const error_block *open_window()
{
    measure_font();
    const error_block *e = window_create(TEMPLATE_CHECK, "{SPCH}", main_window, &window);
    if (e) {
        window = nullptr;
        return e;
    }
    placed_count = 0;
    RECT client;
    GetClientRect(window, &client);
    template_client = {client.right, client.bottom};
    EnumChildWindows(window, note_control, 0);
    e = window_create(TEMPLATE_PANE, nullptr, window, &pane);
    if (!e) {
        // In the tab order straight after the word field.
        SetWindowLongA(pane, GWL_STYLE, GetWindowLongA(pane, GWL_STYLE) | WS_TABSTOP);
        SetWindowPos(pane, GetDlgItem(window, FIELD), list_rect.left, list_rect.top,
                     list_rect.right - list_rect.left, list_rect.bottom - list_rect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        e = register_all();
    }
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
    // Typing stops at the longest word a dictionary holds.
    SendDlgItemMessageA(window, FIELD, EM_LIMITTEXT, WORD_BUFFER - 1, 0);
    chosen = 0;
    selected = focus_row = -1;
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
    fill_combo();
    resize_list();
    selected = -1;
    icon_set_text(window, FIELD, word);   // runs the field's change
    if (browse_mode) {
        follow_field();
    } else {
        selected = -1;
        scroll_list_to(0);
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
    if (window) {
        SetForegroundWindow(window);
    }
    return start_spell_check();
}

HWND spell_check_window() { return window; }
HWND spell_check_list() { return pane; }
int spell_check_selected_row() { return selected; }
