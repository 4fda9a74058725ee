// The grid pictures: the drawing (prepare_picture, draw_picture) and the
// three metafile writers.
//
// The picture is drawn in units of 1/180 inch with y growing downwards;
// the drawing layer's OS y grows upwards, so every picture point (x, y) is
// given to it as (x, -y), and the contexts here map 180 device units to
// the inch, one device unit per picture unit. The geometry is the SVG
// writer's: a line at x covers the unit column x, a filled square covers
// S + 1 units so that it also hides the grid lines around it.
//
// Windows metafiles hold 16-bit coordinates, so a picture wider or higher
// than 32767 units cannot be written as one and is refused before any
// file is touched. Every writer builds its file in memory and replaces the
// target only once it is whole.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/grid/clues.h"
#include "app/grid/grid.h"
#include "app/grid/picture.h"
#include "app/grid/result_list.h"
#include "toolkit/drawing/drawing.h"
#include "toolkit/files/fileops.h"
#include "toolkit/files/files_os.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/text/cp1252.h"

namespace {

const int metafile_limit = 32767;   // the largest 16-bit coordinate
const int enhanced_type = 0x101, windows_type = 0x100, placeable_type = 0x102;

// The font record with its face name surely ended.
font_spec terminated(const font_spec &spec)
{
    font_spec copy = spec;
    copy.face[sizeof copy.face - 1] = 0;
    return copy;
}

const error_block *measure_font(const font_spec &spec, int *ascent, int *height)
{
    HFONT font = nullptr;
    font_spec copy = terminated(spec);
    if (const error_block *e = create_font(&copy, &font))
        return e;
    select_font(font);
    TEXTMETRICA metrics{};
    BOOL measured = GetTextMetricsA(drawing_current()->device, &metrics);
    delete_font(font);
    if (!measured)
        return os_error("GetTextMetrics", (int)GetLastError(), "%s", copy.face);
    *ascent = metrics.tmAscent;
    *height = metrics.tmHeight;
    return nullptr;
}

bool filled(int c, int r) { return (grid.attributes[grid_cell(c, r)] & cell_state_mask) == cell_filled; }

// A rectangle given with its top left corner in picture units.
void fill_picture_rectangle(int x, int y, int width, int height) { fill_rectangle(x, -y, width, -height); }

void grid_lines(int s)
{
    int right = grid.width * s, bottom = grid.height * s;
    set_colour(grid.grid_colour, 0);
    for (int i = 0; i <= grid.width; i++) {
        plot_move(i * s, 0);
        plot_draw(i * s, -bottom);
    }
    for (int j = 0; j <= grid.height; j++) {
        plot_move(0, -j * s);
        plot_draw(right, -j * s);
    }
}

void bars(int s)
{
    set_colour(grid.grid_colour, 0);
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++) {
            uint8_t a = grid.attributes[grid_cell(c, r)];
            if (a & bar_left)
                fill_picture_rectangle(c * s - 1, r * s, 2, s);
            if (a & bar_top)
                fill_picture_rectangle(c * s, r * s - 1, s, 2);
        }
}

void filled_squares(int s)
{
    set_colour(grid.filled_colour, 0);
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++)
            if (filled(c, r))
                fill_picture_rectangle(c * s, r * s, s + 1, s + 1);
}

struct number_place {
    int side, ascent;
};

void paint_number(const numbered_cell *cell, void *context)
{
    const number_place *p = static_cast<const number_place *>(context);
    char text[16];
    snprintf(text, sizeof text, "%d", cell->number);
    paint_text(text, TEXT_OS_UNITS, cell->col * p->side + 3, -(cell->row * p->side + p->ascent + 2));
}

const error_block *clue_numbers(const picture_measures &m)
{
    HFONT font = nullptr;
    font_spec spec = terminated(grid.clue_font);
    if (const error_block *e = create_font(&spec, &font))
        return e;
    set_text_colours(font, -1, grid.text_colour);
    set_text_align(0);
    number_place place{m.side, m.clue_ascent};
    number_grid(paint_number, &place);
    delete_font(font);
    return nullptr;
}

const error_block *letters(const picture_measures &m, bool crossword)
{
    HFONT font = nullptr;
    font_spec spec = terminated(grid.grid_font);
    if (const error_block *e = create_font(&spec, &font))
        return e;
    set_text_colours(font, -1, grid.text_colour);
    set_text_align(ALIGN_CENTRE);
    int s = m.side, baseline = m.grid_ascent + (s - m.grid_height) / 2;
    for (int r = 0; r < grid.height; r++)
        for (int c = 0; c < grid.width; c++) {
            unsigned char letter = grid.letters[grid_cell(c, r)];
            if (letter == ' ' || letter == 0 || (crossword && filled(c, r)))
                continue;
            char text[2] = {(char)(grid.picture_caps ? cp_upper(letter) : letter), 0};
            paint_text(text, TEXT_OS_UNITS, c * s + s / 2, -(r * s + baseline));
        }
    delete_font(font);
    return nullptr;
}

// A word without a position would give a line outside the picture: left
// out, as the SVG picture leaves it out.
void solution_lines(int s)
{
    set_colour(grid.grid_colour, 0);
    for (int i = 0; i < grid.word_count; i++) {
        const word_record *word = list_word(i);
        if (!word || word->col < 0 || word->row < 0)
            continue;
        int length = (int)strnlen(word->text, sizeof word->text);
        int last_col = word->col + word->col_step * (length - 1);
        int last_row = word->row + word->row_step * (length - 1);
        plot_move(word->col * s + s / 2, -(word->row * s + s / 2));
        plot_draw(last_col * s + s / 2, -(last_row * s + s / 2));
    }
}

int picture_width(const picture_measures &m) { return grid.width * m.side + 1; }
int picture_height(const picture_measures &m) { return grid.height * m.side + 1; }

const error_block *check_metafile_size(const picture_measures &m)
{
    if (picture_width(m) > metafile_limit || picture_height(m) > metafile_limit)
        return make_error_text(30, "The picture is too large for a metafile (%d x %d units of 1/180 inch; "
                                   "at most %d). Make the squares smaller.",
                               picture_width(m), picture_height(m), metafile_limit);
    return nullptr;
}

// Draws the picture into a metafile device: prepare, draw, and the drawing
// layer's context ended again whatever happened.
const error_block *draw_into(HDC dc, const picture_measures &m)
{
    drawing_context c;
    drawing_begin(&c, dc, 180, 180);
    const error_block *e = draw_picture(m);
    drawing_end(&c);
    return e;
}

// The Windows metafile's bytes, after `prefix` bytes left for a header.
const error_block *windows_metafile(const picture_measures &m, int prefix, uint8_t **bytes, int *length)
{
    HDC dc = CreateMetaFileA(nullptr);
    if (!dc)
        return os_error("CreateMetaFile", (int)GetLastError(), nullptr);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, picture_width(m), picture_height(m), nullptr);
    const error_block *e = draw_into(dc, m);
    HMETAFILE metafile = CloseMetaFile(dc);
    if (!metafile)
        return e ? e : os_error("CloseMetaFile", (int)GetLastError(), nullptr);
    if (!e) {
        UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
        uint8_t *block = size ? static_cast<uint8_t *>(std::malloc((size_t)size + prefix)) : nullptr;
        if (!size)
            e = os_error("GetMetaFileBitsEx", (int)GetLastError(), nullptr);
        else if (!block)
            e = make_error0(2);
        else if (GetMetaFileBitsEx(metafile, size, block + prefix) != size) {
            e = os_error("GetMetaFileBitsEx", (int)GetLastError(), nullptr);
            std::free(block);
        } else {
            *bytes = block;
            *length = (int)size + prefix;
        }
    }
    DeleteMetaFile(metafile);
    return e;
}

const error_block *save_windows_kind(const char *path, bool placeable)
{
    picture_measures m{};
    const error_block *e = prepare_picture(&m);
    if (!e)
        e = check_metafile_size(m);
    uint8_t *bytes = nullptr;
    int length = 0;
    int prefix = placeable ? 22 : 0;
    if (!e)
        e = windows_metafile(m, prefix, &bytes, &length);
    if (e)
        return e;
    if (placeable)
        placeable_header(picture_width(m), picture_height(m), bytes);
    e = fs_save_block_safely(path, placeable ? placeable_type : windows_type, bytes, length);
    std::free(bytes);
    return e;
}

// The frame: the picture's units taken as display pixels, in hundredths of
// a millimetre by the display's size and resolution.
RECT enhanced_frame(const picture_measures &m)
{
    HDC screen = GetDC(nullptr);
    int mm_x = screen ? GetDeviceCaps(screen, HORZSIZE) : 0, px_x = screen ? GetDeviceCaps(screen, HORZRES) : 0;
    int mm_y = screen ? GetDeviceCaps(screen, VERTSIZE) : 0, px_y = screen ? GetDeviceCaps(screen, VERTRES) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    RECT frame{0, 0, 0, 0};
    if (mm_x > 0 && px_x > 0 && mm_y > 0 && px_y > 0) {
        frame.right = MulDiv(picture_width(m), mm_x * 100, px_x);
        frame.bottom = MulDiv(picture_height(m), mm_y * 100, px_y);
    } else {   // no display to ask: 96 pixels to the inch
        frame.right = MulDiv(picture_width(m), 2540, 96);
        frame.bottom = MulDiv(picture_height(m), 2540, 96);
    }
    return frame;
}

}  // namespace

const error_block *prepare_picture(picture_measures *m)
{
    update_square_size();
    m->side = grid.square_size;
    debug_log("mfmeshx %d", m->side);
    // Measured on a memory device mapping 180 units to the inch, so the
    // metrics come out in picture units.
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return os_error("CreateCompatibleDC", (int)GetLastError(), nullptr);
    drawing_context c;
    drawing_begin(&c, dc, 180, 180);
    const error_block *e = measure_font(grid.grid_font, &m->grid_ascent, &m->grid_height);
    int clue_height = 0;
    if (!e)
        e = measure_font(grid.clue_font, &m->clue_ascent, &clue_height);
    drawing_end(&c);
    DeleteDC(dc);
    return e;
}

const error_block *draw_picture(const picture_measures &m)
{
    int s = m.side;
    bool crossword = grid.grid_type == 0;
    set_colour(grid.background_colour, 0);
    fill_picture_rectangle(0, 0, grid.width * s, grid.height * s);
    grid_lines(s);
    if (crossword) {
        bars(s);
        filled_squares(s);
        if (const error_block *e = clue_numbers(m))
            return e;
    }
    if (const error_block *e = letters(m, crossword))
        return e;
    if (!crossword && grid.show_solutions && grid.word_count > 0)
        solution_lines(s);
    return nullptr;
}

void placeable_header(int width, int height, uint8_t out[22])
{
    const uint16_t words[11] = {0xCDD7, 0x9AC6, 0, 0, 0, (uint16_t)width, (uint16_t)height, 120, 0, 0, 0};
    uint16_t sum = 0;
    for (int i = 0; i < 10; i++)
        sum ^= words[i];
    for (int i = 0; i < 10; i++) {
        out[2 * i] = (uint8_t)(words[i] & 0xFF);
        out[2 * i + 1] = (uint8_t)(words[i] >> 8);
    }
    out[20] = (uint8_t)(sum & 0xFF);
    out[21] = (uint8_t)(sum >> 8);
}

const error_block *save_metafile(const char *path) { return save_windows_kind(path, false); }

const error_block *save_placeable_metafile(const char *path) { return save_windows_kind(path, true); }

const error_block *save_enhanced_metafile(const char *path)
{
    picture_measures m{};
    if (const error_block *e = prepare_picture(&m))
        return e;
    RECT frame = enhanced_frame(m);
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, "Calendar\0");
    if (!dc)
        return os_error("CreateEnhMetaFile", (int)GetLastError(), "%s", path);
    const error_block *e = draw_into(dc, m);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    if (!metafile)
        return e ? e : os_error("CloseEnhMetaFile", (int)GetLastError(), "%s", path);
    if (!e) {
        UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
        uint8_t *bytes = size ? static_cast<uint8_t *>(std::malloc(size)) : nullptr;
        if (!size || (bytes && GetEnhMetaFileBits(metafile, size, bytes) != size))
            e = os_error("GetEnhMetaFileBits", (int)GetLastError(), "%s", path);
        else if (!bytes)
            e = make_error0(2);
        else
            e = fs_save_block_safely(path, enhanced_type, bytes, (int)size);
        std::free(bytes);
    }
    DeleteEnhMetaFile(metafile);
    return e;
}
