// quill's search commands:
//
//   quill solve [--max N] PATTERN            one part; "?", "." or a space
//                                            is an empty cell
//   quill fill GRID.qlx --mark C0,R0,C1,R1 [--max N] [--apply K -o OUT.qlx]
//   quill anagram [--max N] LETTERS
//   quill solve|anagram --from FILE [--json]
//                                            one pattern or letter set a
//                                            line ("-": standard input), the
//                                            dictionaries loaded once
//
// With --from each input line's results follow a header line "# LINE: N",
// N the number of result lines; --json prints one object per input line
// instead: {"input": LINE, "results": [...]} (UTF-8), with "error" added
// for a line that is not a pattern. Empty input lines are skipped.
//
// Each also takes --dict and --dict-dir (quill_dicts.h). Words are printed
// as stored (code page 1252 bytes). Ctrl+C stops the search: what was found
// is printed and the exit status is 130.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/dictionary/anagram.h"
#include "app/dictionary/search.h"
#include "app/grid/grid.h"
#include "app/grid/grid_file.h"
#include "app/grid/parts.h"
#include "app/grid/result_list.h"
#include "toolkit/messages/error.h"
#include "tools/quill/quill_dicts.h"

namespace {

struct search_options {
    quill_dict_options dicts;
    int max = 1000;
    std::string pattern, grid_path, mark, out, from;
    int apply = -1;
    bool json = false;
};

void finish_search()
{
    if (quill_interrupted())
        quill_exit = 130;
}

std::string row_text(int row)
{
    const uint32_t *codes = list_solution_row(row);
    std::string line;
    for (int p = 0; p < list_columns; p++) {
        if (p)
            line += ' ';
        line += solution_text(codes[p]);
    }
    return line;
}

void print_rows()
{
    for (int row = 0; row < grid.word_count; row++) {
        std::string line = row_text(row);
        quill_write(line.data(), line.size());
        quill_write("\n", 1);
    }
}

// One input's results: under a header line, or as one JSON line.
void print_results(const search_options &o, const std::string &input, const std::string &error)
{
    if (o.json) {
        nlohmann::ordered_json j;
        j["input"] = quill_utf8(input.data(), input.size());
        j["results"] = nlohmann::json::array();
        for (int row = 0; row < grid.word_count; row++) {
            std::string line = row_text(row);
            j["results"].push_back(quill_utf8(line.data(), line.size()));
        }
        if (!error.empty())
            j["error"] = error;
        quill_print_line(j.dump().c_str());
        return;
    }
    std::string header = "# " + input + ": " + std::to_string(grid.word_count);
    quill_print_line(header.c_str());
    print_rows();
}

bool prepare(const search_options &o, const char *grid_path)
{
    const error_block *e = quill_dicts_with_grid(o.dicts, grid_path);
    if (e) {
        quill_fail(e, grid_path ? grid_path : "");
        return false;
    }
    maximum_solutions = o.max;
    quill_watch_stop(0);
    return true;
}

// Solves one pattern into the result list; "" or what is wrong with it.
std::string solve_pattern(const std::string &pattern)
{
    list_clear();
    size_t n = pattern.size();
    if (n < 1 || n > grid_max_side)
        return "a pattern has 1 to " + std::to_string(grid_max_side) + " characters";
    set_size(static_cast<int>(n), 2);
    for (size_t i = 0; i < n; i++) {
        char c = pattern[i];
        grid.letters[grid_cell(static_cast<int>(i), 0)] = c == '?' || c == '.' ? ' ' : static_cast<uint8_t>(c);
    }
    // One across part over the pattern, as dividing a marked row gives.
    part_count = 1;
    parts[0] = part{0, 0, 0, 0, static_cast<uint8_t>(n)};
    list_columns = 1;
    list_clear();
    solve_parts(0);
    return "";
}

std::string anagram_letters(const std::string &letters)
{
    list_columns = 1;
    list_clear();
    find_anagrams(letters.c_str());
    return "";
}

// The lines of FILE, or of standard input for "-", without line ends.
bool read_inputs(const std::string &from, std::vector<std::string> &lines)
{
    FILE *f = from == "-" ? stdin : fopen(from.c_str(), "rb");
    if (!f) {
        fprintf(stderr, "%s: cannot be opened\n", from.c_str());
        quill_exit = 1;
        return false;
    }
    std::string line;
    for (int c; (c = fgetc(f)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty())
        lines.push_back(line);
    bool failed = ferror(f) != 0;
    if (f != stdin)
        fclose(f);
    if (failed) {
        fprintf(stderr, "%s: read error\n", from.c_str());
        quill_exit = 1;
        return false;
    }
    for (std::string &l : lines)
        if (!l.empty() && l.back() == '\r')
            l.pop_back();
    return true;
}

// One input (PATTERN or LETTERS) or many (--from): the dictionaries are
// loaded once, then each input is searched in turn.
void run_many(const search_options &o, const char *command, std::string (*search)(const std::string &))
{
    if (o.from.empty() == o.pattern.empty()) {
        fprintf(stderr, "%s: give either one input or --from FILE\n", command);
        quill_exit = 1;
        return;
    }
    std::vector<std::string> inputs;
    if (!o.from.empty() && !read_inputs(o.from, inputs))
        return;
    if (o.from.empty())
        inputs.push_back(o.pattern);
    if (!prepare(o, nullptr))
        return;
    int failed = 0;
    for (const std::string &input : inputs) {
        if (input.empty() && !o.from.empty())
            continue;
        std::string error = search(input);
        if (!error.empty()) {
            fprintf(stderr, "%s: \"%s\": %s\n", command, input.c_str(), error.c_str());
            failed = 1;
        }
        if (o.from.empty() && !o.json)
            print_rows();
        else
            print_results(o, input, error);
        if (quill_interrupted())
            break;
    }
    if (failed)
        quill_exit = 1;
    finish_search();
}

void run_solve(const search_options &o) { run_many(o, "solve", solve_pattern); }

bool parse_mark(const std::string &text, int v[4])
{
    char extra;
    return sscanf(text.c_str(), "%d,%d,%d,%d%c", &v[0], &v[1], &v[2], &v[3], &extra) == 4;
}

// Marks the rectangle as a drag would: every cell that is not filled.
void mark_rectangle(const int v[4])
{
    int c0 = std::min(v[0], v[2]), c1 = std::max(v[0], v[2]);
    int r0 = std::min(v[1], v[3]), r1 = std::max(v[1], v[3]);
    for (int c = c0; c <= c1; c++)
        for (int r = r0; r <= r1; r++) {
            uint8_t &a = grid.attributes[grid_cell(c, r)];
            if ((a & cell_state_mask) != cell_filled)
                a = static_cast<uint8_t>((a & ~cell_state_mask) | cell_marked);
        }
    grid.mark_col_a = v[0], grid.mark_row_a = v[1], grid.mark_col_b = v[2], grid.mark_row_b = v[3];
}

void run_fill(const search_options &o)
{
    int v[4];
    if (!parse_mark(o.mark, v)) {
        fprintf(stderr, "fill: --mark takes C0,R0,C1,R1\n");
        quill_exit = 1;
        return;
    }
    if ((o.apply >= 0) != !o.out.empty()) {
        fprintf(stderr, "fill: --apply and -o go together\n");
        quill_exit = 1;
        return;
    }
    if (!prepare(o, o.grid_path.c_str()))
        return;
    if (grid.grid_type != 0) {
        fprintf(stderr, "fill: %s is a Wordsquare grid, not a crossword\n", o.grid_path.c_str());
        quill_exit = 1;
        return;
    }
    for (int k = 0; k < 4; k++)
        if (v[k] < 0 || v[k] >= (k % 2 ? grid.height : grid.width)) {
            fprintf(stderr, "fill: --mark %s lies outside the %dx%d grid\n", o.mark.c_str(), grid.width, grid.height);
            quill_exit = 1;
            return;
        }
    mark_rectangle(v);
    list_clear();
    divide_marked_area();
    if (part_count == 0) {
        fprintf(stderr, "fill: Nothing to solve!\n");
        quill_exit = 1;
        return;
    }
    solve_parts(0);
    print_rows();
    finish_search();
    if (o.apply < 0)
        return;
    if (o.apply >= grid.word_count) {
        fprintf(stderr, "fill: there is no solution %d (%d found)\n", o.apply, grid.word_count);
        quill_exit = 1;
        return;
    }
    apply_solution(o.apply, 4);
    unmark();
    if (const error_block *e = save_grid_file(o.out.c_str()))
        quill_fail(e, o.out);
}

void run_anagram(const search_options &o) { run_many(o, "anagram", anagram_letters); }

}  // namespace

void add_search_commands(CLI::App &app)
{
    auto o = std::make_shared<search_options>();

    CLI::App *solve = app.add_subcommand("solve", "Dictionary words that fit a pattern ('?', '.' or space: any)");
    solve->add_option("PATTERN", o->pattern, "the pattern");
    solve->add_option("--from", o->from, "patterns, one a line (\"-\": standard input)");
    solve->add_flag("--json", o->json, "one JSON object per input line");
    solve->add_option("--max", o->max, "the most solutions (the list holds one more)")->check(CLI::NonNegativeNumber);
    quill_add_dict_options(solve, &o->dicts);
    solve->callback([o] { run_solve(*o); });

    CLI::App *fill = app.add_subcommand("fill", "Fill the marked rectangle of a crossword grid");
    fill->add_option("GRID", o->grid_path, "the grid file (.qlx)")->required();
    fill->add_option("--mark", o->mark, "the marked rectangle: C0,R0,C1,R1")->required();
    fill->add_option("--max", o->max, "the most solutions (the list holds one more)")->check(CLI::NonNegativeNumber);
    fill->add_option("--apply", o->apply, "write solution K (from 0) into the grid")->check(CLI::NonNegativeNumber);
    fill->add_option("-o", o->out, "where to save the grid with --apply");
    quill_add_dict_options(fill, &o->dicts);
    fill->callback([o] { run_fill(*o); });

    CLI::App *anagram = app.add_subcommand("anagram", "Dictionary words made of the letters ('*': any one)");
    anagram->add_option("LETTERS", o->pattern, "the letters");
    anagram->add_option("--from", o->from, "letter sets, one a line (\"-\": standard input)");
    anagram->add_flag("--json", o->json, "one JSON object per input line");
    anagram->add_option("--max", o->max, "the most solutions (the list holds one more)")->check(CLI::NonNegativeNumber);
    quill_add_dict_options(anagram, &o->dicts);
    anagram->callback([o] { run_anagram(*o); });
}
