// Choosing and loading the dictionaries of quill's search commands.
#include "tools/quill/quill_dicts.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/search_index.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_document.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/result_list.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"
#include "toolkit/messages/report.h"
#include "toolkit/text/cp1252.h"

namespace {


volatile std::sig_atomic_t interrupted = 0;
bool timed_out = false;
double limit_seconds = 0;
std::chrono::steady_clock::time_point started;

extern "C" void on_interrupt(int) { interrupted = 1; }

const error_block *poll_for_stop()
{
    if (interrupted && !stop_requested())
        set_stop();
    if (limit_seconds > 0 && !timed_out) {
        std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
        if (spent.count() > limit_seconds) {
            timed_out = true;
            set_stop();
        }
    }
    return nullptr;
}

int print_box(int, int, const char *text)
{
    fprintf(stderr, "%s\n", text);
    return 2;
}

bool names_a_file(const std::string &s)
{
    if (s.find('/') != std::string::npos || s.find('\\') != std::string::npos)
        return true;
    return s.size() > 4 && cp_compare_nocase(s.c_str() + s.size() - 4, ".dic") == 0;
}

std::string leaf_name(const std::string &path)
{
    size_t slash = path.find_last_of("/\\");
    std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
    if (leaf.size() > 4 && cp_compare_nocase(leaf.c_str() + leaf.size() - 4, ".dic") == 0)
        leaf.resize(leaf.size() - 4);
    return leaf;
}

void choose_directory(const quill_dict_options &o)
{
    const char *env = getenv("QUILLMERE_DICTIONARIES");
    if (!o.dict_dir.empty())
        set_dictionary_directory(o.dict_dir.c_str());
    else if (env && *env)
        set_dictionary_directory(env);
    else
        set_dictionary_directory(nullptr);
}

// Each named dictionary goes into the next slot, so that the document's
// list (kept in slot order) searches them in the order given.
const error_block *load_named(const quill_dict_options &o)
{
    dictionary_set_clear();
    for (const std::string &named : o.dicts) {
        if (dictionary_set.count == DICTIONARY_SLOTS)
            return make_error_text(1, "at most %d dictionaries", DICTIONARY_SLOTS);
        char path[1024];
        if (names_a_file(named)) {
            snprintf(path, sizeof path, "%s", named.c_str());
        } else if (const error_block *e = dictionary_path(dictionary_directory(), named.c_str(), path)) {
            return e;
        }
        int slot = dictionary_set.count++;
        DictionarySlot &s = dictionary_set.slots[slot];
        snprintf(s.name, sizeof s.name, "%s", leaf_name(named).c_str());
        if (const error_block *e = load_dictionary_file(&s.dictionary, path))
            return make_error_text(e->errnum, "%s: %s", path, e->errmess);
        s.loaded = 1;
        if (const error_block *e = document_list_add(slot))
            return e;
    }
    return nullptr;
}

}  // namespace

void quill_add_dict_options(CLI::App *command, quill_dict_options *options)
{
    command->add_option("--dict", options->dicts, "a dictionary: FILE.dic, or a name in the dictionary directory")
        ->take_all()
        ->allow_extra_args(false);
    command->add_option("--dict-dir", options->dict_dir, "the dictionary directory");
}

const error_block *quill_dicts_begin(const quill_dict_options &o)
{
    app_errors_register();
    message_box_answer = print_box;
    grid_init();
    grid_ui_hooks hooks{};
    hooks.poll_once = poll_for_stop;
    grid_set_hooks(&hooks);
    clear_stop();
    search_forget_tables();
    choose_directory(o);
    if (!o.dicts.empty())
        return load_named(o);
    discover_dictionaries();
    dictionary_set_install_grid_hooks();
    return nullptr;
}

const error_block *quill_dicts_finish(const quill_dict_options &o)
{
    if (!o.dicts.empty())
        return nullptr;
    load_document_dictionaries();
    return ensure_dictionary();
}

const error_block *quill_dicts_with_grid(const quill_dict_options &options, const char *grid_path)
{
    const error_block *e = quill_dicts_begin(options);
    if (!e && grid_path)
        e = open_grid_document(grid_path);
    return e ? e : quill_dicts_finish(options);
}

void quill_watch_stop(double seconds)
{
    interrupted = 0;
    timed_out = false;
    limit_seconds = seconds;
    started = std::chrono::steady_clock::now();
    std::signal(SIGINT, on_interrupt);
}

bool quill_interrupted() { return interrupted != 0; }
bool quill_timed_out() { return timed_out; }

void quill_fail(const error_block *e, const std::string &what)
{
    fprintf(stderr, "%s%s%s\n", what.c_str(), what.empty() ? "" : ": ", e ? e->errmess : "failed");
    quill_exit = 1;
}
