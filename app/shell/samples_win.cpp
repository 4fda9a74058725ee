// Colour and font samples, and the platform's colour and font choosers that
// the Choices and Customise windows open on their working copies.
//
// A sample is an "abx" control: its fill colour (`k`) shows a colour; a
// font sample also draws its text (`s`, "ABCabc123") at the left edge,
// centred vertically, in its text colour (`g`) and in the font given to
// the control. Colour words (0xBBGGRR00) become toolkit colours by setting
// the low byte to 1, which reads the upper three bytes as a platform
// colour.
#include <windows.h>
#include <commdlg.h>
#include <cstring>

#include "app/shell/choices.h"
#include "app/shell/shell.h"
#include "toolkit/events/abx.h"
#include "toolkit/events/events.h"
#include "toolkit/events/window.h"

bool (*pick_colour)(HWND owner, uint32_t *colour_word) = platform_pick_colour;
bool (*pick_font)(HWND owner, font_spec *font) = platform_pick_font;

namespace {

uint32_t toolkit_colour(uint32_t colour_word) { return (colour_word & 0xFFFFFF00u) | 1; }

COLORREF platform_colour(uint32_t colour_word) { return colour_word >> 8; }

COLORREF custom_colours[16];   // the chooser's custom colours, kept for the run

}  // namespace

bool platform_pick_colour(HWND owner, uint32_t *colour_word)
{
    CHOOSECOLORA c{};
    c.lStructSize = sizeof c;
    c.hwndOwner = owner;
    c.rgbResult = platform_colour(*colour_word);
    c.lpCustColors = custom_colours;
    c.Flags = CC_RGBINIT | CC_ANYCOLOR | CC_FULLOPEN;
    if (!ChooseColorA(&c))
        return false;
    *colour_word = (uint32_t)(c.rgbResult & 0xFFFFFF) << 8;
    return true;
}

// The chooser works in pixels of the display; the record keeps sixteenths
// of a point and a 64-byte face name.
bool platform_pick_font(HWND owner, font_spec *font)
{
    HDC screen = GetDC(nullptr);
    int per_inch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(font->height, per_inch, 16 * 72);
    lf.lfWeight = (LONG)font->weight;
    lf.lfItalic = font->italic != 0;
    lf.lfCharSet = font->charset > 255 ? DEFAULT_CHARSET : (BYTE)font->charset;
    if (strnlen(font->face, sizeof font->face) < sizeof lf.lfFaceName)
        strcpy(lf.lfFaceName, font->face);
    CHOOSEFONTA c{};
    c.lStructSize = sizeof c;
    c.hwndOwner = owner;
    c.lpLogFont = &lf;
    c.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontA(&c))
        return false;
    // The point size comes in tenths of a point.
    font->height = c.iPointSize > 0 ? c.iPointSize * 16 / 10 : MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight,
                                                                      16 * 72, per_inch);
    font->width = 0;
    memset(font->face, 0, sizeof font->face);
    memcpy(font->face, lf.lfFaceName, strnlen(lf.lfFaceName, sizeof lf.lfFaceName - 1));
    font->charset = lf.lfCharSet;
    font->weight = (uint32_t)lf.lfWeight;
    font->italic = lf.lfItalic != 0;
    return true;
}

void sample_show_colour(HWND window, int icon, uint32_t colour_word)
{
    abx_set_colour(window, icon, 'k', toolkit_colour(colour_word));
}

void sample_show_font(HWND window, int icon, const font_spec &font, uint32_t text_colour,
                      uint32_t background_colour, HFONT *held)
{
    HDC screen = GetDC(nullptr);
    HFONT f = choices_make_font(font, screen);
    ReleaseDC(nullptr, screen);
    SendDlgItemMessageA(window, icon, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    sample_release(held);
    *held = f;
    abx_set_colour(window, icon, 'g', toolkit_colour(text_colour));
    abx_set_colour(window, icon, 'k', toolkit_colour(background_colour));
}

void sample_release(HFONT *held)
{
    if (*held)
        DeleteObject(*held);
    *held = nullptr;
}

namespace {

void sample_window_release(sample_window *s)
{
    deregister_click(s->click, s->window, nullptr);
    deregister_key(s->key, s->window, nullptr);
    deregister_close(s->close, s->window, nullptr);
    for (HFONT &f : s->fonts)
        sample_release(&f);
}

}  // namespace

const error_block *sample_window_open(sample_window *s, int caret_icon)
{
    const error_block *e = register_click(s->click, s->window, nullptr);
    if (!e)
        e = register_key(s->key, s->window, nullptr);
    if (!e)
        e = register_close(s->close, s->window, nullptr);
    if (!e)
        e = window_open_centred(s->window);
    if (e) {
        sample_window_release(s);
        window_delete(s->window);
        s->window = nullptr;
        return e;
    }
    EnableWindow(main_window, FALSE);
    SetForegroundWindow(s->window);
    return caret_set(s->window, caret_icon, 0, -1);
}

const error_block *sample_window_close(sample_window *s)
{
    EnableWindow(main_window, TRUE);
    sample_window_release(s);
    HWND w = s->window;
    s->window = nullptr;
    const error_block *e = window_delete(w);
    SetForegroundWindow(main_window);
    return e;
}
