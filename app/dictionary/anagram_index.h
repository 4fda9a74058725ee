// The anagram search's tables: every word filed under its letters, folded
// to upper case and sorted, in a hash table. Built on the pattern search's
// tables (search_index.h), which hold the decoded words, and dropped with
// them. They read the store and those tables, nothing else.
#pragma once
#include <cstdint>
#include <vector>

struct Dictionary;
struct AnagramTables;

// The tables of a dictionary (built when missing or stale).
const AnagramTables *anagram_tables(const Dictionary *d);
// The tables when they are built and fresh, else null (nothing is built).
const AnagramTables *anagram_tables_built(const Dictionary *d);
// The words that may be anagrams of `sorted` (n bytes, descending, "*"
// last), ascending: exactly the anagrams when `check` comes back false,
// else a superset to be tried one by one as the scan does. False when the
// tables cannot answer (more than two "*").
bool anagram_tables_find(const AnagramTables *a, const char *sorted, int n, std::vector<uint32_t> &found,
                         bool *check);
// Word `number` as stored.
const char *anagram_tables_word(const AnagramTables *a, uint32_t number);
