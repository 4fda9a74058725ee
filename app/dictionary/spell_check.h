// Spell check: the engine behind the Spell Check window and `quill spell`.
//
// The check walks the grid's words (grid_words.h) from a check position,
// passes over incomplete words (those holding a space) and known words,
// and stops at the first word that no dictionary of the document holds.
// For that word it builds the Guess dictionary: a word store of
// suggestions that belongs to no slot and is never saved.
//
// The engine knows no window. The shell fills SpellCheckHooks so that
// `check_next` can show a word in its window, close it, or say that there
// are no new words; with no hooks set, a found word is only kept as the
// current word and "No new words!" goes through report_message.
#pragma once

#include "app/dictionary/dictionary.h"

struct error_block;

struct SpellCheckHooks {
    // The window is open (null: never).
    bool (*window_open)();
    // An unknown word was found and the Guess dictionary rebuilt for it:
    // open the window if closed and show the word. Returns an error to
    // stop the check (it is passed on).
    const error_block *(*show_word)(const char *word);
    // The window part of closing: the retain question when a dictionary
    // has changed (changed: any_dictionary_changed()), then the window
    // removed. An error leaves the window open and is passed on.
    const error_block *(*close_window)(bool changed);
    // Around the search for the next word (the hourglass).
    void (*busy)(bool on);
};
void spell_check_set_hooks(const SpellCheckHooks *hooks);

// The suggestions for the current word, in word order.
extern Dictionary spell_guess;

// The number of the next grid word to examine.
extern int spell_check_position;
// The unknown word last found ("" before the first).
const char *spell_current_word();

// Words menu Spell Check: makes sure the document has a dictionary
// (nothing starts, and nothing is reported, when none can be attached),
// sets the check position to 0 and runs check_next.
const error_block *start_spell_check();
// Finds the next unknown word and shows it (make_suggestions, then the
// show_word hook), or, when none is left, closes the window when it is
// open and otherwise reports "No new words!". Logs "check next %d" with
// 1 when a word was found, else 0.
const error_block *check_next();
// Marks the check closed, logs "check close" and runs the close_window
// hook; frees the Guess dictionary unless the hook failed.
const error_block *close_spell_check();

// The engine's steps without the window.
// The next unknown complete grid word from the check position (advancing
// it) into `word` (GRID_WORD_BUFFER bytes): true, or false when none is left.
bool next_unknown_word(char *word);
// 1 when any dictionary of the document holds the word, ignoring case
// (and spaces, as the fast find does).
int is_known(const char *word);
// Rebuilds the Guess dictionary for `word` (six steps: neighbours, swaps,
// deletions, insertions, replacements, near misses). On a memory error the
// Guess dictionary holds what was added before it.
const error_block *make_suggestions(const char *word);
// Frees the Guess dictionary's blocks.
void spell_release_guess();
