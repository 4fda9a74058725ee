// The grid pane: drawing the grid, and the mouse and keys on it.
//
// Drawing (grid_pane_paint) and input (the click, drag and key handlers)
// are separate halves of this file. Drawing paints into an off-screen
// bitmap that is copied to the window in one step, and the pane never
// erases its background, so redraws do not flicker.
//
// Work-area coordinates are OS units with y upwards: cell (c, r) covers x
// from c*square_size to (c+1)*square_size and y from -r*square_size down
// to -(r+1)*square_size.
#include "app/grid/grid_pane.h"

#include <windows.h>

#include "app/grid/grid.h"
#include "app/grid/editing.h"
#include "app/grid/grid_document.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/history.h"
#include "app/grid/result_list.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/error.h"

uint32_t grid_pane_cursor_colour = 0xFFBB0000u;
uint32_t grid_pane_selected_colour = 0xBBEEEE00u;

namespace {

HWND pane = nullptr;

int min_of(int a, int b) { return a < b ? a : b; }
int max_of(int a, int b) { return a > b ? a : b; }
COLORREF platform_colour(uint32_t word) { return (COLORREF)(word >> 8); }

// ---------------------------------------------------------------------
// Drawing.

struct mapping {
    int scroll_x, scroll_y;
    int x(int work_x) const { return px_from_os_x(work_x - scroll_x); }
    int y(int work_y) const { return px_from_os_y(scroll_y - work_y); }
};

void fill(HDC dc, int l, int t, int r, int b, COLORREF colour)
{
    RECT box = {l, t, r, b};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
}

HFONT letter_font(int *ascent_os, int *height_os, HDC dc)
{
    const font_spec &f = grid.grid_font;
    int height_px = MulDiv(f.height, GetDeviceCaps(dc, LOGPIXELSY), 16 * 72);
    HFONT font = CreateFontA(-max_of(height_px, 1), f.width ? MulDiv(f.width, GetDeviceCaps(dc, LOGPIXELSX), 16 * 72) : 0,
                             0, 0, f.weight ? (int)f.weight : FW_NORMAL, f.italic != 0, 0, 0, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, f.face);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    *ascent_os = os_from_px_y(tm.tmAscent);
    *height_os = os_from_px_y(tm.tmHeight);
    return font;
}

void draw_cell(HDC dc, const mapping &m, int c, int r, HFONT font, int ascent, int font_height)
{
    int sq = grid.square_size;
    int cell = grid_cell(c, r);
    uint8_t a = grid.attributes[cell];
    int l = m.x(c * sq), t = m.y(-r * sq), rr = m.x((c + 1) * sq), b = m.y(-(r + 1) * sq);
    uint8_t state = a & cell_state_mask;
    uint32_t colour = grid.background_colour;
    if (state == cell_filled)
        colour = grid.filled_colour;
    else if (state == cell_marked)
        colour = grid_pane_selected_colour;
    else if (c == grid.cursor_col && r == grid.cursor_row)
        colour = grid_pane_cursor_colour;
    fill(dc, l, t, rr, b, platform_colour(colour));
    if (state != cell_filled && grid.letters[cell] != ' ' && grid.letters[cell]) {
        HGDIOBJ old = SelectObject(dc, font);
        SetTextColor(dc, platform_colour(grid.text_colour));
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_BASELINE | TA_CENTER);
        char letter = (char)grid.letters[cell];
        TextOutA(dc, (l + rr) / 2, m.y(-r * sq - ((sq - font_height) / 2 + ascent)), &letter, 1);
        SelectObject(dc, old);
    }
    HPEN pen = CreatePen(PS_SOLID, 1, platform_colour(grid.grid_colour));
    HGDIOBJ old = SelectObject(dc, pen);
    if (a & bar_top)
        for (int k = 1; k <= 2; k++) {
            MoveToEx(dc, l, t + k, nullptr);
            LineTo(dc, rr, t + k);
        }
    if (a & bar_left)
        for (int k = 1; k <= 2; k++) {
            MoveToEx(dc, l + k, t, nullptr);
            LineTo(dc, l + k, b);
        }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void draw_lines(HDC dc, const mapping &m, int c0, int r0, int c1, int r1)
{
    int sq = grid.square_size;
    HPEN pen = CreatePen(PS_SOLID, 1, platform_colour(grid.grid_colour));
    HGDIOBJ old = SelectObject(dc, pen);
    for (int c = c0; c <= c1 + 1; c++) {
        MoveToEx(dc, m.x(c * sq), m.y(-r0 * sq), nullptr);
        LineTo(dc, m.x(c * sq), m.y(-(r1 + 1) * sq) + 1);
    }
    for (int r = r0; r <= r1 + 1; r++) {
        MoveToEx(dc, m.x(c0 * sq), m.y(-r * sq), nullptr);
        LineTo(dc, m.x((c1 + 1) * sq) + 1, m.y(-r * sq));
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

// ---------------------------------------------------------------------
// Redraw requests.

void paint_block(redraw_block &b)
{
    RECT clip;
    GetClipBox(b.dc, &clip);
    RECT client;
    GetClientRect(b.window, &client);
    int w = max_of(client.right, 1), h = max_of(client.bottom, 1);
    HDC memory = CreateCompatibleDC(b.dc);
    HBITMAP bitmap = CreateCompatibleBitmap(b.dc, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    grid_pane_paint(memory, b.scroll_x, b.scroll_y, b.g0, b.g1, b.g2, b.g3);
    BitBlt(b.dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, memory, clip.left, clip.top,
           SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

const error_block *pane_redraw(HWND w, void *)
{
    redraw_block b{};
    b.window = w;
    const error_block *e = wimp_redraw_in(&b);
    while (!e && b.more) {
        paint_block(b);
        wimp_redraw_end(&b);
    }
    return e;
}

void update_cells(int col0, int row0, int col1, int row1)
{
    if (!pane)
        return;
    int sq = grid.square_size;
    redraw_block b{};
    b.window = pane;
    b.g0 = col0 * sq;
    b.g2 = (col1 + 1) * sq + 1;
    b.g3 = -row0 * sq;
    b.g1 = -(row1 + 1) * sq - 1;
    if (wimp_update(&b) || !b.more)
        return;
    paint_block(b);
    wimp_redraw_end(&b);
}

void redraw_all()
{
    if (pane)
        InvalidateRect(pane, nullptr, FALSE);
}

void set_extent(int width_units, int height_units)
{
    if (pane)
        window_set_extent(pane, 0, -height_units, width_units, 0);
}

// The pane paints all of itself: the background is never erased first.
const error_block *no_erase(platform_message *m, void *, int *claimed)
{
    m->result = 1;
    *claimed = 1;
    return nullptr;
}

// ---------------------------------------------------------------------
// Scrolling.

// Sets the scroll offsets, kept inside the work area, and shows them.
void scroll_to(int scroll_x, int scroll_y)
{
    window_state s;
    if (window_get_state(pane, &s))
        return;
    int sq = grid.square_size;
    int most_x = max_of(0, grid.width * sq - (s.x1 - s.x0));
    int most_y = max_of(0, grid.height * sq - (s.y1 - s.y0));
    s.scroll_x = max_of(0, min_of(scroll_x, most_x));
    s.scroll_y = min_of(0, max_of(scroll_y, -most_y));
    window_open(&s);
}

void scroll_by(int dx, int dy)
{
    window_state s;
    if (!window_get_state(pane, &s))
        scroll_to(s.scroll_x + dx, s.scroll_y + dy);
}

// The least scroll that shows cell (col, row) whole.
void show_cell(int col, int row)
{
    window_state s;
    if (!pane || window_get_state(pane, &s))
        return;
    int sq = grid.square_size, width = s.x1 - s.x0, height = s.y1 - s.y0;
    int x = s.scroll_x, y = s.scroll_y;
    if (col * sq < x)
        x = col * sq;
    else if ((col + 1) * sq > x + width)
        x = (col + 1) * sq - width;
    if (-row * sq > y)
        y = -row * sq;
    else if (-(row + 1) * sq < y - height)
        y = -(row + 1) * sq + height;
    if (x != s.scroll_x || y != s.scroll_y)
        scroll_to(x, y);
}

void beep() { sound_write(7); }

// ---------------------------------------------------------------------
// Mouse.

int drag_col = -1, drag_row = -1;   // the pointer's cell at the last update

// The cell under a screen point (OS units): column and row may lie outside
// the grid (or be -1), unless `clamp` brings them inside.
void cell_at(int x, int y, int *col, int *row, bool clamp)
{
    window_state s;
    window_get_state(pane, &s);
    int sq = grid.square_size;
    int wx = x - s.x0 + s.scroll_x;
    int down = (s.y1 - y) - s.scroll_y;
    int c = wx >= 0 ? wx / sq : -1;
    int r = down - 4 >= 0 ? (down - 4) / sq : -1;
    if (clamp) {
        c = max_of(0, min_of(c, grid.width - 1));
        r = max_of(0, min_of(r, grid.height - 1));
    }
    *col = c;
    *row = r;
}

bool ctrl_held() { return GetKeyState(VK_CONTROL) < 0; }
bool shift_held() { return GetKeyState(VK_SHIFT) < 0; }

// Within one square of an edge of the visible area the pane scrolls one
// square that way.
void edge_scroll(int x, int y)
{
    window_state s;
    if (window_get_state(pane, &s))
        return;
    int sq = grid.square_size, dx = 0, dy = 0;
    if (x < s.x0 + sq)
        dx = -sq;
    else if (x > s.x1 - sq)
        dx = sq;
    if (y > s.y1 - sq)
        dy = sq;
    else if (y < s.y0 + sq)
        dy = -sq;
    if (dx || dy)
        scroll_by(dx, dy);
}

void drag_moved(intptr_t, intptr_t, int x, int y)
{
    int c, r;
    cell_at(x, y, &c, &r, true);
    if (c != drag_col || r != drag_row) {
        drag_col = c;
        drag_row = r;
        drag_update(c, r);
    }
    edge_scroll(x, y);
}

void drag_ended(intptr_t, intptr_t, int, int, int, int)
{
    drag_col = drag_row = -1;
    drag_end();
}

const error_block *start_marking(mouse_block *mouse)
{
    int c, r;
    cell_at(mouse->x, mouse->y, &c, &r, true);
    drag_col = drag_row = -1;
    drag_start(c, r);
    drag_block d{};
    d.window = pane;
    d.type = 5;   // an empty box: the marked cells themselves show the drag
    d.x0 = d.x1 = mouse->x;
    d.y0 = d.y1 = mouse->y;
    drag_set_callbacks(drag_ended, 0, 0, drag_moved);
    return drag_start(&d);
}

const error_block *pane_click(HWND, void *, mouse_block *mouse)
{
    SetFocus(pane);
    int c, r;
    cell_at(mouse->x, mouse->y, &c, &r, false);
    switch (mouse->buttons) {
    case BUTTON_SELECT:
        select_click(c, r, ctrl_held());
        break;
    case BUTTON_SELECT_DRAG:
        if (grid.grid_type == 0)
            return start_marking(mouse);
        break;
    case BUTTON_ADJUST:
        adjust_click(c, r, shift_held(), ctrl_held());
        break;
    }
    return nullptr;
}

// ---------------------------------------------------------------------
// Keys.

// Special keys (with the virtual-key bit) that the grid claims; the
// others pass on, and so become characters when they type one. A key
// without the bit is a typed character.
// A text box elsewhere in the window keeps its own keys.
bool text_box_has_focus()
{
    char name[16] = "";
    HWND focus = GetFocus();
    return focus && GetClassNameA(focus, name, sizeof name) && lstrcmpiA(name, "Edit") == 0;
}

const error_block *pane_key(HWND, void *, int, int *key)
{
    if (text_box_has_focus())
        return nullptr;
    int k = *key;
    // Alt with a letter is a menu's mnemonic, not typing (AltGr, which holds
    // Ctrl too, still types its characters).
    if (GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0)
        return nullptr;
    if (!(k & KEY_VIRTUAL)) {
        if (k == 27)
            set_stop();
        else
            type_character(k);
        *key = -1;
        return nullptr;
    }
    int sq = grid.square_size;
    bool crossword = grid.grid_type == 0;
    const error_block *e = nullptr;
    switch (k & ~KEY_VIRTUAL) {
    case VK_LEFT: cursor_left(); break;
    case VK_RIGHT: cursor_right(); break;
    case VK_UP: cursor_up(); break;
    case VK_DOWN: cursor_down(); break;
    case KEY_SHIFT | VK_LEFT: scroll_by(-sq, 0); break;
    case KEY_SHIFT | VK_RIGHT: scroll_by(sq, 0); break;
    case KEY_SHIFT | VK_UP: scroll_by(0, sq); break;
    case KEY_SHIFT | VK_DOWN: scroll_by(0, -sq); break;
    case VK_F5: if (crossword) reflect_vertical(); break;
    case VK_F6: if (crossword) reflect_horizontal(); break;
    case VK_F7: if (crossword) reflect_diagonal_slash(); break;
    case VK_F8: if (crossword) reflect_diagonal_backslash(); break;
    case VK_BACK: case VK_DELETE: delete_character(); break;
    case VK_ESCAPE: set_stop(); break;
    case KEY_CTRL | 'S': e = save_grid(); break;
    case KEY_CTRL | 'Z': grid_pane_undo(); break;
    case KEY_CTRL | 'Y': case KEY_CTRL | KEY_SHIFT | 'Z': grid_pane_redo(); break;
    default: return nullptr;
    }
    *key = -1;
    return e;
}

}  // namespace

void grid_pane_paint(HDC dc, int scroll_x, int scroll_y, int x0, int y0, int x1, int y1)
{
    mapping m{scroll_x, scroll_y};
    int sq = grid.square_size;
    RECT clip;
    GetClipBox(dc, &clip);
    // Outside the grid: the window's own face colour.
    fill(dc, clip.left, clip.top, clip.right, clip.bottom, GetSysColor(COLOR_APPWORKSPACE));
    int c0 = max_of(0, x0 / sq), c1 = min_of(grid.width - 1, x1 / sq);
    int r0 = max_of(0, -y1 / sq), r1 = min_of(grid.height - 1, -y0 / sq);
    if (c0 > c1 || r0 > r1)
        return;
    int ascent, font_height;
    HFONT font = letter_font(&ascent, &font_height, dc);
    for (int r = r0; r <= r1; r++)
        for (int c = c0; c <= c1; c++)
            draw_cell(dc, m, c, r, font, ascent, font_height);
    draw_lines(dc, m, c0, r0, c1, r1);
    DeleteObject(font);
}

const error_block *grid_pane_create(HWND parent, HWND *created)
{
    const error_block *e = window_create(258, "Grid", parent, &pane);
    *created = pane;
    // Letters typed on the grid are the grid's: dialog navigation would
    // take them as the button bar's mnemonics ("a" pressing Anagram).
    if (wdata *d = pane ? window_data(pane) : nullptr)
        d->flags |= WF_NONAV;
    if (!e)
        e = register_redraw(pane_redraw, pane, nullptr);
    if (!e)
        e = register_click(pane_click, pane, nullptr);
    if (!e)
        e = register_key(pane_key, pane, nullptr);
    if (!e)
        e = register_message_filter(EV_MSG_INSIDE, no_erase, pane, WM_ERASEBKGND, nullptr);
    if (!e)
        set_extent(grid.width * grid.square_size, grid.height * grid.square_size);
    return e;
}

const error_block *grid_pane_register_keys(HWND window) { return register_key(pane_key, window, nullptr); }

void grid_pane_install_hooks()
{
    grid_hooks.redraw_cells = update_cells;
    grid_hooks.redraw_grid = redraw_all;
    grid_hooks.set_extent = set_extent;
    grid_hooks.beep = beep;
    grid_hooks.show_cell = show_cell;
}

// Nothing to undo or redo, or a search still running, beeps.
void grid_pane_undo()
{
    if (!history_undo())
        beep();
}

void grid_pane_redo()
{
    if (!history_redo())
        beep();
}
