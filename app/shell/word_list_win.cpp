// The word list pane. Row r shows word number r of the dictionary shown;
// its band runs from work-area y = -r * row height down by one row
// height, the word's baseline one ascent below the band's top and 4 units
// from the left. Only the visible rows are decoded: word_at for the first,
// next_word for each further one, so a list of any length draws at once.
// The pane paints off-screen (buffered_pane.h).
// The selected row is drawn inverted (black, the word in white); the focus
// row, while the pane has the input focus, gets an outline inside its band
// (white on the selected row, black elsewhere).
#include "app/shell/word_list.h"

#include <windows.h>
#include <cstdint>
#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/shell/buffered_pane.h"
#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"

namespace {

int max_of(int a, int b) { return a > b ? a : b; }
int min_of(int a, int b) { return a < b ? a : b; }

const int max_row_height = 1024;   // OS units

HFONT make_font(HDC dc) { return choices_make_font(word_list_font, dc); }

void measure(word_list *list)
{
    HDC screen = GetDC(nullptr);
    HFONT font = make_font(screen);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA tm;
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    // A row is at most about six inches high: taller gains nothing on a
    // screen, and a list of a million words then still fits the work
    // area's int range whatever the font.
    list->row_height = min_of(max_of(os_from_px_y(tm.tmHeight + tm.tmExternalLeading), 2), max_row_height);
    list->ascent = min_of(os_from_px_y(tm.tmAscent), list->row_height);
    list->char_width = max_of(os_from_px_x(tm.tmAveCharWidth), 1);
}

int word_count(const word_list *list)
{
    const Dictionary *d = list->dictionary();
    return d ? static_cast<int>(d->words) : 0;
}

// The height of all the rows, held within int range (the rows past it of
// a list longer than about two million words are out of reach).
int work_height(const word_list *list)
{
    int64_t height = static_cast<int64_t>(word_count(list)) * list->row_height;
    return height > INT32_MAX / 2 ? INT32_MAX / 2 : static_cast<int>(height);
}

int visible_height(const word_list *list)
{
    RECT c;
    GetClientRect(list->pane, &c);
    return os_from_px_y(c.bottom);
}

void scroll_to(word_list *list, int scroll_y)
{
    if (wdata *d = window_data(list->pane)) {
        d->scroll_y = scroll_y;
        window_keep_scroll_valid(list->pane);
    }
    word_list_redraw(list);
}

void paint_list(void *value, HDC dc, int scroll_x, int scroll_y, int y0, int y1, int width)
{
    word_list_paint(static_cast<const word_list *>(value), dc, scroll_x, scroll_y, y0, y1, width);
}

const error_block *redraw(HWND w, void *value) { return buffered_pane_redraw(w, paint_list, value); }

// Characters typed on a list that takes them are the list's.
const error_block *wants_characters(platform_message *m, void *value, int *claimed)
{
    if (!static_cast<word_list *>(value)->typed)
        return nullptr;
    m->result = DLGC_WANTCHARS | DLGC_WANTARROWS;
    *claimed = 1;
    return nullptr;
}

// The row is selected before its word goes to the owner's field, so that
// the field's change finds it selected and leaves the scrolling to the
// caller.
void choose_row(word_list *list, int row)
{
    WordCursor cursor;
    const Dictionary *d = list->dictionary();
    list->focus_row = row;
    list->selected = row;
    if (d && word_at(d, row, &cursor))
        list->row_chosen(cursor.text);
    word_list_redraw(list);
}

const error_block *click(HWND, void *value, mouse_block *mouse)
{
    auto *list = static_cast<word_list *>(value);
    window_state s;
    if (mouse->buttons == BUTTON_ADJUST && list->adjust_click)
        return list->adjust_click();
    if (mouse->buttons != BUTTON_SELECT || window_get_state(list->pane, &s))
        return nullptr;
    int work_y = mouse->y - s.y1 + s.scroll_y;
    int row = work_y > 0 ? -1 : -work_y / list->row_height;
    if (row >= 0 && row < word_count(list))
        choose_row(list, row);
    SetFocus(list->pane);
    return nullptr;
}

// The row a moving key goes to from the focus row (or the selected
// one), or -1 for a key that does not move.
int moved_row(const word_list *list, int k)
{
    int from = list->focus_row >= 0 ? list->focus_row : max_of(list->selected, 0);
    int page = max_of(1, visible_height(list) / list->row_height - 1);
    switch (k) {
    case KEY_VIRTUAL | VK_UP: return from - 1;
    case KEY_VIRTUAL | VK_DOWN: return from + 1;
    case KEY_VIRTUAL | VK_PRIOR: return from - page;
    case KEY_VIRTUAL | VK_NEXT: return from + page;
    case KEY_VIRTUAL | VK_HOME: return 0;
    case KEY_VIRTUAL | VK_END: return word_count(list) - 1;
    }
    return -1;
}

bool moving_key(int k)
{
    return k == (KEY_VIRTUAL | VK_UP) || k == (KEY_VIRTUAL | VK_DOWN) || k == (KEY_VIRTUAL | VK_PRIOR) ||
           k == (KEY_VIRTUAL | VK_NEXT) || k == (KEY_VIRTUAL | VK_HOME) || k == (KEY_VIRTUAL | VK_END);
}

const error_block *key(HWND, void *value, int, int *code)
{
    auto *list = static_cast<word_list *>(value);
    int k = *code;
    if (moving_key(k)) {
        *code = -1;
        int words = word_count(list);
        if (words == 0)
            return nullptr;
        int row = max_of(0, min_of(words - 1, moved_row(list, k)));
        choose_row(list, row);
        word_list_show_row(list, row, false);
    } else if ((k & ~KEY_SHIFT) == (KEY_VIRTUAL | VK_TAB)) {
        *code = -1;
        if (HWND next = GetNextDlgTabItem(list->owner, list->pane, (k & KEY_SHIFT) != 0))
            SetFocus(next);
    } else if (k == (KEY_VIRTUAL | VK_RETURN) || k == 13) {
        *code = -1;
        return list->key(13);
    } else if (k == (KEY_VIRTUAL | VK_ESCAPE) || k == 27) {
        *code = -1;
        return list->key(27);
    } else if (k == (KEY_VIRTUAL | VK_DELETE) && list->delete_key) {
        *code = -1;
        return list->delete_key();
    } else if (k >= 32 && k < 256 && k != 127 && list->typed) {
        *code = -1;
        list->typed(k);
    }
    return nullptr;
}

// Gaining the focus: the focus row is the selected row, or the middle of
// what is visible; losing it clears the focus row.
const error_block *focus(HWND, void *value, int gained)
{
    auto *list = static_cast<word_list *>(value);
    int words = word_count(list);
    if (!gained || words == 0) {
        list->focus_row = -1;
    } else if (list->selected >= 0) {
        list->focus_row = list->selected;
    } else if (wdata *d = window_data(list->pane)) {
        int middle = (-d->scroll_y + visible_height(list) / 2) / list->row_height;
        list->focus_row = min_of(middle, words - 1);
    }
    word_list_redraw(list);
    return nullptr;
}

}  // namespace

font_spec word_list_font = {160, 0, "Arial", 400, FW_NORMAL, 0};

namespace {

// The lists that have a pane, so that a new font reaches them all.
word_list *live_lists[8];

void live_list(word_list *list, bool live)
{
    for (word_list *&l : live_lists)
        if (l == list)
            l = nullptr;
    if (live)
        for (word_list *&l : live_lists)
            if (!l) {
                l = list;
                break;
            }
}

}  // namespace

void word_lists_font_changed()
{
    for (word_list *l : live_lists)
        if (l) {
            measure(l);
            word_list_resize(l);
            word_list_redraw(l);
        }
}

const error_block *word_list_create(word_list *list, const int area[4], int after)
{
    measure(list);
    list->selected = list->focus_row = -1;
    const error_block *e = window_create(TEMPLATE_PANE, nullptr, list->owner, &list->pane);
    if (e) {
        list->pane = nullptr;
        return e;
    }
    // A tab stop, so that Tab from the owner's controls reaches it.
    SetWindowLongA(list->pane, GWL_STYLE, GetWindowLongA(list->pane, GWL_STYLE) | WS_TABSTOP);
    SetWindowPos(list->pane, GetDlgItem(list->owner, after), area[0], area[1], area[2] - area[0], area[3] - area[1],
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    e = register_redraw(redraw, list->pane, list);
    if (!e)
        e = register_click(click, list->pane, list);
    if (!e)
        e = register_key(key, list->pane, list);
    if (!e)
        e = register_focus(focus, list->pane, list);
    if (!e)
        e = register_message_filter(EV_MSG_INSIDE, buffered_pane_no_erase, list->pane, WM_ERASEBKGND, list);
    if (!e)
        e = register_message_filter(EV_MSG_INSIDE, wants_characters, list->pane, WM_GETDLGCODE, list);
    if (e) {
        word_list_forget(list);
        window_delete(list->pane);
        list->pane = nullptr;
        return e;
    }
    word_list_resize(list);
    live_list(list, true);
    return nullptr;
}

void word_list_forget(word_list *list)
{
    live_list(list, false);
    deregister_redraw(redraw, list->pane, list);
    deregister_click(click, list->pane, list);
    deregister_key(key, list->pane, list);
    deregister_focus(focus, list->pane, list);
    deregister_message_filter(EV_MSG_INSIDE, buffered_pane_no_erase, list->pane, WM_ERASEBKGND, list);
    deregister_message_filter(EV_MSG_INSIDE, wants_characters, list->pane, WM_GETDLGCODE, list);
}

// The work area: one row per word, 32 average characters wide.
void word_list_resize(word_list *list)
{
    if (list->pane)
        window_set_extent(list->pane, 0, -work_height(list), 32 * list->char_width, 0);
}

void word_list_redraw(word_list *list)
{
    if (list->pane)
        InvalidateRect(list->pane, nullptr, FALSE);
}

void word_list_scroll_top(word_list *list) { scroll_to(list, 0); }

void word_list_show_row(word_list *list, int row, bool centre)
{
    wdata *d = window_data(list->pane);
    if (!d || row < 0)
        return;
    int height = list->row_height, visible = visible_height(list);
    if (static_cast<int64_t>(row) * height > work_height(list) - height)
        row = (work_height(list) - height) / height;
    int top = -row * height;
    bool above = top > d->scroll_y, below = top - height < d->scroll_y - visible;
    if (!above && !below)
        return;
    if (centre && (top > d->scroll_y + height || top - 2 * height < d->scroll_y - visible - height))
        scroll_to(list, top + (visible - height) / 2);
    else if (above)
        scroll_to(list, top);
    else
        scroll_to(list, top - height + visible);
}

void word_list_follow(word_list *list, const char *text)
{
    const Dictionary *d = list->dictionary();
    if (!d || d->words == 0) {
        list->selected = -1;
        word_list_redraw(list);
        return;
    }
    WordCursor cursor;
    cursor.number = 0;
    bool match = false;
    if (text[0] && strlen(text) < WORD_BUFFER)
        match = find_word(d, text, &cursor, nullptr) == 1 && strcmp(cursor.text, text) == 0;
    int row = static_cast<int>(cursor.number);
    if (match && row == list->selected)
        return;
    word_list_show_row(list, min_of(row, static_cast<int>(d->words) - 1), true);
    list->selected = match ? row : -1;
    word_list_redraw(list);
}

void word_list_paint(const word_list *list, HDC dc, int scroll_x, int scroll_y, int y0, int y1, int width)
{
    auto x = [&](int work_x) { return px_from_os_x(work_x - scroll_x); };
    auto y = [&](int work_y) { return px_from_os_y(scroll_y - work_y); };
    RECT clip;
    GetClipBox(dc, &clip);
    FillRect(dc, &clip, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const Dictionary *d = list->dictionary();
    int height = list->row_height;
    if (!d || d->words == 0 || height <= 0)
        return;
    int first = max_of(0, -y1 / height);
    int last = min_of(static_cast<int>(d->words) - 1, -y0 / height);
    WordCursor cursor;
    if (first > last || !word_at(d, first, &cursor))
        return;
    HFONT font = make_font(dc);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    for (int row = first; row <= last; row++) {
        int top = -row * height;
        RECT band = {0, y(top), width, y(top - height)};
        bool selected = row == list->selected;
        if (selected)
            FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
        TextOutA(dc, x(4), y(top - list->ascent), cursor.text, static_cast<int>(strlen(cursor.text)));
        if (row == list->focus_row) {
            // Inside the band, so that the white outline of a selected
            // row shows against the white rows around it.
            RECT outline = band;
            InflateRect(&outline, -1, -1);
            FrameRect(dc, &outline, static_cast<HBRUSH>(GetStockObject(selected ? WHITE_BRUSH : BLACK_BRUSH)));
        }
        if (row < last && !next_word(d, &cursor))
            break;
    }
    SelectObject(dc, old);
    DeleteObject(font);
}
