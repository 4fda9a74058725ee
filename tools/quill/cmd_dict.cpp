// quill's dictionary commands: import and export word lists, add, delete
// and find words, and report on or check a .dic file.
//
//   quill dict import DIC FILE... [--raw]   (creates DIC when missing)
//   quill dict export DIC [OUT]             (standard output without OUT)
//   quill dict add DIC WORD...
//   quill dict delete DIC WORD...
//   quill dict find DIC WORD [--fast]       (exit 1 when absent)
//   quill dict info DIC                     (one JSON object)
//   quill dict check DIC                    (exit 1 when anything is wrong)
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/dictionary_text.h"
#include "app/grid/app_errors.h"
#include "toolkit/files/files.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"
#include "tools/quill/quill.h"

namespace {


struct Options {
    std::string dic, out;
    std::vector<std::string> items;
    bool raw = false, fast = false;
};

void prepare_engine()
{
    app_errors_register();
}

int fail(const error_block *e, const std::string &what)
{
    fprintf(stderr, "%s: %s\n", what.c_str(), e->errmess);
    if (e->errnum == ECR && *dictionary_corruption_reason())
        fprintf(stderr, "%s: %s\n", what.c_str(), dictionary_corruption_reason());
    return quill_exit = 1;
}

// A dictionary that frees its blocks when the command ends.
struct Loaded {
    Dictionary d{};
    ~Loaded() { clear_dictionary(&d); }
};

bool file_exists(const std::string &path)
{
    fs_info info;
    return !fs_file_info(path.c_str(), &info) && info.object_type == FS_FILE;
}

// Loads DIC; a missing file gives an empty dictionary when `create` is set.
bool open_dictionary(const Options &o, Loaded &l, bool create)
{
    prepare_engine();
    if (create && !file_exists(o.dic)) {
        init_dictionary(&l.d);
        return true;
    }
    if (const error_block *e = load_dictionary_file(&l.d, o.dic.c_str()))
        return fail(e, o.dic), false;
    return true;
}

bool save(const Options &o, const Loaded &l)
{
    if (const error_block *e = save_dictionary_file(&l.d, o.dic.c_str()))
        return fail(e, o.dic), false;
    return true;
}

void run_import(const Options &o)
{
    Loaded l;
    if (!open_dictionary(o, l, true))
        return;
    for (const std::string &file : o.items) {
        ImportCounts counts;
        if (const error_block *e = import_word_file(&l.d, file.c_str(), o.raw, &counts)) {
            fail(e, file);
            return;
        }
        if (counts.too_long)
            fprintf(stderr, "%s: %d lines of 32 or more characters skipped\n", file.c_str(), counts.too_long);
        if (counts.refused)
            fprintf(stderr, "%s: %d words not stored (beside their neighbours they need too many escapes)\n",
                    file.c_str(), counts.refused);
    }
    if (save(o, l))
        quill_print_line(("words " + std::to_string(l.d.words)).c_str());
}

void run_export(const Options &o)
{
    Loaded l;
    if (!open_dictionary(o, l, false))
        return;
    if (!o.out.empty()) {
        if (const error_block *e = export_word_file(&l.d, o.out.c_str()))
            fail(e, o.out);
        return;
    }
    WordCursor c;
    if (!word_at(&l.d, 0, &c))
        return;
    do {
        quill_write(c.text, strlen(c.text));
        quill_write("\r\n", 2);
    } while (next_word(&l.d, &c));
}

// Words outside 1-31 bytes are refused before anything changes.
bool words_acceptable(const Options &o)
{
    for (const std::string &w : o.items)
        if (w.empty() || w.size() > static_cast<size_t>(WORD_MAX)) {
            fprintf(stderr, "\"%s\": a word has 1 to 31 characters\n", w.c_str());
            quill_exit = 2;
            return false;
        }
    return true;
}

void run_add(const Options &o)
{
    Loaded l;
    if (!words_acceptable(o) || !open_dictionary(o, l, true))
        return;
    for (const std::string &w : o.items) {
        if (const error_block *e = add_word(&l.d, w.c_str())) {
            fail(e, w);
            return;
        }
        WordCursor c;
        if (!find_word(&l.d, w.c_str(), &c, nullptr) || w != c.text) {
            fprintf(stderr, "\"%s\": cannot be stored (too many characters that need escapes)\n", w.c_str());
            quill_exit = 1;
        }
    }
    save(o, l);
}

void run_delete(const Options &o)
{
    Loaded l;
    if (!open_dictionary(o, l, false))
        return;
    for (const std::string &w : o.items)
        if (!delete_word(&l.d, w.c_str())) {
            fprintf(stderr, "\"%s\": not deleted (absent)\n", w.c_str());
            quill_exit = 1;
        }
    int status = quill_exit;
    if (save(o, l))
        quill_exit = status;
}

void run_find(const Options &o)
{
    Loaded l;
    if (!open_dictionary(o, l, false))
        return;
    const std::string &w = o.items.at(0);
    WordCursor c;
    unsigned flags = o.fast ? CMP_IGNORE_SPACES : 0;
    if (!find_word(&l.d, w.c_str(), &c, &flags)) {
        quill_exit = 1;
        return;
    }
    quill_print_line(o.fast ? fast_find_spelling() : c.text);
}

void run_info(const Options &o)
{
    Loaded l;
    if (!open_dictionary(o, l, false))
        return;
    fs_info info;
    fs_file_info(o.dic.c_str(), &info);
    nlohmann::ordered_json j;
    j["words"] = l.d.words;
    j["index_entries"] = l.d.noindex;
    j["word_block_bytes"] = flex_length(&l.d.wordblock);
    j["file_bytes"] = info.length;
    j["words_with_spaces"] = l.d.spaced;
    quill_print_line(j.dump().c_str());
}

void run_check(const Options &o)
{
    Loaded l;
    if (!open_dictionary(o, l, false))
        return;
    char message[256];
    if (dictionary_check(&l.d, message, sizeof message)) {
        fprintf(stderr, "%s: %s\n", o.dic.c_str(), message);
        quill_exit = 1;
        return;
    }
    quill_print_line(("ok: " + std::to_string(l.d.words) + " words, " + std::to_string(l.d.noindex) +
                      " index entries").c_str());
}

CLI::App *command(CLI::App *dict, const char *name, const char *about, std::shared_ptr<Options> o)
{
    CLI::App *c = dict->add_subcommand(name, about);
    c->add_option("DIC", o->dic, "the .dic file")->required();
    return c;
}

}  // namespace

void add_dict_commands(CLI::App &app)
{
    auto o = std::make_shared<Options>();
    CLI::App *dict = app.add_subcommand("dict", "dictionary files: import, export, add, delete, find, info, check");
    dict->require_subcommand(1);

    CLI::App *c = command(dict, "import", "add text files of words (one a line); creates DIC when missing", o);
    c->add_option("FILE", o->items, "word list")->required();
    c->add_flag("--raw", o->raw, "take each line as written: spaces and capitals kept, up to 31 bytes");
    c->callback([o] { run_import(*o); });

    c = command(dict, "export", "write every word, CR LF after each", o);
    c->add_option("OUT", o->out, "text file (standard output when left out)");
    c->callback([o] { run_export(*o); });

    c = command(dict, "add", "add words (replacing case variants); creates DIC when missing", o);
    c->add_option("WORD", o->items, "word")->required();
    c->callback([o] { run_add(*o); });

    c = command(dict, "delete", "delete words; exit 1 when one was absent", o);
    c->add_option("WORD", o->items, "word")->required();
    c->callback([o] { run_delete(*o); });

    c = command(dict, "find", "print the stored spelling of a word; exit 1 when absent", o);
    c->add_option("WORD", o->items, "word")->required()->expected(1);
    c->add_flag("--fast", o->fast, "the spell check's find: ignores spaces");
    c->callback([o] { run_find(*o); });

    c = command(dict, "info", "counts and sizes as one JSON object", o);
    c->callback([o] { run_info(*o); });

    c = command(dict, "check", "walk every invariant of the store; exit 1 when one fails", o);
    c->callback([o] { run_check(*o); });
}
