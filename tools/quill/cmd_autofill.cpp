// quill autofill: one fill of a whole crossword grid, or of a rectangle.
//
//   quill autofill GRID.qlx [--mark C0,R0,C1,R1] [--dict D...] [--seed S]
//                  [--timeout SECONDS] [-o OUT.qlx] [--print]
//
// The filled grid is saved to OUT, or printed as `quill grid info` prints
// it with --print, or (with neither) saved back to GRID. Exit status: 0
// with a fill; 1 when no fill exists; 2 on the time limit or Ctrl+C; 3
// when the grid, the dictionaries or the arguments are unusable. On 1, 2
// and 3 no file is written. A progress line goes to standard error when it
// is a terminal. Without --seed the generator is seeded from the time in
// seconds, so each run may give another fill.
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "app/autofill/autofill.h"
#include "app/grid/grid.h"
#include "app/grid/grid_file.h"
#include "app/grid/random.h"
#include "toolkit/messages/error.h"
#include "tools/quill/quill_dicts.h"
#include "tools/quill/quill_os.h"

namespace {

const int exit_unusable = 3;

struct autofill_options {
    quill_dict_options dicts;
    std::string grid_path, mark, out;
    long long seed = -1;
    double timeout = 0;
    bool print = false;
};

void unusable(const char *format, const std::string &text)
{
    fprintf(stderr, "autofill: ");
    fprintf(stderr, format, text.c_str());
    fprintf(stderr, "\n");
    quill_exit = exit_unusable;
}

bool progress_shown = false;

void show_progress(const autofill_progress *p)
{
    fprintf(stderr, "\rautofill: %d/%d entries (best %d), %d/%d cells (best %d), %" PRIu64 " backtracks, %d restarts   ",
            p->filled, p->entries, p->best, p->letters, p->cells, p->best_letters, p->backtracks, p->restarts);
    fflush(stderr);
    progress_shown = true;
}

// The area from --mark, or the whole grid; false when it is malformed or
// outside the grid.
bool choose_area(const autofill_options &o, autofill_area *area)
{
    *area = autofill_whole_grid();
    if (o.mark.empty())
        return true;
    int v[4];
    char extra;
    if (sscanf(o.mark.c_str(), "%d,%d,%d,%d%c", &v[0], &v[1], &v[2], &v[3], &extra) != 4) {
        unusable("--mark takes C0,R0,C1,R1 (got \"%s\")", o.mark);
        return false;
    }
    for (int k = 0; k < 4; k++)
        if (v[k] < 0 || v[k] >= (k % 2 ? grid.height : grid.width)) {
            unusable("--mark %s lies outside the grid", o.mark);
            return false;
        }
    *area = autofill_area{v[0], v[1], v[2], v[3]};
    return true;
}

bool load(const autofill_options &o)
{
    const error_block *e = quill_dicts_with_grid(o.dicts, o.grid_path.c_str());
    if (e) {
        quill_fail(e, o.grid_path);
        quill_exit = exit_unusable;
        return false;
    }
    if (grid.grid_type != 0) {
        unusable("%s is a Wordsquare grid, not a crossword", o.grid_path);
        return false;
    }
    return true;
}

void report_end(const autofill_result &r)
{
    if (progress_shown)
        fprintf(stderr, "\n");
    if (r.outcome == autofill_impossible) {
        fprintf(stderr, "autofill: no fill exists%s%s\n", r.reason[0] ? ": " : "", r.reason);
        quill_exit = 1;
    } else if (r.outcome == autofill_stopped) {
        fprintf(stderr,
                "autofill: %s with %d of %d entries and %d of %d empty cells filled at best; the grid is unchanged\n",
                quill_timed_out() ? "time limit reached" : "stopped", r.progress.best, r.progress.entries,
                r.progress.best_letters, r.progress.cells);
        quill_exit = 2;
    }
}

void run_autofill(const autofill_options &o)
{
    if (!load(o))
        return;
    autofill_area area;
    if (!choose_area(o, &area))
        return;
    random_seed(o.seed >= 0 ? static_cast<uint32_t>(o.seed) : static_cast<uint32_t>(time(nullptr)));
    quill_watch_stop(o.timeout);
    autofill_result r;
    const error_block *e = autofill_grid(&area, quill_stderr_is_terminal() ? show_progress : nullptr, &r);
    report_end(r);
    if (e) {
        quill_fail(e, o.grid_path);
        quill_exit = exit_unusable;
        return;
    }
    if (r.outcome != autofill_filled)
        return;
    if (o.print)
        quill_print_line(quill_grid_json_text().c_str());
    if (!o.out.empty() || !o.print) {
        const std::string &path = o.out.empty() ? o.grid_path : o.out;
        if (const error_block *e2 = save_grid_file(path.c_str())) {
            quill_fail(e2, path);
            quill_exit = exit_unusable;
        }
    }
}

}  // namespace

void add_autofill_commands(CLI::App &app)
{
    auto o = std::make_shared<autofill_options>();
    CLI::App *fill = app.add_subcommand(
        "autofill",
        "Fill a whole crossword grid (or the --mark rectangle) so that every across and down run of two or "
        "more open cells is a dictionary word, each word once. Exit 0 filled, 1 no fill exists, 2 time "
        "limit or Ctrl+C, 3 unusable input; the grid file is written only on 0");
    fill->add_option("GRID", o->grid_path, "the grid file (.qlx)")->required();
    fill->add_option("--mark", o->mark, "fill only this rectangle: C0,R0,C1,R1");
    fill->add_option("--seed", o->seed, "seed of the random generator (same seed, same fill)")
        ->check(CLI::Range(0LL, 4294967295LL));
    fill->add_option("--timeout", o->timeout, "stop after this many seconds (exit 2)")->check(CLI::NonNegativeNumber);
    fill->add_option("-o", o->out, "save the filled grid here (default: back to GRID)");
    fill->add_flag("--print", o->print, "print the filled grid as `quill grid info` does (GRID is not written)");
    quill_add_dict_options(fill, &o->dicts);
    fill->callback([o] { run_autofill(*o); });
}
