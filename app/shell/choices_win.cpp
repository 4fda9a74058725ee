// The user's choices: the dictionary and solutions fonts, the cursor and
// selected colours, the divider position and the maximum number of
// solutions, kept in a per-user choices file, and the font metrics that
// the panes derive from them.
//
// The choices file is 184 bytes, little-endian, no header: dictionary font
// (84), solutions font (84), cursor colour, selected colour,
// split_fraction, maximum solutions. Reading takes each field whole or not
// at all, so a short file leaves the missing settings as they were; a
// divider position or maximum outside its range (a damaged file) is
// treated as missing too.
// Writing goes through a temporary file beside the old one, so a failed
// save leaves the old choices intact.
#include <windows.h>
#include <cstdio>
#include <cstring>

#include "app/dictionary/search.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/grid_pane.h"
#include "app/shell/shell.h"
#include "app/shell/word_list.h"
#include "toolkit/events/window.h"
#include "toolkit/files/fileops.h"
#include "toolkit/files/files_os.h"
#include "toolkit/files/paths.h"
#include "toolkit/messages/error.h"

shell_choices choices = choices_built_in();
solutions_metrics metrics = {32, 32, 24, 16};
const char *choices_folder =
    "<HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quillmere.exe\\Path>\\"
    "Choices\\";

namespace {

const int file_size = 184;
const int font_bytes = 84;

font_spec built_in_font()
{
    font_spec f{};
    f.height = 128;   // 8 point
    strcpy(f.face, "Arial");
    f.weight = 400;
    return f;
}

int32_t word_at(const unsigned char *b) { return (int32_t)(b[0] | b[1] << 8 | b[2] << 16 | (uint32_t)b[3] << 24); }

void put_word(unsigned char *b, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[i] = (unsigned char)(v >> (8 * i));
}

font_spec font_at(const unsigned char *b)
{
    font_spec f{};
    f.height = word_at(b);
    f.width = word_at(b + 4);
    memcpy(f.face, b + 8, sizeof f.face);
    f.face[sizeof f.face - 1] = 0;
    f.charset = (uint32_t)word_at(b + 72);
    f.weight = (uint32_t)word_at(b + 76);
    f.italic = (uint32_t)word_at(b + 80);
    return f;
}

void put_font(unsigned char *b, const font_spec &f)
{
    put_word(b, (uint32_t)f.height);
    put_word(b + 4, (uint32_t)f.width);
    memset(b + 8, 0, 64);
    memcpy(b + 8, f.face, strnlen(f.face, 63));
    put_word(b + 72, f.charset);
    put_word(b + 76, f.weight);
    put_word(b + 80, f.italic);
}

// The path of the current user's choices file; false when the user name
// cannot be had (`error` then holds the query's error) or the path does
// not fit.
bool choices_path(char *path, int size, const error_block **error)
{
    char user[257];
    int code = grid_ui_login_name(user, sizeof user);
    if (code) {
        *error = os_error("GetUserName", code, nullptr);
        return false;
    }
    return snprintf(path, size, "%s%s.dat", choices_folder, user) < size;
}

// The live values go to the panes that keep their own copies.
void apply()
{
    grid_pane_cursor_colour = choices.cursor_colour;
    grid_pane_selected_colour = choices.selected_colour;
    maximum_solutions = choices.maximum_solutions;
    word_list_font = choices.dictionary_font;
}

struct font_metrics {
    TEXTMETRICA tm;
    int widest;   // pixels, among codes 32 to 254
};

font_metrics measure(const font_spec &font)
{
    font_metrics m{};
    HDC screen = GetDC(nullptr);
    HFONT f = choices_make_font(font, screen);
    HGDIOBJ old = SelectObject(screen, f);
    GetTextMetricsA(screen, &m.tm);
    INT widths[223];
    m.widest = m.tm.tmMaxCharWidth;
    if (GetCharWidth32A(screen, 32, 254, widths)) {
        m.widest = 0;
        for (int w : widths)
            m.widest = w > m.widest ? w : m.widest;
    }
    SelectObject(screen, old);
    DeleteObject(f);
    ReleaseDC(nullptr, screen);
    return m;
}

}  // namespace

shell_choices choices_built_in()
{
    return {built_in_font(), built_in_font(), 0xFFBB0000u, 0xBBEEEE00u, 1000};
}

HFONT choices_make_font(const font_spec &font, HDC dc)
{
    int height = MulDiv(font.height, GetDeviceCaps(dc, LOGPIXELSY), 16 * 72);
    int width = MulDiv(font.width, GetDeviceCaps(dc, LOGPIXELSX), 16 * 72);
    // A character set beyond a byte cannot name a platform set.
    BYTE set = font.charset > 255 ? DEFAULT_CHARSET : (BYTE)font.charset;
    char face[LF_FACESIZE] = {};
    if (strnlen(font.face, sizeof font.face) < sizeof face)
        strcpy(face, font.face);
    return CreateFontA(-(height > 0 ? height : 1), width > 0 ? width : 0, 0, 0, (int)font.weight,
                       font.italic != 0, 0, 0, set, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH, face);
}

void read_choices()
{
    choices.dictionary_font = built_in_font();
    choices.solutions_font = built_in_font();
    char path[FS_PATH_MAX];
    const error_block *e = nullptr;
    unsigned char bytes[file_size];
    int got = 0;
    if (choices_path(path, sizeof path, &e)) {
        char full[FS_PATH_MAX];
        fs_info info;
        if (!fs_expand_path(path, full, sizeof full) && !fs_file_info(full, &info) &&
            info.object_type == FS_FILE) {
            HANDLE f = CreateFileA(full, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            if (f != INVALID_HANDLE_VALUE) {
                DWORD n = 0;
                if (ReadFile(f, bytes, sizeof bytes, &n, nullptr))
                    got = (int)n;
                CloseHandle(f);
            }
        }
    }
    if (got >= font_bytes)
        choices.dictionary_font = font_at(bytes);
    if (got >= 2 * font_bytes)
        choices.solutions_font = font_at(bytes + font_bytes);
    if (got >= 172)
        choices.cursor_colour = (uint32_t)word_at(bytes + 168);
    if (got >= 176)
        choices.selected_colour = (uint32_t)word_at(bytes + 172);
    int32_t split = got >= 180 ? word_at(bytes + 176) : 0;
    if (split >= 3276 && split <= 62259)
        grid.split_fraction = split;
    int32_t maximum = got >= 184 ? word_at(bytes + 180) : 0;
    if (maximum >= 20 && maximum <= 1000000)
        choices.maximum_solutions = maximum;
    update_metrics();
}

// A choices file that cannot be written is reported: the user pressed
// Save and would otherwise believe the choices kept.
const error_block *write_choices()
{
    char path[FS_PATH_MAX];
    const error_block *e = nullptr;
    if (!choices_path(path, sizeof path, &e))
        return e ? e : make_error(30, "write_choices");
    unsigned char bytes[file_size];
    put_font(bytes, choices.dictionary_font);
    put_font(bytes + font_bytes, choices.solutions_font);
    put_word(bytes + 168, choices.cursor_colour);
    put_word(bytes + 172, choices.selected_colour);
    put_word(bytes + 176, (uint32_t)grid.split_fraction);
    put_word(bytes + 180, (uint32_t)choices.maximum_solutions);
    e = fs_save_block_safely(path, 0xFFD, bytes, file_size);
    if (e)
        return make_error_text(e->errnum, "The choices could not be saved: %.200s", e->errmess);
    return nullptr;
}

// Also hands the live choices to the panes that keep their own copies.
void update_metrics()
{
    apply();
    font_metrics s = measure(choices.solutions_font);
    metrics.ascent = os_from_px_y(s.tm.tmAscent);
    metrics.char_height = os_from_px_y(s.tm.tmHeight);
    metrics.line_height = os_from_px_y(s.tm.tmHeight + s.tm.tmExternalLeading);
    metrics.char_width = os_from_px_x(s.widest + 1);
}
