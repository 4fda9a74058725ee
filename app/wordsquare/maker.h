// The Wordsquare maker: a randomised depth-first search that places words
// into the grid, sharing cells where the letters agree, and fills the rest
// with random letters.
//
// "Make" and "New" are long operations: the shell runs the *_start step on
// the click and, 10 centiseconds later, the *_run step inside its job
// pattern (Stop bar, idle handler, busy pointer). Both steps are here; the
// scheduling and the bars are the shell's.
#pragma once

struct error_block;

// Places words n to word_count - 1 of the word list, trying every start
// cell and allowed direction from random ones. True when they are all
// placed, or when the stop flag cut the search short (after the message
// "Fitted %d words, up to %s"), or when a command run by one of its polls
// emptied the word list (the search then ends without a message and the
// runs below leave the grid's blanks alone); false when word n cannot be
// placed so that the later words fit.
bool fit_word(int n);

// "Make": clears selections, the Wordsquare area and every word's place;
// redraws and counts a modification.
void make_from_list_start();
// The fitting run: fit_word(0), random letters into the blanks, coverage
// cleared, grid redrawn.
void make_from_list_run();

// "New": makes sure a dictionary is in use ({ENOD} when none can be),
// clears the area and the list, refreshes, counts a modification.
const error_block *make_from_dictionary_start();
// The making run: random dictionary words are drawn and fitted one at a
// time until the fourth cannot be placed or the stop flag is set.
// make_from_dictionary_run = make_words_from_dictionary, then
// finish_making_from_dictionary (blanks filled, list cleared, redraws).
void make_from_dictionary_run();
void make_words_from_dictionary();
void finish_making_from_dictionary();

// One random word from the dictionaries in use, rotating through them
// (shared buffer, "" when none is in use). The rotation restarts with
// restart_dictionary_rotation: the next word then comes from the second
// dictionary in use, or from the only one.
const char *random_dictionary_word();
void restart_dictionary_rotation();
