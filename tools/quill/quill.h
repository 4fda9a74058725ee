// quill: the command-line front end. Each command group lives in its own
// file and adds its subcommands to the application here.
#pragma once
#include <CLI/CLI.hpp>
#include <string>

// Each returns after adding its subcommands; the commands' callbacks set
// the process exit status through quill_exit.
void add_grid_commands(CLI::App &app);
void add_dict_commands(CLI::App &app);
void add_search_commands(CLI::App &app);       // solve, fill, anagram
void add_wordsquare_commands(CLI::App &app);
void add_spell_commands(CLI::App &app);          // spell, suggest
void add_autofill_commands(CLI::App &app);
void add_export_commands(CLI::App &app);       // clues, picture

// The status the program exits with once the chosen command has run.
extern int quill_exit;

// Writes bytes to standard output exactly (binary in both builds).
void quill_write(const char *bytes, size_t length);
void quill_print_line(const char *text);
// The grid as `quill grid info` prints it: one JSON object.
std::string quill_grid_json_text();

// Code page 1252 text as UTF-8 (for JSON output, which must be UTF-8).
std::string quill_utf8(const char *text, size_t length);
