// The result list: one flex block of crossword solution rows or Wordsquare
// word records, grown a row at a time in 2048-byte steps, and the stop flag.
#include "app/grid/result_list.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "app/grid/app_errors.h"
#include "app/grid/grid_hooks.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/text/cp1252.h"

int32_t list_columns = 1;

namespace {

// The list's current shape. A row of 14 codes is as long as a word record,
// so the shape is kept on its own rather than read from the entry size.
enum list_shape { shape_empty, shape_codes, shape_words };
list_shape shape = shape_empty;
int row_bytes = 0;        // bytes per entry of the list's current shape; 0 empty
bool row_open = false;    // the newest crossword row may take codes
int stop_flag = 0;

// Grows the block to hold one more entry of `bytes` bytes.
const error_block *grow_by_one(int bytes)
{
    if (grid.word_count >= INT_MAX / bytes - 1)
        return make_error0(2);
    return flex_ensure(&grid.word_list, (grid.word_count + 1) * bytes, result_list_step);
}

bool holds_words() { return shape == shape_words; }

int compare_upper(const void *a, const void *b)
{
    const unsigned char *x = reinterpret_cast<const unsigned char *>(static_cast<const word_record *>(a)->text);
    const unsigned char *y = reinterpret_cast<const unsigned char *>(static_cast<const word_record *>(b)->text);
    for (;; x++, y++) {
        int d = cp_upper(*x) - cp_upper(*y);
        if (d || !*x)
            return d;
    }
}

}  // namespace

void list_clear()
{
    flex_dispose(&grid.word_list);
    grid.word_count = 0;
    shape = shape_empty;
    row_bytes = 0;
    row_open = false;
    grid_ui_show_progress(0);
}

const error_block *list_add_solution_code(uint32_t code, int part)
{
    if (part < 0 || part >= list_columns)
        return make_error0(EBADVAL);
    int bytes = list_columns * 4;
    if (part == list_columns - 1) {
        row_open = false;
        if (const error_block *e = grow_by_one(bytes))
            return e;
        shape = shape_codes;
        row_bytes = bytes;
        row_open = true;
        grid.word_count++;
        grid_ui_show_progress(grid.word_count);
    }
    if (row_open && grid.word_list && grid.word_count > 0)
        list_solution_row(grid.word_count - 1)[part] = code;
    return nullptr;
}

const error_block *list_add_word(int col, int row, int col_step, int row_step, const char *text)
{
    if (strlen(text) >= sizeof(word_record::text))
        return make_error0(EBADVAL);
    if (const error_block *e = grow_by_one(sizeof(word_record)))
        return e;
    shape = shape_words;
    row_bytes = sizeof(word_record);
    grid.word_count++;
    grid_ui_show_progress(grid.word_count);
    word_record *w = static_cast<word_record *>(grid.word_list) + (grid.word_count - 1);
    memset(w, 0, sizeof *w);
    w->col = col;
    w->row = row;
    w->col_step = col_step;
    w->row_step = row_step;
    strcpy(w->text, text);
    return nullptr;
}

void list_remove(int index)
{
    if (index < 0 || index >= grid.word_count || row_bytes == 0)
        return;
    char *base = static_cast<char *>(grid.word_list);
    memmove(base + index * row_bytes, base + (index + 1) * row_bytes,
            static_cast<size_t>(grid.word_count - index - 1) * row_bytes);
    grid.word_count--;
    grid_ui_show_progress(grid.word_count);
}

void list_sort()
{
    if (grid.word_count > 1 && holds_words())
        qsort(grid.word_list, grid.word_count, sizeof(word_record), compare_upper);
}

int list_count_selected()
{
    int n = 0;
    for (int i = 0; holds_words() && i < grid.word_count; i++)
        n += list_word(i)->selected != 0;
    return n;
}

void list_unplace_all()
{
    for (int i = 0; holds_words() && i < grid.word_count; i++) {
        word_record *w = list_word(i);
        w->col = w->row = w->col_step = w->row_step = -1;
    }
}

word_record *list_word(int index)
{
    if (!holds_words() || index < 0 || index >= grid.word_count)
        return nullptr;
    return static_cast<word_record *>(grid.word_list) + index;
}

uint32_t *list_solution_row(int index)
{
    if (shape != shape_codes || index < 0 || index >= grid.word_count)
        return nullptr;
    return reinterpret_cast<uint32_t *>(static_cast<char *>(grid.word_list) + index * row_bytes);
}

int stop_requested() { return stop_flag; }

void set_stop()
{
    debug_log("setevent");
    stop_flag = 1;
}

void set_stop_from_button()
{
    debug_log("stop");
    stop_flag = 1;
}

void clear_stop() { stop_flag = 0; }
