// Text through the current context: colours, alignment, output in OS units
// or 1/400 OS unit, and fonts sized for the context's device.
#include <windows.h>
#include <cstdlib>
#include <cstring>

#include "toolkit/drawing/drawing.h"
#include "toolkit/events/internal_win.h"

namespace {

// A text position: OS units with the flag, else 1/400 OS unit, converted
// with 400 times the origin and the scale (in 64 bits: 400 times a large
// origin does not fit 32).
device_point text_point(const drawing_context *c, int flags, int x, int y)
{
    if (flags & TEXT_OS_UNITS)
        return to_device_in(c, x, y);
    int64_t dx = (x - 400 * (int64_t)c->origin_x) * c->device_per_inch_x / (400 * (int64_t)c->os_per_inch_x);
    int64_t dy = (y - 400 * (int64_t)c->origin_y) * c->device_per_inch_y / -(400 * (int64_t)c->os_per_inch_y);
    return {(int)(dx + c->device_origin_x), (int)(dy + c->device_origin_y)};
}

// With "moves the current position" the platform draws at the current
// position, so it is put at the point first.
void place(const drawing_context *c, device_point p)
{
    if (GetTextAlign(c->device) & TA_UPDATECP)
        MoveToEx(c->device, p.x, p.y, nullptr);
}

int per_inch_y()
{
    if (drawing_context *c = drawing_current())
        return c->device_per_inch_y;
    HDC screen = GetDC(nullptr);
    int n = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return n > 0 ? n : 96;
}

int per_inch_x()
{
    if (drawing_context *c = drawing_current())
        return c->device_per_inch_x;
    HDC screen = GetDC(nullptr);
    int n = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return n > 0 ? n : 96;
}

// Sixteenths of a point to device units: 1152 make an inch.
int from_sixteenths(int value, int per_inch) { return (int)((int64_t)value * per_inch / 1152); }

const error_block *make_font(const char *face, int width, int height, int escapement, int weight,
                             bool italic, unsigned charset, HFONT *font)
{
    // A character set beyond a byte (the built-in records hold 400) cannot
    // name a platform set: it asks for the default one.
    BYTE set = charset > 255 ? DEFAULT_CHARSET : (BYTE)charset;
    // No platform face has a longer name than the platform's limit; a cut
    // name could pick an unrelated face that shares its start, so a name
    // that does not fit asks for the default face instead.
    char name[LF_FACESIZE] = {};
    if (face && strlen(face) < sizeof name)
        memcpy(name, face, strlen(face));
    // A negative height asks for the character height, without the
    // internal leading.
    *font = CreateFontA(-std::abs(height), std::abs(width), escapement, escapement, weight, italic, FALSE,
                        FALSE, set, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, name);
    return *font ? nullptr : win_error("CreateFont", "%s", name);
}

}  // namespace

void set_text_colours(HFONT font, int32_t background, uint32_t foreground)
{
    drawing_context *c = drawing_current();
    if (!c)
        return;
    if (font)
        select_font(font);
    SetTextColor(c->device, foreground >> 8);
    if (background == -1) {
        SetBkMode(c->device, TRANSPARENT);
    } else {
        SetBkMode(c->device, OPAQUE);
        SetBkColor(c->device, (uint32_t)background >> 8);
    }
}

void set_text_colour(uint32_t colour_word)
{
    if (drawing_context *c = drawing_current())
        SetTextColor(c->device, colour_word >> 8);
}

void set_text_align(int flags)
{
    drawing_context *c = drawing_current();
    if (!c)
        return;
    UINT align = flags & ALIGN_RIGHT ? TA_RIGHT : flags & ALIGN_CENTRE ? TA_CENTER : TA_LEFT;
    align |= flags & ALIGN_TOP ? TA_TOP : flags & ALIGN_BOTTOM ? TA_BOTTOM : TA_BASELINE;
    align |= flags & ALIGN_MOVES ? TA_UPDATECP : TA_NOUPDATECP;
    SetTextAlign(c->device, align);
}

void paint_text(const char *text, int flags, int x, int y)
{
    drawing_context *c = drawing_current();
    if (!c || !text)
        return;
    device_point p = text_point(c, flags, x, y);
    place(c, p);
    TextOutA(c->device, p.x, p.y, text, (int)strlen(text));
}

void paint_text_wide(const wchar_t *text, int flags, int x, int y)
{
    drawing_context *c = drawing_current();
    if (!c || !text)
        return;
    device_point p = text_point(c, flags, x, y);
    place(c, p);
    TextOutW(c->device, p.x, p.y, text, (int)wcslen(text));
}

void paint_text_transformed(const char *text, int flags, const text_transform *t)
{
    drawing_context *c = drawing_current();
    if (!c || !text || !t)
        return;
    device_point p = text_point(c, flags, t->x, t->y);
    int mode = SetGraphicsMode(c->device, GM_ADVANCED);
    XFORM old;
    bool had = GetWorldTransform(c->device, &old);
    // The factors act on coordinates with y upwards; the device's y runs
    // downwards, so the cross terms change sign.
    XFORM m;
    m.eM11 = t->a / 65536.0f;
    m.eM12 = -t->b / 65536.0f;
    m.eM21 = -t->c / 65536.0f;
    m.eM22 = t->d / 65536.0f;
    m.eDx = (float)p.x;
    m.eDy = (float)p.y;
    if (SetWorldTransform(c->device, &m)) {
        TextOutA(c->device, 0, 0, text, (int)strlen(text));
        if (had)
            SetWorldTransform(c->device, &old);
        else
            ModifyWorldTransform(c->device, nullptr, MWT_IDENTITY);
    } else {
        // A device without world transforms (a Windows metafile) gets the
        // text untransformed at its point.
        TextOutA(c->device, p.x, p.y, text, (int)strlen(text));
    }
    if (mode)
        SetGraphicsMode(c->device, mode);
}

const error_block *create_font(const font_spec *spec, HFONT *font)
{
    return make_font(spec->face, from_sixteenths(spec->width, per_inch_x()),
                     from_sixteenths(spec->height, per_inch_y()), 0, (int)spec->weight, spec->italic != 0,
                     spec->charset, font);
}

const error_block *create_font_named(const char *face, int width, int height, HFONT *font)
{
    return make_font(face, from_sixteenths(width, per_inch_x()), from_sixteenths(height, per_inch_y()), 0,
                     FW_NORMAL, false, DEFAULT_CHARSET, font);
}

const error_block *create_font_rotated(const char *face, int width, int height, int rotation, HFONT *font)
{
    int tenths = (int)((int64_t)rotation * 10 / 65536);
    return make_font(face, from_sixteenths(width, per_inch_x()), from_sixteenths(height, per_inch_y()), tenths,
                     FW_NORMAL, false, DEFAULT_CHARSET, font);
}

const error_block *create_font_device(const char *face, int width, int height, HFONT *font)
{
    return make_font(face, width, height, 0, FW_NORMAL, false, DEFAULT_CHARSET, font);
}

void select_font(HFONT font)
{
    drawing_context *c = drawing_current();
    if (!c || !font)
        return;
    HGDIOBJ old = SelectObject(c->device, font);
    if (!c->replaced_font)
        c->replaced_font = static_cast<HFONT>(old);
    c->font = font;
}

void delete_font(HFONT font)
{
    if (!font)
        return;
    for (drawing_context *c = drawing_first(); c; c = c->next)
        if (c->font == font) {
            SelectObject(c->device, c->replaced_font);
            c->font = nullptr;
        }
    DeleteObject(font);
}
