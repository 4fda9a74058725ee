// The dictionaries of quill's search commands, and the engine set-up they
// share: error texts, hooks that poll for Ctrl+C and an optional time
// limit, and message boxes turned into lines on standard error.
//
// Dictionaries are named with --dict (a .dic file, or a name looked up in
// the dictionary directory), repeatable, searched in that order. With none
// named, the document's list of a given grid is used, else the default
// names. The dictionary directory is --dict-dir, else the environment
// variable QUILLMERE_DICTIONARIES, else the dictionary set's registry key.
#pragma once
#include <string>
#include <vector>

#include "tools/quill/quill.h"

struct error_block;

struct quill_dict_options {
    std::vector<std::string> dicts;
    std::string dict_dir;
};

// Adds --dict and --dict-dir to a command.
void quill_add_dict_options(CLI::App *command, quill_dict_options *options);

// Engine set-up, then the named dictionaries loaded (or, with none named,
// the directory discovered and the grid hooks installed so that a grid
// loaded next brings its list).
const error_block *quill_dicts_begin(const quill_dict_options &options);
// After the command loaded its grid (if any): the document's dictionaries
// loaded, or the default ones attached ({ENOD} when none can be).
const error_block *quill_dicts_finish(const quill_dict_options &options);
// Both, with the grid file `grid_path` (none when null) opened between them.
const error_block *quill_dicts_with_grid(const quill_dict_options &options, const char *grid_path);

// Ctrl+C and the time limit set the stop flag at the next poll. A limit of
// 0 means none.
void quill_watch_stop(double seconds);
bool quill_interrupted();    // Ctrl+C was pressed
bool quill_timed_out();      // the time limit passed

// Reports an error on standard error and sets the exit status 1.
void quill_fail(const error_block *e, const std::string &what);
