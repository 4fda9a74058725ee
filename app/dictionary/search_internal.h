// Pieces shared by the pattern search's files (not for other modules).
#pragma once
#include <cstdint>

struct WordCursor;
struct Dictionary;

// Whether the searches use their precomputed tables (search_index.h).
// Tests switch it off to get the plain walks as a reference.
extern bool search_fast_path;

// Step 3 of a fit: records the code for part p; on the last part adds the
// row, else writes `text` (when `write`), solves the later parts and
// restores the part to `pattern`. False when the search must end.
bool search_take_candidate(int p, uint32_t code, const char *text, const char *pattern, bool write);

// Counts `words` visited words on `counter`, polling (when `poll`) and
// reading the stop flag at every search_poll_every-th. True when the search
// must end.
bool search_count_words(int &counter, int words, bool poll);

// The plain walks, the reference for the fast path.
int search_plain_prefix(const char *pattern, int position, WordCursor *cursor, int known, int n, int p);
bool search_plain_full_scan(const char *pattern, int position, int n, int p, int &counter);

// The entry a prefix search starts from: the last whose key sorts strictly
// below the pattern's first m bytes, or entry 0.
uint32_t search_prefix_start_entry(const Dictionary *d, const char *pattern, int m);
