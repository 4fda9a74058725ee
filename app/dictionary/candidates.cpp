// The candidate source: the plain walks of the store and the tables' answers
// behind one interface.
//
// A walk hands out its candidates in word order and says how many words
// the plain walk visits before each, so that the caller's counting (polls,
// stop-flag reads) falls on the same words whichever way answered.
//
// Why the tables give exactly what the plain walks give, for a qualifying
// dictionary (no word with a space, no byte whose case partner differs
// between the word order and the code page's case rule):
//   - the word order is the order of the words' letters ignoring case, so
//     the words that share the pattern's first m letters form one run;
//   - the prefix search starts at an index entry whose anchor sorts below
//     that run, and ends at the first word of the part's length beyond it
//     (the first such word at or after the run's upper bound);
//   - in between, a word is a candidate exactly when it has the part's
//     length and the pattern's letters ignoring case, which is what the
//     bit sets give, in word order.
// For anagrams, any word the scan finds has folded letters that contain
// the given ones, so it is among those the tables gather.
//
// When to build the tables: a single look-up walks part of the store (a
// known first letter narrows it to a run) or all of it once, which costs
// far less than decoding and filing every word. So the plain walks answer
// until the words they have visited in a dictionary reach
// candidates_patience times its size; from then on the tables answer,
// having repaid their build. A search that asks many questions (a fill of
// crossing parts) builds them up front through candidates_prepare.
#include "app/dictionary/candidates.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/dictionary/anagram_index.h"
#include "app/dictionary/search_index.h"
#include "toolkit/text/cp1252.h"

bool search_fast_path = true;
int candidates_patience = 3;

namespace {

// The plain walks' work in one dictionary since it last changed.
struct Work {
    const Dictionary *dictionary;
    uint64_t generation;
    uint64_t pattern_words;   // visited by pattern walks
    uint64_t anagram_words;   // visited by anagram scans
};
std::vector<Work> work;

Work &work_of(const Dictionary *d)
{
    for (Work &w : work)
        if (w.dictionary == d) {
            if (w.generation != d->generation)
                w = Work{d, d->generation, 0, 0};
            return w;
        }
    work.push_back(Work{d, d->generation, 0, 0});
    return work.back();
}

bool repaid(uint64_t visited, const Dictionary *d)
{
    return visited >= static_cast<uint64_t>(candidates_patience) * d->words;
}

// The pattern tables for a walk, built when the plain walks have repaid
// them; null when the plain walk answers.
const SearchTables *pattern_tables(const Dictionary *d)
{
    if (!search_fast_path)
        return nullptr;
    if (const SearchTables *t = search_tables_built(d))
        return t;
    return repaid(work_of(d).pattern_words, d) ? search_tables(d) : nullptr;
}

const AnagramTables *anagram_tables_for(const Dictionary *d)
{
    if (!search_fast_path)
        return nullptr;
    if (const AnagramTables *a = anagram_tables_built(d))
        return a;
    return repaid(work_of(d).anagram_words, d) ? anagram_tables(d) : nullptr;
}

// Full-scan match: same length with spaces, upper-case comparison.
bool matches_upper(const char *pattern, const char *word, int n)
{
    for (int i = 0; i < n; i++) {
        unsigned char pc = static_cast<unsigned char>(pattern[i]);
        if (pc != ' ' && cp_upper(pc) != cp_upper(static_cast<unsigned char>(word[i])))
            return false;
    }
    return true;
}

// Prefix-search match: the position of the first mismatch (n when none),
// lower-case comparison.
int mismatch_lower(const char *pattern, const char *word, int n)
{
    for (int i = 0; i < n; i++) {
        unsigned char pc = static_cast<unsigned char>(pattern[i]);
        if (pc != ' ' && cp_lower(pc) != cp_lower(static_cast<unsigned char>(word[i])))
            return i;
    }
    return n;
}

int remove_spaces(const char *text, char *out)
{
    int n = 0;
    for (; *text; text++)
        if (*text != ' ')
            out[n++] = *text;
    out[n] = 0;
    return n;
}

// The last index entry whose key sorts strictly below the pattern's first
// m bytes (entry 0 when none): a binary search, then a step back.
uint32_t prefix_start_entry(const Dictionary *d, const char *pattern, int m)
{
    char key[KEY_LENGTH + 1];
    auto compare = [&](uint32_t entry) {
        memcpy(key, entry_key(d, entry), KEY_LENGTH);
        key[KEY_LENGTH] = 0;
        return compare_words(pattern, key, m, nullptr);
    };
    int low = 0, high = static_cast<int>(d->noindex) - 1, mid = 0, last = 0;
    while (low <= high) {
        mid = (low + high) / 2;
        last = compare(mid);
        if (last == 0)
            break;
        if (last > 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    while (last <= 0 && mid > 0) {
        mid--;
        last = compare(mid);
    }
    return static_cast<uint32_t>(mid);
}

// Whether a decoded word has exactly n bytes. Most words fail at the
// first test; bytes past a word's terminator may be left from longer
// words, so a NUL at n alone does not tell.
bool has_length(const char *word, int n)
{
    if (n > WORD_MAX || word[n] != 0)
        return false;
    for (int i = 0; i < n; i++)
        if (word[i] == 0)
            return false;
    return true;
}

// The letters text of the plain prefix walk's current word.
thread_local char letters_text[WORD_BUFFER];

// What the plain walk makes of the cursor's word: 1 a candidate, 0 not,
// -1 the walk is past every word that can still match.
int judge(CandidateWalk *w, const char **text)
{
    const char *word = w->cursor.text;
    switch (w->match) {
    case CandidateMatch::letters: {
        // Without stored spaces a word is its own letters.
        const char *letters = word;
        if (w->dictionary->spaced) {
            if (remove_spaces(word, letters_text) != w->length)
                return 0;
            letters = letters_text;
        } else if (!has_length(word, w->length)) {
            return 0;
        }
        int at = mismatch_lower(w->pattern, letters, w->length);
        if (at == w->length) {
            *text = letters;
            return 1;
        }
        return at < w->known && compare_words(w->pattern, word, w->known, nullptr) < 0 ? -1 : 0;
    }
    case CandidateMatch::spelled:
        *text = word;
        return has_length(word, w->length) && matches_upper(w->pattern, word, w->length);
    case CandidateMatch::anagram:
        *text = word;
        return has_length(word, w->length) && anagram_fits(w->pattern, w->length, word);
    case CandidateMatch::whole:
        break;
    }
    return 0;
}

bool plain_next(CandidateWalk *w, int budget, CandidateStep *step)
{
    const Dictionary *d = w->dictionary;
    // The words visited count toward the tables (not in the reference mode
    // without them).
    Work &spent = work_of(d);
    uint64_t ignored = 0;
    uint64_t &visited = !search_fast_path                    ? ignored
                        : w->match == CandidateMatch::anagram ? spent.anagram_words
                                                              : spent.pattern_words;
    int passed = 0;
    for (;;) {
        if (!w->started) {
            w->started = true;
            if (w->match == CandidateMatch::letters)
                first_word_in_block(d, prefix_start_entry(d, w->pattern, w->known), &w->cursor);
            else
                word_at(d, 0, &w->cursor);
        } else if (!next_word(d, &w->cursor)) {
            break;
        }
        const char *text = "";
        int verdict = judge(w, &text);
        if (verdict < 0)
            break;
        visited++;
        if (verdict > 0) {
            step->passed = passed;
            step->found = true;
            step->number = w->cursor.number;
            step->text = text;
            return true;
        }
        if (++passed >= budget) {
            step->passed = passed;
            return true;
        }
    }
    w->done = true;
    step->passed = passed;
    return false;
}

bool tables_next(CandidateWalk *w, CandidateStep *step)
{
    while (w->next_found < w->found.size()) {
        uint32_t number = w->found[w->next_found++];
        if (number < w->next_word)
            continue;
        if (number >= w->stop)
            break;
        const char *text = search_tables_word(w->tables, number);
        if (w->check_anagram && !anagram_fits(w->pattern, w->length, text))
            continue;   // a word the scan passes over: counted with the next
        step->passed = static_cast<int>(number - w->next_word);
        step->found = true;
        step->number = number;
        step->text = text;
        w->next_word = number + 1;
        return true;
    }
    step->passed = static_cast<int>(w->stop - w->next_word);
    w->next_word = w->stop;
    w->done = true;
    return false;
}

// Sets up the tables' answer of a pattern walk; false when the plain walk
// must answer.
bool begin_from_pattern_tables(CandidateWalk *w)
{
    const Dictionary *d = w->dictionary;
    const SearchTables *t = pattern_tables(d);
    if (!search_tables_answer(t, w->pattern, w->length))
        return false;
    w->tables = t;
    w->next_word = 0;
    w->stop = d->words;
    if (w->match == CandidateMatch::letters && w->known > 0) {
        w->next_word = entry_first(d, prefix_start_entry(d, w->pattern, w->known));
        w->stop = search_tables_next_of_length(t, w->length, search_tables_upper_bound(t, w->pattern, w->known));
    }
    search_tables_matches(t, w->pattern, w->length, w->found);
    return true;
}

bool begin_from_anagram_tables(CandidateWalk *w)
{
    const AnagramTables *a = anagram_tables_for(w->dictionary);
    if (!a || !anagram_tables_find(a, w->pattern, w->length, w->found, &w->check_anagram))
        return false;
    w->tables = search_tables_built(w->dictionary);
    w->next_word = 0;
    w->stop = w->dictionary->words;
    return true;
}

}  // namespace

void candidates_begin(CandidateWalk *w, const Dictionary *d, CandidateMatch match, const char *pattern, int n,
                      int known)
{
    w->dictionary = d;
    w->match = match;
    w->length = n;
    w->known = known < KEY_LENGTH ? known : KEY_LENGTH;
    w->started = false;
    w->tables = nullptr;
    w->found.clear();
    w->next_found = 0;
    w->check_anagram = false;
    w->done = !d || d->words == 0 || n < 0 || n >= static_cast<int>(sizeof w->pattern);
    if (w->done)
        return;
    memcpy(w->pattern, pattern, n);
    w->pattern[n] = 0;
    if (match == CandidateMatch::whole) {
        // A part longer than any word takes none (the find compares 31
        // bytes), nor does one with a NUL cell (the find would see a
        // shorter word).
        bool found = n <= WORD_MAX && strlen(pattern) == static_cast<size_t>(n) &&
                     find_word(d, w->pattern, &w->cursor, nullptr);
        w->found.assign(found ? 1 : 0, w->cursor.number);
        return;
    }
    if (match == CandidateMatch::anagram)
        begin_from_anagram_tables(w);
    else
        begin_from_pattern_tables(w);
}

bool candidates_next(CandidateWalk *w, int budget, CandidateStep *step)
{
    *step = CandidateStep();
    if (w->done)
        return false;
    if (w->match == CandidateMatch::whole) {
        w->done = true;
        if (w->found.empty())
            return false;
        step->found = true;
        step->number = w->found[0];
        step->text = w->pattern;
        return true;
    }
    if (w->tables)
        return tables_next(w, step);
    return plain_next(w, budget < 1 ? 1 : budget, step);
}

bool candidates_tables_ready(const Dictionary *d)
{
    return search_fast_path && search_tables_qualify(search_tables_built(d));
}

bool candidates_exist(const Dictionary *d, const char *pattern, int n)
{
    const SearchTables *t = search_fast_path ? search_tables_built(d) : nullptr;
    return !search_tables_answer(t, pattern, n) || search_tables_any_match(t, pattern, n);
}

void candidates_forget()
{
    work.clear();
    search_forget_tables();
}

void candidates_prepare(const Dictionary *d)
{
    if (search_fast_path && d)
        search_tables(d);
}

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
