// Painting an "abx" control: the background pass (the `F` fill with the
// `k` colour) and the drawing pass over the commands of its validation
// string, in order, with the `O` conditions gating `E`, `s` and `a` (and
// `k` while erasing); sprites from the pool, the program's icons, image
// lists; then the focus rectangle.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "toolkit/events/abx.h"
#include "toolkit/events/abx_internal_win.h"
#include "toolkit/events/internal_win.h"
#include "toolkit/events/sprites.h"
#include "toolkit/messages/messages.h"

namespace {

std::map<int, HIMAGELIST> image_lists;

// One command of a validation string, value undoubled.
struct command {
    char letter;
    std::string value;
};

// Splits the string into commands; text before the first single
// backslash is an `s` command.
std::vector<command> commands_of(const std::string &v)
{
    std::vector<command> out;
    command c{'s', {}};
    size_t at = 0;
    bool leading = true;
    for (;;) {
        while (at < v.size() && !(v[at] == '\\' && !(at + 1 < v.size() && v[at + 1] == '\\'))) {
            c.value.push_back(v[at]);
            at += v[at] == '\\' ? 2 : 1;
        }
        if (!leading || !c.value.empty())
            out.push_back(c);
        leading = false;
        if (at + 1 >= v.size())
            return out;
        c = {v[at + 1], {}};
        at += 2;
    }
}

// Numbers are written in C's forms ("-1", "0x%x"); a value too large for
// 32 bits keeps its low 32 bits, as a colour word must.
uint32_t number(const std::string &value)
{
    return (uint32_t)strtoll(value.c_str(), nullptr, 0);
}

// The `O` condition, left to right: letters replace the result, `!`
// negates the next letter, `+` ORs it in and `-` ANDs it in.
bool condition(const std::string &value, int state, bool *tested_disabled)
{
    bool result = true, negate = false;
    char op = 0;
    for (char c : value) {
        bool letter;
        switch (c) {
        case '!': negate = !negate; continue;
        case '+': case '-': op = c; continue;
        case 'S': letter = state & ABX_SELECTED; break;
        case 'P': letter = state & ABX_PRESSED; break;
        case 'F': letter = state & ABX_FOCUS; break;
        case 'G': letter = state & ABX_DISABLED; *tested_disabled = true; break;
        case 'M': letter = state & 8; break;   // no operation sets it
        case '1': letter = true; break;
        case '0': letter = false; break;
        default: continue;
        }
        if (negate)
            letter = !letter;
        result = op == '+' ? result || letter : op == '-' ? result && letter : letter;
        negate = false;
        op = 0;
    }
    return result;
}

// The sprite's bits per pixel, from its mode: old mode numbers, or a mode
// word with the type in bits 27-31. 0 for what cannot be drawn.
int bits_per_pixel(uint32_t mode)
{
    if (mode < 256) {
        switch (mode) {
        case 0: case 4: case 18: case 23: case 25: return 1;
        case 1: case 5: case 8: case 11: case 19: case 26: return 2;
        case 9: case 12: case 20: case 27: return 4;
        case 10: case 13: case 15: case 21: case 24: case 28: return 8;
        }
        return 0;
    }
    switch (mode >> 27) {
    case 1: return 1;
    case 2: return 2;
    case 3: return 4;
    case 4: return 8;
    case 6: return 32;
    }
    return 0;
}

COLORREF greyed(COLORREF c)
{
    int grey = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
    grey = 128 + grey / 2;
    return RGB(grey, grey, grey);
}

uint32_t bits_at(const unsigned char *row, int bit, int count)
{
    uint32_t word;
    memcpy(&word, row + (bit / 32) * 4, 4);
    return (word >> (bit % 32)) & ((count == 32) ? 0xFFFFFFFFu : ((1u << count) - 1));
}

// A sprite's layout, checked against the sprite's own length (loading
// only checked that each sprite lies inside its file).
struct sprite_layout {
    int bpp, width, height, row_bytes;
    bool new_format, masked;
    int mask_bpp, mask_row;
    int palette_entries;
};

bool layout_of(const sprite_header *s, sprite_layout *l)
{
    const int header = (int)sizeof(sprite_header);
    l->bpp = bits_per_pixel((uint32_t)s->mode);
    if (!l->bpp || s->first_bit < 0 || s->first_bit > 31 || s->last_bit < 0 || s->last_bit > 31 ||
        s->width_words < 0 || s->width_words > 4095 || s->height < 0 || s->height > 4095)
        return false;
    l->row_bytes = (s->width_words + 1) * 4;
    l->width = ((s->width_words + 1) * 32 - s->first_bit - (31 - s->last_bit)) / l->bpp;
    l->height = s->height + 1;
    if (l->width <= 0)
        return false;
    l->new_format = (uint32_t)s->mode >= 256;
    l->mask_bpp = l->new_format ? 1 : l->bpp;
    l->mask_row = l->new_format ? ((l->width + 31) / 32) * 4 : l->row_bytes;
    if (s->image < header || (int64_t)s->image + (int64_t)l->row_bytes * l->height > s->next)
        return false;
    l->masked = s->mask != s->image && s->mask >= header &&
                (int64_t)s->mask + (int64_t)l->mask_row * l->height <= s->next;
    int palette_end = l->masked ? std::min(s->image, s->mask) : s->image;
    l->palette_entries = (palette_end - header) / 8;
    return true;
}

// The sprite's colour for a pixel value: its own palette, else the
// desktop's defaults for two, four and sixteen colours.
COLORREF sprite_colour(const sprite_header *s, const sprite_layout &l, uint32_t value)
{
    if (l.bpp == 32)
        return value & 0xFFFFFF;
    if ((int)value < l.palette_entries) {
        uint32_t word;
        memcpy(&word, reinterpret_cast<const unsigned char *>(s) + sizeof(sprite_header) + value * 8, 4);
        return word >> 8;
    }
    if (l.bpp == 1)
        return value ? RGB(0, 0, 0) : RGB(255, 255, 255);
    if (l.bpp == 2) {
        static const COLORREF four[4] = {RGB(255, 255, 255), RGB(0xBB, 0xBB, 0xBB), RGB(0x77, 0x77, 0x77), 0};
        return four[value];
    }
    COLORREF c = 0;
    toolkit_colour(2 + (value & 15), false, &c);
    return c;
}

// Draws a pool sprite with its top left at (x, y), one pixel per pixel.
void draw_sprite(HDC dc, const sprite_header *s, const sprite_layout &l, int x, int y, bool grey)
{
    const unsigned char *base = reinterpret_cast<const unsigned char *>(s);
    for (int r = 0; r < l.height; r++) {
        const unsigned char *row = base + s->image + r * l.row_bytes;
        const unsigned char *mrow = base + s->mask + r * l.mask_row;
        for (int c = 0; c < l.width; c++) {
            if (l.masked && !bits_at(mrow, l.new_format ? c : s->first_bit + c * l.mask_bpp, l.mask_bpp))
                continue;
            COLORREF colour = sprite_colour(s, l, bits_at(row, s->first_bit + c * l.bpp, l.bpp));
            SetPixelV(dc, x + c, y + r, grey ? greyed(colour) : colour);
        }
    }
}

struct painter {
    HDC dc;
    RECT rect;               // shrinks inside borders
    POINT at;                // the current position
    int halign = 0, valign = 0;   // 0 left/top, 1 centre/middle, 2 right/bottom
    COLORREF text, background;
    bool text_none = false;
    HFONT font, underlined = nullptr;
    bool underline = false;
    int state;
    bool holds = true;       // the current condition
    bool normal = false;     // a condition tested `G`: draw normally when disabled

    // The top left of an item of `size` placed at the position.
    POINT place(SIZE size, bool centre_in_rect) const
    {
        POINT p;
        p.x = halign == 0 ? at.x : halign == 1 ? at.x - size.cx / 2 : at.x - size.cx;
        if (centre_in_rect && valign == 1)
            p.y = rect.top + (rect.bottom - rect.top - size.cy) / 2;
        else
            p.y = valign == 0 ? at.y : valign == 1 ? at.y - size.cy / 2 : at.y - size.cy;
        return p;
    }

    void keep_inside()
    {
        at.x = std::max(rect.left, std::min(at.x, rect.right));
        at.y = std::max(rect.top, std::min(at.y, rect.bottom));
    }

    void border(int kind)
    {
        static const UINT edges[4] = {EDGE_BUMP, EDGE_ETCHED, EDGE_RAISED, EDGE_SUNKEN};
        if (kind >= 0 && kind <= 3) {
            DrawEdge(dc, &rect, edges[kind], BF_RECT | BF_ADJUST);
        } else if (kind == 4) {
            HBRUSH b = CreateSolidBrush(text);
            FrameRect(dc, &rect, b);
            DeleteObject(b);
            InflateRect(&rect, -1, -1);
        }
        keep_inside();
    }

    HFONT current_font()
    {
        if (!underline)
            return font;
        if (!underlined) {
            LOGFONTA lf = {};
            GetObjectA(font, sizeof lf, &lf);
            lf.lfUnderline = TRUE;
            underlined = CreateFontIndirectA(&lf);
        }
        return underlined ? underlined : font;
    }

    void draw_text(const std::string &value)
    {
        char buffer[1024];
        snprintf(buffer, sizeof buffer, "%s", value.c_str());
        expand_tokens(buffer, sizeof buffer);
        int n = (int)strlen(buffer);
        HGDIOBJ old = SelectObject(dc, current_font());
        SIZE size;
        GetTextExtentPoint32A(dc, buffer, n, &size);
        POINT p = place(size, true);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        if ((state & ABX_DISABLED) && !normal) {
            SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
            ExtTextOutA(dc, p.x + 1, p.y + 1, ETO_CLIPPED, &rect, buffer, n, nullptr);
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        } else {
            SetTextColor(dc, text);
        }
        ExtTextOutA(dc, p.x, p.y, ETO_CLIPPED, &rect, buffer, n, nullptr);
        SelectObject(dc, old);
    }

    void advance(POINT p, SIZE size) { at.x = p.x + size.cx; }

    void sprite(const std::string &name)
    {
        const sprite_header *s = sprite_find(name.c_str());
        if (!s)
            return;
        sprite_layout l;
        if (!layout_of(s, &l))
            return;
        SIZE size = {l.width, l.height};
        POINT p = place(size, false);
        draw_sprite(dc, s, l, p.x, p.y, (state & ABX_DISABLED) && !normal);
        advance(p, size);
    }

    void icon(const std::string &name, int side)
    {
        HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_ICON, side, side, 0));
        if (!icon)
            return;
        SIZE size = {side, side};
        POINT p = place(size, false);
        DrawIconEx(dc, p.x, p.y, icon, side, side, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
        advance(p, size);
    }

    void image(const std::string &value)
    {
        char *end = nullptr;
        long list = strtol(value.c_str(), &end, 0);
        while (*end && !(*end == '-' || (*end >= '0' && *end <= '9')))
            end++;
        long index = strtol(end, nullptr, 0);
        auto found = image_lists.find((int)list);
        if (found == image_lists.end() || !found->second)
            return;
        int w = 0, h = 0;
        ImageList_GetIconSize(found->second, &w, &h);
        SIZE size = {w, h};
        POINT p = place(size, false);
        p.y = rect.top + (rect.bottom - rect.top - h) / 2;
        ImageList_Draw(found->second, (int)index, dc, p.x, p.y, ILD_TRANSPARENT);
        advance(p, size);
    }

    void colour(const std::string &value, COLORREF *out, bool *none)
    {
        COLORREF c;
        bool has = toolkit_colour(number(value), false, &c);
        if (none)
            *none = !has;
        if (has)
            *out = c;
    }
};

void start(painter *p, HDC dc, const RECT &r, int state, HFONT font)
{
    p->dc = dc;
    p->rect = r;
    p->at = {r.left, r.top};
    p->text = GetSysColor(COLOR_MENUTEXT);
    p->background = GetSysColor(COLOR_BTNFACE);
    p->font = font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    p->state = state;
}

}  // namespace

void abx_set_image_list(int number, void *list)
{
    if (list)
        image_lists[number] = static_cast<HIMAGELIST>(list);
    else
        image_lists.erase(number);
}

bool abx_erase(const std::string &validation, int state, HDC dc, const RECT &r)
{
    painter p;
    start(&p, dc, r, state, nullptr);
    bool filled = false;
    bool has_colour = true;
    for (const command &c : commands_of(validation)) {
        switch (c.letter) {
        case 'O': p.holds = condition(c.value, state, &p.normal); break;
        case 'k':
            if (p.holds) {
                COLORREF colour;
                has_colour = toolkit_colour(number(c.value), false, &colour);
                if (has_colour)
                    p.background = colour;
            }
            break;
        case 'F':
            if (has_colour) {
                HBRUSH b = CreateSolidBrush(p.background);
                FillRect(dc, &r, b);
                DeleteObject(b);
                filled = true;
            }
            break;
        }
    }
    return filled;
}

void abx_draw(const std::string &validation, int state, HDC dc, const RECT &r, HFONT font)
{
    painter p;
    start(&p, dc, r, state, font);
    int saved = SaveDC(dc);
    for (const command &c : commands_of(validation)) {
        switch (c.letter) {
        case 'L': p.halign = 0; p.at.x = p.rect.left; break;
        case 'C': p.halign = 1; p.at.x = (p.rect.left + p.rect.right) / 2; break;
        case 'R': p.halign = 2; p.at.x = p.rect.right; break;
        case 'T': p.valign = 0; p.at.y = p.rect.top; break;
        case 'V': p.valign = 1; p.at.y = (p.rect.top + p.rect.bottom) / 2; break;
        case 'B': p.valign = 2; p.at.y = p.rect.bottom; break;
        case 'E': if (p.holds) p.border((int)number(c.value)); break;
        case 'g': p.colour(c.value, &p.text, nullptr); break;
        case 'k': p.colour(c.value, &p.background, nullptr); break;
        case 's': if (p.holds) p.draw_text(c.value); break;
        case 'a': if (p.holds) p.sprite(c.value); break;
        case 'I': p.icon(c.value, 32); break;
        case 'i': p.icon(c.value, 16); break;
        case 'l': p.image(c.value); break;
        case 't': p.at.x += (int)number(c.value); break;
        case 'u': p.underline = number(c.value) == 1; break;
        case 'O':
            p.normal = false;
            p.holds = condition(c.value, state, &p.normal);
            break;
        }
    }
    if (state & ABX_FOCUS) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &p.rect);
    }
    if (p.underlined)
        DeleteObject(p.underlined);
    RestoreDC(dc, saved);
}
