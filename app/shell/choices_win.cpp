// The user's choices that the panes use: the solutions font, the cursor
// and selected colours, the divider position and the maximum number of
// solutions, read at start-up from the per-user choices file, and the
// solutions font's metrics.
//
// The choices file is 184 bytes, little-endian: dictionary font (84),
// solutions font (84), cursor colour, selected colour, split_fraction,
// maximum solutions. A short file leaves the missing settings as they were.
#include <windows.h>
#include <cstdio>
#include <cstring>

#include "app/dictionary/search.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/grid_pane.h"
#include "app/shell/shell.h"
#include "toolkit/events/window.h"
#include "toolkit/files/paths.h"

shell_choices choices = {0xFFBB0000u, 0xBBEEEE00u, 1000, "Arial", 128};
solutions_metrics metrics = {32, 32, 24, 16};

namespace {

const char choices_path[] =
    "<HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quillmere.exe\\Path>\\"
    "Choices\\%s.dat";

int32_t word_at(const unsigned char *b) { return (int32_t)(b[0] | b[1] << 8 | b[2] << 16 | (uint32_t)b[3] << 24); }

void apply()
{
    grid_pane_cursor_colour = choices.cursor_colour;
    grid_pane_selected_colour = choices.selected_colour;
    maximum_solutions = choices.maximum_solutions;
}

}  // namespace

void read_choices()
{
    char user[257], reference[600], path[FS_PATH_MAX];
    if (!grid_ui_login_name(user, sizeof user) && snprintf(reference, sizeof reference, choices_path, user) <
                                                       (int)sizeof reference &&
        !fs_expand_path(reference, path, sizeof path)) {
        HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            unsigned char bytes[184];
            DWORD got = 0;
            ReadFile(f, bytes, sizeof bytes, &got, nullptr);
            CloseHandle(f);
            if (got >= 168) {
                choices.solutions_height = word_at(bytes + 84);
                memcpy(choices.solutions_face, bytes + 92, 63);
                choices.solutions_face[63] = 0;
            }
            if (got >= 172)
                choices.cursor_colour = (uint32_t)word_at(bytes + 168);
            if (got >= 176)
                choices.selected_colour = (uint32_t)word_at(bytes + 172);
            if (got >= 180)
                grid.split_fraction = word_at(bytes + 176);
            if (got >= 184)
                choices.maximum_solutions = word_at(bytes + 180);
        }
    }
    apply();
    update_metrics();
}

void update_metrics()
{
    HDC screen = GetDC(nullptr);
    int height = MulDiv(choices.solutions_height, GetDeviceCaps(screen, LOGPIXELSY), 16 * 72);
    HFONT font = CreateFontA(-(height > 0 ? height : 1), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                             choices.solutions_face);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA tm;
    GetTextMetricsA(screen, &tm);
    INT widths[223];
    int widest = tm.tmMaxCharWidth;
    if (GetCharWidth32A(screen, 32, 254, widths)) {
        widest = 0;
        for (int w : widths)
            widest = w > widest ? w : widest;
    }
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    metrics.ascent = os_from_px_y(tm.tmAscent);
    metrics.char_height = os_from_px_y(tm.tmHeight);
    metrics.line_height = os_from_px_y(tm.tmHeight + tm.tmExternalLeading);
    metrics.char_width = os_from_px_x(widest + 1);
}
