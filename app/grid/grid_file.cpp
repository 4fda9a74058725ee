// Reading and writing the grid file. Reading happens in two steps: the
// whole file goes into a staging image and is checked there; only a file
// that passes is taken over into the grid.
#include "app/grid/grid_file.h"

#include <cstring>

#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_dictionaries.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/history.h"
#include "toolkit/files/stream.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"

char loaded_version[grid_version_size + 1] = "";

namespace {

const char identifier[] = "Quillmere Grid";
const char version[] = "1.02";
const char date_text[] = "(14-Dec-2001)";

// Header offsets.
enum {
    at_identifier = 0, at_version = 24, at_date = 32, at_split = 216, at_window_width = 220,
    at_window_height = 224, at_min_word = 228, at_show = 232, at_directions = 236, at_type = 240,
    at_case = 244, at_spare = 248, at_caps = 252, at_width = 256, at_height = 260,
};

const int font_bytes = 84;
const int most_records = 4096;   // more dictionary records than this: damaged
const int side = grid_max_side;

// A file read and checked, not yet taken over.
struct grid_image {
    uint8_t header[grid_header_size];
    void *names;                  // heap block of grid_dictionary_name
    int name_count;
    uint8_t letters[side * side];     // column by column, height bytes each
    uint8_t attributes[side * side];
    bool has_appearance;
    bool old_bars;
    uint8_t appearance[grid_appearance_size];
};

grid_image image;

int32_t get32(const uint8_t *p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void put32(uint8_t *p, int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; i++)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

int32_t header_value(int offset) { return get32(image.header + offset); }

const error_block *corrupt() { return make_error0(ECR); }

// A short read means the file ended early: the file is damaged.
const error_block *read_exact(fs_stream *s, void *to, int length)
{
    return stream_read(s, to, length) ? corrupt() : nullptr;
}

const error_block *read_names(fs_stream *s)
{
    for (;;) {
        grid_dictionary_name record;
        if (const error_block *e = read_exact(s, record.bytes, grid_name_record))
            return e;
        if (record.bytes[0] == 0)
            return nullptr;
        if (image.name_count == most_records)
            return corrupt();
        int needed = (image.name_count + 1) * static_cast<int>(sizeof record);
        if (const error_block *e = heap_ensure(&image.names, needed, 32 * sizeof record))
            return e;
        static_cast<grid_dictionary_name *>(image.names)[image.name_count++] = record;
    }
}

const error_block *read_image(fs_stream *s)
{
    image.name_count = 0;
    if (const error_block *e = read_exact(s, image.header, grid_header_size))
        return e;
    int32_t w = header_value(at_width), h = header_value(at_height), t = header_value(at_type);
    if (w < grid_min_side || w > grid_max_side || h < grid_min_side || h > grid_max_side)
        return corrupt();
    if (t != 0 && t != 1)
        return corrupt();
    if (const error_block *e = read_names(s))
        return e;
    if (const error_block *e = read_exact(s, image.letters, w * h))
        return e;
    if (const error_block *e = read_exact(s, image.attributes, w * h))
        return e;
    char text[grid_version_size + 1] = {};
    memcpy(text, image.header + at_version, grid_version_size);
    image.old_bars = strncmp(text, "1.01", grid_version_size) < 0;
    image.has_appearance = strncmp(text, "1.02", grid_version_size) >= 0;
    if (image.has_appearance)
        return read_exact(s, image.appearance, grid_appearance_size);
    return nullptr;
}

font_spec take_font(const uint8_t *p)
{
    font_spec f{};
    f.height = get32(p);
    f.width = get32(p + 4);
    memcpy(f.face, p + 8, sizeof f.face);
    f.face[sizeof f.face - 1] = 0;   // a face name always ends within its field
    f.charset = static_cast<uint32_t>(get32(p + 72));
    f.weight = static_cast<uint32_t>(get32(p + 76));
    f.italic = static_cast<uint32_t>(get32(p + 80));
    return f;
}

void take_appearance()
{
    const uint8_t *p = image.appearance;
    debug_log("text height %d", grid.grid_font.height);
    grid.grid_font = take_font(p);
    debug_log("text height %d", grid.grid_font.height);
    grid.clue_font = take_font(p + font_bytes);
    p += 2 * font_bytes;
    grid.text_colour = static_cast<uint32_t>(get32(p));
    grid.grid_colour = static_cast<uint32_t>(get32(p + 4));
    grid.filled_colour = static_cast<uint32_t>(get32(p + 8));
    grid.background_colour = static_cast<uint32_t>(get32(p + 12));
    grid.square_percent = get32(p + 16);
}

void take_header()
{
    grid.width = header_value(at_width);
    grid.height = header_value(at_height);
    grid.picture_caps = header_value(at_caps);
    grid.spare_setting = header_value(at_spare);
    grid.case_mode = header_value(at_case);
    grid.loaded_grid_type = header_value(at_type);
    grid.show_solutions = header_value(at_show);
    grid.min_word_length = header_value(at_min_word);
    grid.fill_directions = static_cast<uint32_t>(header_value(at_directions));
    grid.window_width = header_value(at_window_width);
    grid.window_height = header_value(at_window_height);
    if (header_value(at_split) != 0)
        grid.split_fraction = header_value(at_split);
}

void take_cells()
{
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++) {
            int from = c * grid.height + r, to = grid_cell(c, r);
            uint8_t a = image.attributes[from];
            if ((a & cell_state_mask) == cell_marked)   // marks do not survive a load
                a &= static_cast<uint8_t>(~cell_state_mask);
            if (image.old_bars)
                a &= static_cast<uint8_t>(~(bar_left | bar_top));
            grid.letters[to] = image.letters[from];
            grid.attributes[to] = a;
        }
}

// The checked image becomes the grid. The old mark goes first, while the
// old size holds, so that no marked cell survives beyond a smaller edge.
void take_image()
{
    unmark();
    memcpy(loaded_version, image.header + at_version, grid_version_size);
    loaded_version[grid_version_size] = 0;
    grid_take_document_names(static_cast<const grid_dictionary_name *>(image.names), image.name_count);
    take_header();
    take_cells();
    if (image.has_appearance)
        take_appearance();
    else
        restore_defaults();
    update_square_size();
    grid_ui_set_extent(grid.width * grid.square_size, grid.height * grid.square_size);
    grid_ui_redraw_grid();
    unmark();
    discard_word_list();
    history_clear();   // the steps belonged to the grid that was replaced
    if (grid.window_width && grid.window_height)
        grid_ui_resize_main_window(grid.window_width, grid.window_height);
    remove_cursor();
}

void build_header(uint8_t *h)
{
    memset(h, 0, grid_header_size);
    memcpy(h + at_identifier, identifier, sizeof identifier);
    memcpy(h + at_version, version, sizeof version);
    memcpy(h + at_date, date_text, sizeof date_text);
    int32_t window_width = grid.window_width, window_height = grid.window_height;
    grid_ui_window_size(&window_width, &window_height);
    put32(h + at_split, grid.split_fraction);
    put32(h + at_window_width, window_width);
    put32(h + at_window_height, window_height);
    put32(h + at_min_word, grid.min_word_length);
    put32(h + at_show, grid.show_solutions);
    put32(h + at_directions, static_cast<int32_t>(grid.fill_directions));
    put32(h + at_type, grid.grid_type);
    put32(h + at_case, grid.case_mode);
    put32(h + at_spare, grid.spare_setting);
    put32(h + at_caps, grid.picture_caps);
    put32(h + at_width, grid.width);
    put32(h + at_height, grid.height);
}

void put_font(uint8_t *p, const font_spec &f)
{
    put32(p, f.height);
    put32(p + 4, f.width);
    memcpy(p + 8, f.face, sizeof f.face);
    put32(p + 72, static_cast<int32_t>(f.charset));
    put32(p + 76, static_cast<int32_t>(f.weight));
    put32(p + 80, static_cast<int32_t>(f.italic));
}

void build_appearance(uint8_t *p)
{
    put_font(p, grid.grid_font);
    put_font(p + font_bytes, grid.clue_font);
    p += 2 * font_bytes;
    put32(p, static_cast<int32_t>(grid.text_colour));
    put32(p + 4, static_cast<int32_t>(grid.grid_colour));
    put32(p + 8, static_cast<int32_t>(grid.filled_colour));
    put32(p + 12, static_cast<int32_t>(grid.background_colour));
    put32(p + 16, grid.square_percent);
}

const error_block *write_names(fs_stream *s)
{
    grid_dictionary_name names[grid_max_dictionaries];
    int n = grid_document_names(names, grid_max_dictionaries);
    for (int i = 0; i < n; i++)
        if (const error_block *e = stream_write(s, names[i].bytes, grid_name_record))
            return e;
    static const char end_record[grid_name_record] = {};
    return stream_write(s, end_record, grid_name_record);
}

const error_block *write_plane(fs_stream *s, const uint8_t *plane)
{
    for (int c = 0; c < grid.width; c++)
        if (const error_block *e = stream_write(s, plane + grid_cell(c, 0), grid.height))
            return e;
    return nullptr;
}

}  // namespace

const error_block *write_grid_stream(fs_stream *s)
{
    uint8_t header[grid_header_size];
    uint8_t appearance[grid_appearance_size];
    build_header(header);
    build_appearance(appearance);
    const error_block *e = stream_write(s, header, grid_header_size);
    if (!e)
        e = write_names(s);
    if (!e)
        e = write_plane(s, grid.letters);
    if (!e)
        e = write_plane(s, grid.attributes);
    if (!e)
        e = stream_write(s, appearance, grid_appearance_size);
    return e;
}

const error_block *save_grid_file(const char *path)
{
    fs_stream s{};
    if (const error_block *e = stream_open_safe(path, 4096, &s))
        return e;
    return stream_close(&s, write_grid_stream(&s));
}

const error_block *load_grid_stream(fs_stream *s)
{
    const error_block *e = read_image(s);
    if (!e)
        take_image();
    heap_dispose(&image.names);
    image.name_count = 0;
    return e;
}

const error_block *load_grid_file(const char *path)
{
    fs_stream s{};
    if (const error_block *e = stream_open(path, "r", 4096, &s))
        return e;
    const error_block *e = stream_close(&s, read_image(&s));
    if (!e)
        take_image();
    heap_dispose(&image.names);
    image.name_count = 0;
    return e;
}

const error_block *load_grid_bytes(const void *bytes, int length)
{
    if (length < 0 || (length > 0 && !bytes))
        return make_error0(5);
    fs_stream s{};
    const error_block *e = stream_open(nullptr, "w", 4096, &s);
    if (e)
        return e;
    if (length > 0)
        e = stream_write(&s, bytes, length);
    if (!e)
        e = stream_seek(&s, 0);
    if (!e)
        e = load_grid_stream(&s);
    return stream_close(&s, e);
}

int grid_file_size(int dictionaries)
{
    return grid_header_size + grid_name_record * (dictionaries + 1) + 2 * grid.width * grid.height +
           grid_appearance_size;
}
