// Pieces shared by the anagram search's files (not for other modules).
#pragma once
#include <cstdint>

struct Dictionary;

// The letters sorted into descending byte order ("*" after every letter).
void anagram_sort_letters(const char *letters, char *sorted);
// Whether `word` uses up positions of `sorted` (length n) one character at
// a time: each takes the first position holding the same character ignoring
// case, or a "*".
bool anagram_fits(const char *sorted, int n, const char *word);
// Adds word `number` of slot `slot` as a solution: false when the search
// must end (list full).
bool anagram_add(int slot, uint32_t number);

// The fast search of one dictionary: false when its tables cannot answer
// (the caller scans instead). `go_on` is false when the search must end.
bool anagram_fast(const Dictionary *d, int slot, const char *sorted, int n, int &counter, bool &go_on);
// Drops the anagram tables.
void anagram_forget_tables();
