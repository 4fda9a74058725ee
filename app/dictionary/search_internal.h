// Pieces shared by the searches' walks (not for other modules).
#pragma once
#include <cstdint>

#include "app/dictionary/candidates.h"   // search_fast_path

// Step 3 of a fit: records the code for part p; on the last part adds the
// row, else writes `text` (when `write`), solves the later parts and
// restores the part to `pattern`. False when the search must end.
bool search_take_candidate(int p, uint32_t code, const char *text, const char *pattern, bool write);

// Counts `words` visited words on `counter`, polling (when `poll`) and
// reading the stop flag at every search_poll_every-th. True when the search
// must end.
bool search_count_words(int &counter, int words, bool poll);
