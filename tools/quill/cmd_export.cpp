// quill's export commands: `clues` writes the clue list (or a Wordsquare's
// word list) as Save Clues As does, `picture` writes the grid as an SVG
// picture, or in the Windows build as an enhanced or Windows metafile.
#include <cstdio>
#include <string>

#include "app/grid/app_errors.h"
#include "app/grid/clues.h"
#include "app/grid/grid.h"
#include "app/grid/grid_file.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/picture_svg.h"
#include "toolkit/files/stream.h"
#include "toolkit/messages/error.h"
#include "tools/quill/quill.h"
#include "tools/quill/quill_os.h"

namespace {

void fail(const error_block *e)
{
    fprintf(stderr, "%s\n", e->errmess);
    quill_exit = 1;
}

const error_block *load(const std::string &path)
{
    app_errors_register();
    grid_set_hooks(nullptr);
    grid_init();
    if (const error_block *e = load_grid_file(path.c_str()))
        return e;
    set_grid_type_light(grid.loaded_grid_type);
    return nullptr;
}

// Standard output gets exactly the file's bytes.
const error_block *to_standard_output(const error_block *(*write)(fs_stream *))
{
    fs_stream s{};
    if (const error_block *e = stream_open(nullptr, "w", 4096, &s))
        return e;
    const error_block *e = write(&s);
    if (!e) {
        int length = 0;
        const char *bytes = stream_memory(&s, &length);
        quill_write(bytes, static_cast<size_t>(length));
    }
    return stream_close(&s, e);
}

void run_clues(const std::string &grid_path, const std::string &out)
{
    const error_block *e = load(grid_path);
    if (!e && out.empty())
        e = to_standard_output(grid.grid_type == 1 ? write_word_list_stream : write_clues_stream);
    else if (!e)
        e = save_clues(out.c_str());
    if (e)
        fail(e);
}

bool ends_with(const std::string &text, const std::string &tail)
{
    if (text.size() < tail.size())
        return false;
    std::string end = text.substr(text.size() - tail.size());
    for (char &c : end)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return end == tail;
}

void run_picture(const std::string &grid_path, const std::string &out, bool placeable)
{
    bool svg = ends_with(out, ".svg"), emf = ends_with(out, ".emf"), wmf = ends_with(out, ".wmf");
    const char *problem = nullptr;
    if (!svg && !emf && !wmf)
        problem = quill_has_metafiles() ? "OUT must name an SVG, EMF or WMF file (.svg, .emf, .wmf)"
                                        : "OUT must name an SVG file (.svg)";
    else if (!svg && !quill_has_metafiles())
        problem = "metafile pictures (.emf, .wmf) are written by the Windows build only; use .svg";
    else if (placeable && !wmf)
        problem = "--placeable applies to a Windows metafile (.wmf) only";
    if (problem) {
        fprintf(stderr, "quill picture: %s, got \"%s\"\n", problem, out.c_str());
        quill_exit = 1;
        return;
    }
    const error_block *e = load(grid_path);
    if (!e)
        e = svg ? save_svg_picture(out.c_str()) : quill_save_metafile(out.c_str(), emf, placeable);
    if (e)
        fail(e);
}

}  // namespace

void add_export_commands(CLI::App &app)
{
    CLI::App *clues = app.add_subcommand(
        "clues",
        "Write a crossword's numbered clue list (\"Clues across.\" CR LF, then the entries, then "
        "\"Clues down.\"), or a Wordsquare's word list, exactly as Save Clues As writes it; to "
        "standard output when OUT is not given");
    static std::string clues_grid, clues_out;
    clues->add_option("GRID", clues_grid, "The grid file to read (.qlx)")->required();
    clues->add_option("OUT", clues_out, "The text file to write (replaced only when written whole)");
    clues->callback([] { run_clues(clues_grid, clues_out); });

    CLI::App *picture = app.add_subcommand(
        "picture",
        "Write the grid as a picture at its own size (1/180 inch per unit): grid lines, bars, "
        "filled squares and clue numbers of a crossword, the letters, and a Wordsquare's found "
        "words struck through when its settings say so. OUT's extension chooses the kind: "
        ".svg (scalable SVG), and in the Windows build .emf (enhanced metafile) or .wmf "
        "(Windows metafile, placeable with --placeable)");
    static std::string picture_grid, picture_out;
    static bool picture_placeable = false;
    picture->add_option("GRID", picture_grid, "The grid file to read (.qlx)")->required();
    picture->add_option("OUT", picture_out, "The picture to write (.svg, .emf, .wmf)")->required();
    picture->add_flag("--placeable", picture_placeable,
                      "Write a .wmf with the 22-byte placeable header (120 units per inch)");
    picture->callback([] { run_picture(picture_grid, picture_out, picture_placeable); });
}
