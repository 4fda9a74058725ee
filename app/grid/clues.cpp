// Clue numbering, the clue list and the Wordsquare word list.
#include "app/grid/clues.h"

#include <cstdio>
#include <cstring>

#include "app/grid/grid.h"
#include "app/grid/result_list.h"
#include "toolkit/files/stream.h"

namespace {

uint8_t &attribute(int c, int r) { return grid.attributes[grid_cell(c, r)]; }
bool filled(int c, int r) { return (attribute(c, r) & cell_state_mask) == cell_filled; }

void numbering_setup()
{
    for (int c = 0; c < grid.width; c++)
        for (int r = 0; r < grid.height; r++) {
            uint8_t &a = attribute(c, r);
            a = filled(c, r) ? a | across_numbered | down_numbered
                             : a & ~(across_numbered | down_numbered);
        }
}

bool across_start(int c, int r)
{
    return !(attribute(c, r) & across_numbered) && c < grid.width - 1 &&
           !(attribute(c + 1, r) & (across_numbered | bar_left));
}

bool down_start(int c, int r)
{
    return !(attribute(c, r) & down_numbered) && r < grid.height - 1 &&
           !(attribute(c, r + 1) & (down_numbered | bar_top));
}

// Marks the run from (c, r) in steps (dc, dr) with `bit`, stopping at the
// edge, a filled cell, a bar before a cell after the first, or a cell
// already marked (filled cells are); returns the cells marked.
int mark_run(int c, int r, int dc, int dr, uint8_t bit, uint8_t bar)
{
    int n = 0;
    while (c < grid.width && r < grid.height && !(attribute(c, r) & bit) &&
           (n == 0 || !(attribute(c, r) & bar))) {
        attribute(c, r) |= bit;
        n++;
        c += dc;
        r += dr;
    }
    return n;
}

struct clue_writer {
    fs_stream *stream;
    bool down;            // which entries this pass writes
    int written;          // entries written in this pass
    const error_block *error;
};

void put(clue_writer *w, const char *bytes, int length)
{
    if (!w->error)
        w->error = stream_write(w->stream, bytes, length);
}

void write_entry(const numbered_cell *cell, void *context)
{
    clue_writer *w = static_cast<clue_writer *>(context);
    int length = w->down ? cell->down_length : cell->across_length;
    if (length < 2)
        return;
    if (w->written++ == 0) {
        if (w->down)
            put(w, "Clues down.\n\n", 13);
        else
            put(w, "Clues across.\r\n", 15);
    }
    char number[16];
    put(w, number, snprintf(number, sizeof number, "%d. ", cell->number));
    for (int i = 0; i < length; i++) {
        int c = cell->col + (w->down ? 0 : i), r = cell->row + (w->down ? i : 0);
        put(w, reinterpret_cast<const char *>(&grid.letters[grid_cell(c, r)]), 1);
    }
    put(w, "\n", 1);
}

typedef const error_block *(*stream_writer)(fs_stream *stream);

const error_block *write_file(const char *path, stream_writer write)
{
    fs_stream s{};
    if (const error_block *e = stream_open_safe(path, 4096, &s))
        return e;
    return stream_close(&s, write(&s));
}

}  // namespace

int number_grid(numbered_cell_visitor visit, void *context)
{
    numbering_setup();
    int n = 0;
    for (int r = 0; r < grid.height; r++)
        for (int c = 0; c < grid.width; c++) {
            if (filled(c, r) || !(across_start(c, r) || down_start(c, r)))
                continue;
            numbered_cell cell{c, r, ++n, 0, 0};
            int across = mark_run(c, r, 1, 0, across_numbered, bar_left);
            int down = mark_run(c, r, 0, 1, down_numbered, bar_top);
            cell.across_length = across >= 2 ? across : 0;
            cell.down_length = down >= 2 ? down : 0;
            if (visit)
                visit(&cell, context);
        }
    return n;
}

const error_block *write_clues_stream(fs_stream *stream)
{
    clue_writer across{stream, false, 0, nullptr};
    number_grid(write_entry, &across);
    if (across.written)
        put(&across, "\n", 1);
    if (across.error)
        return across.error;
    clue_writer down{stream, true, 0, nullptr};
    number_grid(write_entry, &down);
    return down.error;
}

const error_block *write_word_list_stream(fs_stream *stream)
{
    for (int i = 0; i < grid.word_count; i++) {
        const word_record *w = list_word(i);
        if (!w)
            continue;
        if (const error_block *e = stream_write(stream, w->text, static_cast<int>(strnlen(w->text, sizeof w->text))))
            return e;
        if (const error_block *e = stream_putc(stream, '\n'))
            return e;
    }
    return nullptr;
}

const error_block *write_clues(const char *path) { return write_file(path, write_clues_stream); }
const error_block *write_word_list(const char *path) { return write_file(path, write_word_list_stream); }

const error_block *save_clues(const char *path)
{
    return grid.grid_type == 1 ? write_word_list(path) : write_clues(path);
}
