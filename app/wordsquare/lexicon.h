// The Wordsquare solver's dictionary test: which runs of grid letters are
// words of a dictionary in use.
//
// A word counts when some dictionary in use holds it ignoring letter case
// and spaces (the fast find's rule). The lexicon answers the solver's
// question at once for a whole run: the longest prefix that is such a word.
// Its fast form is a letter trie of those dictionary words that consist of
// the letters a-z alone (no other word can match a run), built once and
// rebuilt when a dictionary in use changes; the plain form asks find_word
// for each prefix, longest first.
#pragma once

// Whether the trie is used; tests switch it off for the plain reference.
extern bool lexicon_fast_path;

// Builds or checks the trie for the dictionaries in use.
void lexicon_prepare();
// The length of the longest prefix of `run` (`length` lower-case letters)
// that is a word and at least `shortest` long; 0 when none.
int lexicon_longest_word(const char *run, int length, int shortest);
// Whether `word` (NUL-terminated) is a word of a dictionary in use, by
// find_word in the fast mode (the plain test).
bool lexicon_plain_test(const char *word);
// Bytes the trie occupies (for the benchmarks' size check).
long lexicon_bytes();
// Drops the trie.
void lexicon_forget();
