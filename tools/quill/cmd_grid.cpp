// quill's grid commands: `grid new` writes a cleared grid file, `grid info`
// prints what a grid file holds as one JSON object.
#include <cstdio>
#include <cstring>
#include <string>

#include <nlohmann/json.hpp>

#include "app/grid/app_errors.h"
#include "app/grid/clues.h"
#include "app/grid/grid.h"
#include "app/grid/grid_dictionaries.h"
#include "app/grid/grid_file.h"
#include "app/grid/grid_hooks.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"
#include "toolkit/text/cp1252.h"
#include "tools/quill/quill.h"

namespace {

using json = nlohmann::ordered_json;


void prepare_engine()
{
    app_errors_register();
    grid_set_hooks(nullptr);
    grid_init();
}

void fail(const error_block *e)
{
    fprintf(stderr, "%s\n", e->errmess);
    quill_exit = 1;
}

// A NUL-padded field of at most `most` bytes.
std::string utf8_field(const char *text, size_t most) { return quill_utf8(text, strnlen(text, most)); }

json font_json(const font_spec &f)
{
    return json{{"height", f.height}, {"width", f.width}, {"face", utf8_field(f.face, sizeof f.face)},
                {"charset", f.charset}, {"weight", f.weight}, {"italic", f.italic}};
}

json dictionaries_json()
{
    grid_dictionary_name names[grid_max_dictionaries];
    int n = grid_document_names(names, grid_max_dictionaries);
    json list = json::array();
    for (int i = 0; i < n; i++)
        list.push_back(utf8_field(names[i].bytes, grid_name_record));
    return list;
}

json grid_json()
{
    json letters = json::array(), attributes = json::array();
    for (int r = 0; r < grid.height; r++) {
        std::string row;
        json values = json::array();
        for (int c = 0; c < grid.width; c++) {
            cp_append_utf8(row, grid.letters[grid_cell(c, r)]);
            values.push_back(grid.attributes[grid_cell(c, r)]);
        }
        letters.push_back(row);
        attributes.push_back(values);
    }
    return json{
        {"version", utf8_field(loaded_version, grid_version_size)},
        {"width", grid.width},
        {"height", grid.height},
        {"grid_type", grid.grid_type},
        {"case_mode", grid.case_mode},
        {"picture_caps", grid.picture_caps},
        {"spare_setting", grid.spare_setting},
        {"fill_directions", grid.fill_directions},
        {"show_solutions", grid.show_solutions},
        {"min_word_length", grid.min_word_length},
        {"split_fraction", grid.split_fraction},
        {"window_width", grid.window_width},
        {"window_height", grid.window_height},
        {"dictionaries", dictionaries_json()},
        {"letters", letters},
        {"attributes", attributes},
        {"grid_font", font_json(grid.grid_font)},
        {"clue_font", font_json(grid.clue_font)},
        {"text_colour", grid.text_colour},
        {"grid_colour", grid.grid_colour},
        {"filled_colour", grid.filled_colour},
        {"background_colour", grid.background_colour},
        {"square_percent", grid.square_percent},
    };
}

void run_info(const std::string &path)
{
    prepare_engine();
    if (const error_block *e = load_grid_file(path.c_str()))
        return fail(e);
    set_grid_type_light(grid.loaded_grid_type);
    quill_print_line(grid_json().dump().c_str());
}

// The letters of a run from (col, row), across or down.
json run_json(int col, int row, int length, bool down)
{
    if (length == 0)
        return nullptr;
    std::string letters;
    for (int i = 0; i < length; i++)
        cp_append_utf8(letters, grid.letters[grid_cell(col + (down ? 0 : i), row + (down ? i : 0))]);
    return json{{"length", length}, {"letters", letters}};
}

void add_number(const numbered_cell *cell, void *context)
{
    static_cast<json *>(context)->push_back(json{
        {"number", cell->number},
        {"col", cell->col},
        {"row", cell->row},
        {"across", run_json(cell->col, cell->row, cell->across_length, false)},
        {"down", run_json(cell->col, cell->row, cell->down_length, true)},
    });
}

// Wordsquare grids have no clue numbers: their list is empty.
void run_number(const std::string &path)
{
    prepare_engine();
    if (const error_block *e = load_grid_file(path.c_str()))
        return fail(e);
    set_grid_type_light(grid.loaded_grid_type);
    json cells = json::array();
    if (grid.grid_type == 0)
        number_grid(add_number, &cells);
    json out{{"width", grid.width}, {"height", grid.height}, {"grid_type", grid.grid_type},
             {"numbers", cells}};
    quill_print_line(out.dump().c_str());
}

// "WxH" with both sides 2 to 127.
bool parse_size(const std::string &text, int *w, int *h)
{
    char tail = 0;
    if (sscanf(text.c_str(), "%dx%d%c", w, h, &tail) != 2)
        return false;
    return *w >= grid_min_side && *w <= grid_max_side && *h >= grid_min_side && *h <= grid_max_side;
}

void run_new(const std::string &path, const std::string &size, const std::string &type)
{
    prepare_engine();
    int w = 16, h = 16;
    if (!parse_size(size, &w, &h)) {
        fprintf(stderr, "quill grid new: --size takes WxH, each 2 to 127 (got \"%s\")\n", size.c_str());
        quill_exit = 1;
        return;
    }
    set_size(w, h);
    set_grid_type(type == "wordsquare" ? 1 : 0);
    if (const error_block *e = save_grid_file(path.c_str()))
        fail(e);
}

}  // namespace

std::string quill_grid_json_text() { return grid_json().dump(); }

void add_grid_commands(CLI::App &app)
{
    CLI::App *group = app.add_subcommand("grid", "Create and inspect grid files (.qlx)");
    group->require_subcommand(1);

    CLI::App *create = group->add_subcommand(
        "new", "Write a cleared grid file with the start settings (16 x 16 crossword by default)");
    static std::string new_path, new_size = "16x16", new_type = "crossword";
    create->add_option("OUT", new_path, "The grid file to write (.qlx)")->required();
    create->add_option("--size", new_size, "Columns x rows, each 2 to 127, e.g. 15x13")
        ->capture_default_str();
    create->add_option("--type", new_type, "Grid type")
        ->check(CLI::IsMember({"crossword", "wordsquare"}))
        ->capture_default_str();
    create->callback([] { run_new(new_path, new_size, new_type); });

    CLI::App *info = group->add_subcommand(
        "info",
        "Load a grid file and print its settings, dictionaries, letters, attributes, fonts and "
        "colours as one JSON object (exit status 1 and the error on standard error when it does "
        "not load)");
    static std::string info_path;
    info->add_option("FILE", info_path, "The grid file to read (.qlx)")->required();
    info->callback([] { run_info(info_path); });

    CLI::App *number = group->add_subcommand(
        "number",
        "Number a crossword grid's entries as Save Clues As does and print the numbered cells as "
        "JSON: each with its number, column, row and its across and down entries (length and "
        "letters, or null when it starts none)");
    static std::string number_path;
    number->add_option("FILE", number_path, "The grid file to read (.qlx)")->required();
    number->callback([] { run_number(number_path); });
}
