// Anagrams.
//
// The letters are sorted into descending byte order, so "*" (0x2A) comes
// after every letter and digit. A word is an anagram when it has as many
// bytes as there are letters and each of its characters, in turn, uses up
// the first remaining position that holds the same character ignoring case
// (upper-case comparison) or a "*". A letter therefore takes a "*" only
// when no letter is left for it, while a character below "*" (space,
// apostrophe) meets a "*" first and takes it.
//
// The words come from the candidate source (candidates.h), from the plain
// scan or the anagram tables; this walk over the dictionaries counts the
// visited words, reads the stop flag and adds the rows.
#include "app/dictionary/anagram.h"

#include <cstring>

#include "app/dictionary/candidates.h"
#include "app/dictionary/search.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/dictionary/search_internal.h"
#include "app/grid/grid.h"
#include "app/grid/result_list.h"

namespace {

// Adds every anagram of the walk as a one-part solution, counting the
// visited words on `counter`: false when the search must end (list full or
// stopped).
bool take_walk(CandidateWalk &walk, int slot, int &counter)
{
    CandidateStep step;
    for (;;) {
        bool more = candidates_next(&walk, search_poll_every - counter, &step);
        if (search_count_words(counter, step.passed, false))
            return false;
        if (!step.found) {
            if (!more)
                return true;
            continue;
        }
        list_add_solution_code(solution_code(slot, step.number), 0);
        if (grid.word_count > maximum_solutions)
            return false;
        if (search_count_words(counter, 1, false))
            return false;
    }
}

}  // namespace

void find_anagrams(const char *letters)
{
    char sorted[256];
    if (strlen(letters) >= sizeof sorted)
        return;   // longer than any word: no anagram
    anagram_sort_letters(letters, sorted);
    int n = static_cast<int>(strlen(sorted));
    int counter = 0;
    for (int position = 0; position < search_dictionary_count(); position++) {
        const Dictionary *d = search_dictionary(position);
        if (!d)
            continue;
        CandidateWalk walk;
        candidates_begin(&walk, d, CandidateMatch::anagram, sorted, n, 0);
        if (!take_walk(walk, search_dictionary_slot(position), counter))
            return;
    }
}
