// quill's spell-check commands:
//
//   quill spell GRID.qlx [--dict D]...    each unknown complete word of the
//                                         grid, in the order the spell
//                                         check meets them
//   quill suggest --dict D... WORD...     each word given, known or not
//
// One line per word: the word, then its suggestions in the Guess
// dictionary's order, separated by tabs (a stored word may hold a space).
// Both take --dict and --dict-dir (quill_dicts.h).
#include <memory>
#include <string>
#include <vector>

#include "app/dictionary/spell_check.h"
#include "app/grid/grid_words.h"
#include "toolkit/messages/error.h"
#include "tools/quill/quill_dicts.h"

namespace {

struct spell_options {
    quill_dict_options dicts;
    std::string grid_path;
    std::vector<std::string> words;
};

void print_suggestions(const std::string &word)
{
    std::string line = word;
    if (const error_block *e = make_suggestions(word.c_str()))
        quill_fail(e, word);
    WordCursor cursor;
    for (int ok = word_at(&spell_guess, 0, &cursor); ok; ok = next_word(&spell_guess, &cursor)) {
        line += '\t';
        line += cursor.text;
    }
    line += '\n';
    quill_write(line.data(), line.size());
}

bool prepare(const spell_options &o, const char *grid_path)
{
    const error_block *e = quill_dicts_with_grid(o.dicts, grid_path);
    if (e) {
        quill_fail(e, grid_path ? grid_path : "");
        return false;
    }
    return true;
}

void run_spell(const spell_options &o)
{
    if (!prepare(o, o.grid_path.c_str()))
        return;
    spell_check_position = 0;
    char word[GRID_WORD_BUFFER];
    while (next_unknown_word(word))
        print_suggestions(word);
    spell_release_guess();
}

void run_suggest(const spell_options &o)
{
    if (!prepare(o, nullptr))
        return;
    for (const std::string &w : o.words)
        print_suggestions(w);
    spell_release_guess();
}

}  // namespace

void add_spell_commands(CLI::App &app)
{
    auto o = std::make_shared<spell_options>();

    CLI::App *spell = app.add_subcommand("spell", "Unknown words of a grid, each with its suggestions");
    spell->add_option("GRID", o->grid_path, "the grid file (.qlx)")->required();
    quill_add_dict_options(spell, &o->dicts);
    spell->callback([o] { run_spell(*o); });

    CLI::App *suggest = app.add_subcommand("suggest", "Suggestions for each word given");
    suggest->add_option("WORD", o->words, "the words")->required();
    quill_add_dict_options(suggest, &o->dicts);
    suggest->callback([o] { run_suggest(*o); });
}
