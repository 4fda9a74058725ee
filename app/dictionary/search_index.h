// Precomputed tables that make the pattern searches fast without changing
// what they find, in what order, or when they poll.
//
// For each dictionary the tables hold every word decoded once, the words
// of each length in word order, and for each length, position and letter a
// bit set of the words that have that letter there. A dictionary qualifies
// when no word holds a space and no byte in it (or in the pattern) is a
// letter whose case partner differs between the word order and the code
// page's case rule; there the three ways of matching a part (complete,
// prefix, full scan) all mean "same length, same letters ignoring case",
// and the tables answer them with a few bit-set operations. Others take
// the plain walks.
//
// The tables read the store and nothing else. They are built when the
// candidate source (candidates.h) asks for them, and checked against the
// store's counts and a fingerprint whenever they are handed out; an editor
// that changes a dictionary calls search_forget_tables for certainty.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

struct Dictionary;

struct SearchTables;

// The tables of a dictionary (built when missing or stale).
const SearchTables *search_tables(const Dictionary *d);
// The tables of a dictionary when they are built and fresh, else null
// (nothing is built).
const SearchTables *search_tables_built(const Dictionary *d);
// Drops every table, the anagram tables too (after edits, or to free
// memory). mark_slot_changed calls it after every dictionary edit.
void search_forget_tables();
// Counts the calls of search_forget_tables: other caches built from the
// dictionaries (the Wordsquare lexicon) rebuild when it moves.
uint32_t search_tables_generation();
// The fingerprint the tables are checked against: the dictionary's
// generation, which every change of its words renews.
uint64_t search_fingerprint(const Dictionary *d);

// Whether the dictionary qualifies (t may be null: no).
bool search_tables_qualify(const SearchTables *t);
// The number of words the tables were built from.
uint32_t search_tables_words(const SearchTables *t);
// Tables built on these (the anagram tables) hang here; they are dropped
// when these are rebuilt or forgotten.
void *search_tables_attached(const SearchTables *t);
void search_tables_attach(const SearchTables *t, std::shared_ptr<void> tables);

// Whether the tables can answer for this pattern (n bytes).
bool search_tables_answer(const SearchTables *t, const char *pattern, int n);
// Word numbers of length n matching the pattern (space = any byte,
// otherwise equal ignoring case), ascending.
void search_tables_matches(const SearchTables *t, const char *pattern, int n, std::vector<uint32_t> &out);
bool search_tables_any_match(const SearchTables *t, const char *pattern, int n);
// The fingerprint the tables were built at.
uint64_t search_tables_print(const SearchTables *t);
// Word `number` as stored.
const char *search_tables_word(const SearchTables *t, uint32_t number);
// The first word whose first m bytes sort after the pattern's.
uint32_t search_tables_upper_bound(const SearchTables *t, const char *pattern, int m);
// The first word of length n numbered `from` or above (words when none).
uint32_t search_tables_next_of_length(const SearchTables *t, int n, uint32_t from);

