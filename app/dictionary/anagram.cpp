// Anagrams.
//
// The letters are sorted into descending byte order, so "*" (0x2A) comes
// after every letter and digit. A word is an anagram when it has as many
// bytes as there are letters and each of its characters, in turn, uses up
// the first remaining position that holds the same character ignoring case
// (upper-case comparison) or a "*". A letter therefore takes a "*" only
// when no letter is left for it, while a character below "*" (space,
// apostrophe) meets a "*" first and takes it.
#include "app/dictionary/anagram.h"

#include <algorithm>
#include <cstring>

#include "app/dictionary/anagram_internal.h"
#include "app/dictionary/dictionary.h"
#include "app/dictionary/search.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/dictionary/search_index.h"
#include "app/dictionary/search_internal.h"
#include "app/grid/grid.h"
#include "app/grid/result_list.h"
#include "toolkit/text/cp1252.h"

void anagram_sort_letters(const char *letters, char *sorted)
{
    size_t n = strlen(letters);
    memcpy(sorted, letters, n + 1);
    std::sort(sorted, sorted + n, [](char a, char b) {
        return static_cast<unsigned char>(a) > static_cast<unsigned char>(b);
    });
}

bool anagram_fits(const char *sorted, int n, const char *word)
{
    char left[256];
    memcpy(left, sorted, n);
    for (; *word; word++) {
        unsigned char want = cp_upper(static_cast<unsigned char>(*word));
        int j = 0;
        for (; j < n; j++) {
            unsigned char have = static_cast<unsigned char>(left[j]);
            if (have && (have == '*' || cp_upper(have) == want))
                break;
        }
        if (j == n)
            return false;
        left[j] = 0;   // a used position never matches again
    }
    return true;
}

bool anagram_add(int slot, uint32_t number)
{
    list_add_solution_code(solution_code(slot, number), 0);
    return grid.word_count <= maximum_solutions;
}

namespace {

// The plain scan of one dictionary: false when the search must end.
bool scan(const Dictionary *d, int slot, const char *sorted, int n, int &counter)
{
    WordCursor c;
    if (!word_at(d, 0, &c))
        return true;
    do {
        if (static_cast<int>(strlen(c.text)) == n && anagram_fits(sorted, n, c.text))
            if (!anagram_add(slot, c.number))
                return false;
        if (search_count_words(counter, 1, false))
            return false;
    } while (next_word(d, &c));
    return true;
}

}  // namespace

void find_anagrams(const char *letters)
{
    char sorted[256];
    if (strlen(letters) >= sizeof sorted)
        return;   // longer than any word: no anagram
    search_check_tables();
    anagram_sort_letters(letters, sorted);
    int n = static_cast<int>(strlen(sorted));
    int counter = 0;
    for (int position = 0; position < search_dictionary_count(); position++) {
        const Dictionary *d = search_dictionary(position);
        int slot = search_dictionary_slot(position);
        if (!d)
            continue;
        bool go_on = true;
        if (!(search_fast_path && anagram_fast(d, slot, sorted, n, counter, go_on)))
            go_on = scan(d, slot, sorted, n, counter);
        if (!go_on)
            return;
    }
}
