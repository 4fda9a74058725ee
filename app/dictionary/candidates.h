// The candidate source of the searches: "the words of one dictionary that
// fit this pattern, in store order, from this one".
//
// The walks over parts (search.cpp) and over the dictionaries (anagram.cpp)
// ask here for their candidates one at a time and count the words visited,
// polling as they go. Behind the one interface stand the plain walks of
// the store and the precomputed tables (search_index.h, anagram tables);
// both give the same words, in the same order, with the same counts of
// visited words. This layer calls only the tables and the store below it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/dictionary/dictionary.h"

struct SearchTables;

// How a pattern is held against a stored word.
enum class CandidateMatch : uint8_t {
    whole,     // a complete pattern: the word itself, found by find_word
    letters,   // the prefix search: the word's letters alone (spaces removed)
               // have the pattern's length and letters, lower-case comparison;
               // the walk starts from the index and ends past the known prefix
    spelled,   // the full scan: the word as stored, spaces included, has the
               // pattern's length and letters, upper-case comparison
    anagram,   // the pattern is sorted letters ("*" any one character) that
               // the word's characters use up one by one
};

// One walk over one dictionary. A plain record: fill it with
// candidates_begin, then step it with candidates_next.
struct CandidateWalk {
    const Dictionary *dictionary = nullptr;
    CandidateMatch match = CandidateMatch::whole;
    char pattern[256];        // the pattern (sorted letters for an anagram)
    int length = 0;           // its length n
    int known = 0;            // letters: bytes of the prefix that the index narrows (m)
    bool done = false;
    // The plain walk.
    WordCursor cursor;
    bool started = false;
    // The tables' answer: candidate numbers in [first, stop), in order.
    const SearchTables *tables = nullptr;
    std::vector<uint32_t> found;
    size_t next_found = 0;
    uint32_t next_word = 0;   // the first word not yet counted
    uint32_t stop = 0;        // the word the walk ends before
    bool check_anagram = false;   // tables' candidates still tried as the scan does
};

// One step of a walk.
struct CandidateStep {
    int passed = 0;          // words visited that were no candidates, before this step's word
    bool found = false;      // a candidate follows: number and text
    uint32_t number = 0;     // its word number
    const char *text = "";   // its text as written into a part (valid until the next step)
};

// Starts a walk over dictionary `d` (null or empty: no candidates).
// `known` is the length of the prefix before the first empty cell
// (letters only). Patterns longer than 255 bytes have no candidates.
void candidates_begin(CandidateWalk *walk, const Dictionary *d, CandidateMatch match, const char *pattern, int n,
                      int known);
// The next candidate, or the end: false when the walk is over (the step's
// `passed` words still count). A plain walk gives control back, with no
// candidate, after about `budget` words, so that the caller can poll.
bool candidates_next(CandidateWalk *walk, int budget, CandidateStep *step);

// Whether the tables of `d` are built and can tell at once whether a part
// has a candidate (candidates_exist).
bool candidates_tables_ready(const Dictionary *d);
// Whether some word of `d` has the pattern's length and letters, ignoring
// case (true when the tables cannot tell).
bool candidates_exist(const Dictionary *d, const char *pattern, int n);

// Whether the candidate source may use its precomputed tables. Tests
// switch it off to get the plain walks as a reference.
extern bool search_fast_path;

// Builds the tables of `d` now: a search that will ask many questions (a
// fill of crossing parts) pays for them once, up front.
void candidates_prepare(const Dictionary *d);
// Drops every table and the count of the plain walks' work, as a fresh
// process starts.
void candidates_forget();
// How many whole walks of a dictionary the plain walks may make before its
// tables are built: a single look-up walks a part of the store and never
// pays for tables of every word, while a run of look-ups soon repays them.
// 0 builds the tables at the first look-up.
extern int candidates_patience;

// The letters sorted into descending byte order ("*" after every letter).
void anagram_sort_letters(const char *letters, char *sorted);
// Whether `word` uses up positions of `sorted` (length n) one character at
// a time: each takes the first position holding the same character ignoring
// case, or a "*".
bool anagram_fits(const char *sorted, int n, const char *word);
