// quill's Wordsquare commands:
//
//   quill wordsquare make GRID.qlx --words LIST.txt [--seed S] [--timeout SECONDS] -o OUT.qlx
//   quill wordsquare new GRID.qlx [--seed S] -o OUT.qlx
//   quill wordsquare solve GRID.qlx [--min N]
//
// Each prints one line per word: word, column, row, column step, row step,
// separated by tabs. "make" prints every word of the list (an unplaced one
// at -1); on a timeout it stops as the Stop button would, saves, prints
// the message on standard error and exits 2. "new" prints the words it
// placed before the list is emptied. Without --seed the generator is
// seeded from the time in seconds, as the program does.
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "app/grid/grid.h"
#include "app/grid/grid_document.h"
#include "app/grid/grid_file.h"
#include "app/grid/random.h"
#include "app/grid/result_list.h"
#include "app/wordsquare/maker.h"
#include "app/wordsquare/solver.h"
#include "toolkit/messages/error.h"
#include "tools/quill/quill_dicts.h"

namespace {

struct wordsquare_options {
    quill_dict_options dicts;
    std::string grid_path, words, out;
    long long seed = -1;
    double timeout = 0;
    int min = 0;
};

void print_words(bool placed_only)
{
    for (int i = 0; i < grid.word_count; i++) {
        const word_record *w = list_word(i);
        if (placed_only && w->col < 0)
            continue;
        char line[96];
        int n = snprintf(line, sizeof line, "%s\t%d\t%d\t%d\t%d\n", w->text, w->col, w->row, w->col_step, w->row_step);
        quill_write(line, static_cast<size_t>(n));
    }
}

// Loads the grid (it must be a Wordsquare) and, when `dictionaries`, the
// dictionaries; seeds the generator.
bool prepare(const wordsquare_options &o, bool dictionaries)
{
    const error_block *e = quill_dicts_begin(o.dicts);
    if (!e)
        e = open_grid_document(o.grid_path.c_str());
    if (e) {
        quill_fail(e, o.grid_path);
        return false;
    }
    if (grid.grid_type != 1) {
        fprintf(stderr, "%s is a crossword grid, not a Wordsquare\n", o.grid_path.c_str());
        quill_exit = 1;
        return false;
    }
    if (dictionaries)
        if ((e = quill_dicts_finish(o.dicts))) {
            quill_fail(e, "");
            return false;
        }
    random_seed(o.seed >= 0 ? static_cast<uint32_t>(o.seed) : static_cast<uint32_t>(time(nullptr)));
    return true;
}

bool save(const wordsquare_options &o)
{
    if (const error_block *e = save_grid_file(o.out.c_str())) {
        quill_fail(e, o.out);
        return false;
    }
    return true;
}

void run_make(const wordsquare_options &o)
{
    if (!prepare(o, false))
        return;
    FILE *f = fopen(o.words.c_str(), "rb");   // the list reader skips a missing file silently
    if (!f) {
        fprintf(stderr, "%s: cannot be opened\n", o.words.c_str());
        quill_exit = 1;
        return;
    }
    fclose(f);
    if (const error_block *e = list_from_text_file(o.words.c_str())) {
        quill_fail(e, o.words);
        return;
    }
    quill_watch_stop(o.timeout);
    make_from_list_start();
    make_from_list_run();
    if (!save(o))
        return;
    print_words(false);
    if (quill_timed_out())
        quill_exit = 2;
    else if (quill_interrupted())
        quill_exit = 130;
}

void run_new(const wordsquare_options &o)
{
    if (!prepare(o, true))
        return;
    quill_watch_stop(0);
    if (const error_block *e = make_from_dictionary_start()) {
        quill_fail(e, "");
        return;
    }
    make_words_from_dictionary();
    print_words(true);
    finish_making_from_dictionary();
    if (save(o) && quill_interrupted())
        quill_exit = 130;
}

void run_solve(const wordsquare_options &o)
{
    if (!prepare(o, true))
        return;
    if (o.min > 0)
        grid.min_word_length = o.min;
    quill_watch_stop(0);
    if (const error_block *e = solve_wordsquare_start()) {
        quill_fail(e, "");
        return;
    }
    solve_wordsquare_run();
    print_words(false);
    if (quill_interrupted())
        quill_exit = 130;
}

}  // namespace

void add_wordsquare_commands(CLI::App &app)
{
    auto o = std::make_shared<wordsquare_options>();
    CLI::App *group = app.add_subcommand("wordsquare", "Make and solve Wordsquare grids");
    group->require_subcommand(1);

    CLI::App *make = group->add_subcommand("make", "Fit a word list into a Wordsquare grid");
    make->add_option("GRID", o->grid_path, "the Wordsquare grid (.qlx)")->required();
    make->add_option("--words", o->words, "the word list, one word a line")->required();
    make->add_option("--seed", o->seed, "seed of the random generator")->check(CLI::Range(0LL, 4294967295LL));
    make->add_option("--timeout", o->timeout, "stop after this many seconds (exit 2)")->check(CLI::NonNegativeNumber);
    make->add_option("-o", o->out, "the grid file to write")->required();
    make->callback([o] { run_make(*o); });

    CLI::App *fresh = group->add_subcommand("new", "Build a Wordsquare from random dictionary words");
    fresh->add_option("GRID", o->grid_path, "the Wordsquare grid (.qlx)")->required();
    fresh->add_option("--seed", o->seed, "seed of the random generator")->check(CLI::Range(0LL, 4294967295LL));
    fresh->add_option("-o", o->out, "the grid file to write")->required();
    quill_add_dict_options(fresh, &o->dicts);
    fresh->callback([o] { run_new(*o); });

    CLI::App *solve = group->add_subcommand("solve", "Find the dictionary words hidden in a Wordsquare grid");
    solve->add_option("GRID", o->grid_path, "the Wordsquare grid (.qlx)")->required();
    solve->add_option("--min", o->min, "shortest word reported (1 to 12)")->check(CLI::Range(1, 12));
    quill_add_dict_options(solve, &o->dicts);
    solve->callback([o] { run_solve(*o); });
}
