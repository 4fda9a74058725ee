// The solutions pane: the result list drawn as rows (one word a row, or a
// little filled grid a row when the marked area has several parts), clicks
// that apply a crossword solution or select Wordsquare words, and the two
// commands that edit the Wordsquare word list.
//
// Row r occupies the work-area band from y = -r*row_height down by one
// row height. The pane paints all of itself off-screen and never erases
// its background, so redraws do not flicker.
#include <windows.h>
#include <cstring>

#include "app/dictionary/search.h"
#include "app/grid/grid.h"
#include "app/grid/history.h"
#include "app/grid/parts.h"
#include "app/grid/result_list.h"
#include "app/shell/buffered_pane.h"
#include "app/shell/shell.h"
#include "app/wordsquare/solver.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/error.h"

namespace {

int list_column_width = 0;    // OS units
int list_row_height = 32;     // OS units

int max_of(int a, int b) { return a > b ? a : b; }
int min_of(int a, int b) { return a < b ? a : b; }

struct mapping {
    int scroll_x, scroll_y;
    int x(int work_x) const { return px_from_os_x(work_x - scroll_x); }
    int y(int work_y) const { return px_from_os_y(scroll_y - work_y); }
};

HFONT solutions_font(HDC dc) { return choices_make_font(choices.solutions_font, dc); }

void text_at(HDC dc, int x, int y, const char *text, int length)
{
    TextOutA(dc, x, y, text, length);
}

void cased(const char *from, char *to, int size)
{
    int i = 0;
    for (; from[i] && i < size - 1; i++)
        to[i] = (char)convert_case((unsigned char)from[i]);
    to[i] = 0;
}

void draw_one_part_row(HDC dc, const mapping &m, int row, int top)
{
    char text[64];
    bool inverted = false;
    if (grid.grid_type == 1) {
        const word_record *w = list_word(row);
        if (!w)
            return;
        cased(w->text, text, sizeof text);
        inverted = w->selected != 0;
    } else {
        const uint32_t *codes = list_solution_row(row);
        if (!codes)
            return;
        cased(solution_text(codes[0]), text, sizeof text);
    }
    int baseline = top - 2 - ((list_row_height - metrics.char_height) / 2 + metrics.ascent);
    if (inverted) {
        RECT band = {m.x(2), m.y(top), m.x(2 + list_column_width - 4), m.y(top - list_row_height)};
        FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetTextColor(dc, RGB(255, 255, 255));
    } else {
        SetTextColor(dc, RGB(0, 0, 0));
    }
    text_at(dc, m.x(6), m.y(baseline), text, (int)strlen(text));
}

// Several parts: the marked rectangle filled with the row's words, one
// character centred in each column.
void draw_grid_row(HDC dc, const mapping &m, int row, int top)
{
    const uint32_t *codes = list_solution_row(row);
    if (!codes)
        return;
    int columns = parts_bounds.col1 - parts_bounds.col0 + 1;
    int lines = parts_bounds.row1 - parts_bounds.row0 + 1;
    if (columns <= 0 || lines <= 0 || columns > grid_plane_side || lines > grid_plane_side)
        return;
    static char cells[grid_plane_side][grid_plane_side];
    for (int k = 0; k < lines; k++)
        memset(cells[k], ' ', columns);
    for (int p = 0; p < part_count && p < list_columns; p++) {
        const char *word = solution_text(codes[p]);
        int c = parts[p].col - parts_bounds.col0, r = parts[p].row - parts_bounds.row0;
        for (int i = 0; word[i] && i < parts[p].length; i++) {
            int cc = parts[p].direction == 0 ? c + i : c, rr = parts[p].direction == 0 ? r : r + i;
            if (cc >= 0 && cc < columns && rr >= 0 && rr < lines)
                cells[rr][cc] = (char)convert_case((unsigned char)word[i]);
        }
    }
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_BASELINE | TA_CENTER);
    for (int k = 0; k < lines; k++) {
        int baseline = top - 10 - k * metrics.char_height - metrics.ascent;
        for (int c = 0; c < columns; c++)
            if (cells[k][c] != ' ')
                text_at(dc, m.x(6 + metrics.char_width * c + metrics.char_width / 2), m.y(baseline), &cells[k][c],
                        1);
    }
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
}

void paint(HDC dc, int scroll_x, int scroll_y, int y0, int y1)
{
    mapping m{scroll_x, scroll_y};
    RECT clip;
    GetClipBox(dc, &clip);
    FillRect(dc, &clip, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (grid.word_count <= 0 || list_row_height <= 0)
        return;
    HFONT font = solutions_font(dc);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    int first = max_of(0, -y1 / list_row_height);
    int last = min_of(grid.word_count - 1, -y0 / list_row_height);
    bool several = grid.grid_type == 0 && list_columns > 1;
    for (int row = first; row <= last; row++) {
        int top = -row * list_row_height;
        if (several)
            draw_grid_row(dc, m, row, top);
        else
            draw_one_part_row(dc, m, row, top);
    }
    SelectObject(dc, old);
    DeleteObject(font);
}

void paint_rows(void *, HDC dc, int scroll_x, int scroll_y, int y0, int y1, int)
{
    paint(dc, scroll_x, scroll_y, y0, y1);
}

const error_block *pane_redraw_event(HWND w, void *) { return buffered_pane_redraw(w, paint_rows, nullptr); }

// Wordsquare clicks: select one word, or toggle one with Adjust or Ctrl.
void wordsquare_click(int row, int buttons)
{
    remove_cursor();
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    word_record *w = row >= 0 && row < grid.word_count ? list_word(row) : nullptr;
    if (w && buttons == BUTTON_SELECT && !ctrl) {
        if (w->selected && list_count_selected() <= 1)
            return;
        for (int i = 0; i < grid.word_count; i++) {
            word_record *other = list_word(i);
            if (other->selected) {
                dirty_add_word(other);
                unhighlight_word(other);
                other->selected = 0;
            }
        }
        w->selected = 1;
        highlight_word(w);
    } else if (w && (buttons == BUTTON_ADJUST || (buttons == BUTTON_SELECT && ctrl))) {
        w->selected = !w->selected;
        if (w->selected)
            highlight_word(w);
        else
            unhighlight_word(w);
    } else {
        return;
    }
    recompute_marked_area();
    dirty_add_word(w);
    dirty_redraw();
    pane_redraw();
}

const error_block *pane_click(HWND, void *, mouse_block *mouse)
{
    if (mouse->buttons != BUTTON_SELECT && mouse->buttons != BUTTON_ADJUST)
        return nullptr;
    window_state s;
    window_get_state(solutions_pane, &s);
    int offset = s.y1 - s.scroll_y - mouse->y - 2;
    if (offset < 0 || list_row_height <= 0)
        return nullptr;
    int row = offset / list_row_height;
    if (grid.grid_type == 0) {
        history_begin();   // applying a solution is one Undo step
        apply_solution(row, mouse->buttons);
        history_end();
    }
    else
        wordsquare_click(row, mouse->buttons);
    return nullptr;
}

}  // namespace

const error_block *solutions_pane_register()
{
    const error_block *e = register_redraw(pane_redraw_event, solutions_pane, nullptr);
    if (!e)
        e = register_click(pane_click, solutions_pane, nullptr);
    if (!e)
        e = register_message_filter(EV_MSG_INSIDE, buffered_pane_no_erase, solutions_pane, WM_ERASEBKGND, nullptr);
    pane_layout_one_column();
    pane_set_extent();
    return e;
}

void pane_scroll_home()
{
    if (!solutions_pane)
        return;
    if (wdata *d = window_data(solutions_pane)) {
        d->scroll_x = 0;
        d->scroll_y = 0;
        window_keep_scroll_valid(solutions_pane);
    }
}

void pane_set_extent()
{
    if (solutions_pane)
        window_set_extent(solutions_pane, 0, -(grid.word_count * list_row_height), list_column_width, 0);
}

void pane_redraw()
{
    if (solutions_pane)
        InvalidateRect(solutions_pane, nullptr, FALSE);
}

void pane_refresh()
{
    pane_scroll_home();
    pane_set_extent();
    pane_redraw();
}

void pane_layout_one_column()
{
    list_column_width = 17 * metrics.char_width;
    list_row_height = metrics.line_height > 0 ? metrics.line_height : 32;
}

void pane_layout_for_parts()
{
    int c0 = parts_bounds.col0, c1 = parts_bounds.col1, r0 = parts_bounds.row0, r1 = parts_bounds.row1;
    if (c0 < 0) {
        pane_layout_one_column();
        return;
    }
    list_column_width = (c1 - c0 + 1) * metrics.char_width;
    if (part_count <= 1)
        list_row_height = metrics.line_height;
    else
        list_row_height = (r1 - r0 + 1) * metrics.char_height + metrics.char_height;
}

const error_block *list_delete_selected()
{
    int removed = 0;
    for (int i = 0; i < grid.word_count;) {
        word_record *w = list_word(i);
        if (!w->selected) {
            i++;
            continue;
        }
        dirty_add_word(w);
        unhighlight_word(w);
        list_remove(i);
        removed++;
    }
    if (removed) {
        recompute_marked_area();
        dirty_redraw();
        pane_refresh();
    }
    return nullptr;
}

const error_block *list_add_typed_word()
{
    char text[256] = "";
    icon_get_text(button_bar, BAR_WORD, text, sizeof text);
    if (!text[0])
        return nullptr;
    list_columns = 1;
    pane_layout_one_column();
    // A word too long for the list is refused and stays in the field.
    if (const error_block *e = list_add_word(-1, -1, -1, -1, text))
        return e;
    icon_set_text(button_bar, BAR_WORD, "");
    pane_refresh();
    return nullptr;
}
