// The pattern search's precomputed tables and the fast walks built on them.
//
// Why the fast walks find exactly what the plain ones find, for a
// qualifying dictionary (no word with a space, no byte whose case partner
// differs between the word order and the code page's case rule):
//   - the word order is the order of the words' letters ignoring case, so
//     the words that share the pattern's first m letters form one run;
//   - the prefix search starts at an index entry whose anchor sorts below
//     that run, and ends at the first word of the part's length beyond it
//     (the first such word at or after the run's upper bound);
//   - in between, a word is a candidate exactly when it has the part's
//     length and the pattern's letters ignoring case, which is what the
//     bit sets give, in word order.
// The walks count the words the plain walk would visit between candidates,
// so that polls and stop-flag reads fall on the same words.
#include "app/dictionary/search_index.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/dictionary/anagram_internal.h"
#include "app/dictionary/dictionary.h"
#include "app/dictionary/search.h"
#include "app/dictionary/search_dictionaries.h"
#include "app/dictionary/search_internal.h"
#include "app/grid/parts.h"
#include "toolkit/memory/memory.h"
#include "toolkit/text/cp1252.h"

struct LengthTable {
    std::vector<uint32_t> numbers;   // word numbers of this length, ascending
    std::vector<int32_t> sets;       // position * 256 + letter -> set number, -1 none
    std::vector<uint64_t> bits;      // the sets, `stride` words each
    int stride = 0;
};

struct SearchTables {
    const Dictionary *dictionary;
    uint32_t words, noindex;
    int block_length;
    uint64_t print;                  // fingerprint of both blocks
    bool qualifies;                  // no spaces, no odd bytes
    std::vector<uint32_t> offsets;   // words + 1 offsets into text
    std::vector<char> text;          // every word as stored, NUL-terminated
    LengthTable lengths[WORD_BUFFER];
};

namespace {

std::vector<std::unique_ptr<SearchTables>> cache;
bool odd_bytes[256];
bool odd_ready = false;

// A byte is odd when "same letter ignoring case" means something different
// to the word order and to the code page's upper- and lower-case rules.
void find_odd_bytes()
{
    if (odd_ready)
        return;
    for (int a = 0; a < 256; a++)
        for (int b = 0; b < 256; b++) {
            bool s = collation_secondary[a] == collation_secondary[b];
            bool u = cp_upper(static_cast<unsigned char>(a)) == cp_upper(static_cast<unsigned char>(b));
            bool l = cp_lower(static_cast<unsigned char>(a)) == cp_lower(static_cast<unsigned char>(b));
            if (s != u || u != l)
                odd_bytes[a] = odd_bytes[b] = true;
        }
    odd_ready = true;
}


}  // namespace

uint64_t search_fingerprint(const Dictionary *d)
{
    // Every change of a store gives it a generation never used before, so
    // equal generations mean equal words.
    return d->generation;
}

namespace {

uint64_t fingerprint(const Dictionary *d) { return search_fingerprint(d); }

void build_length_sets(SearchTables &t)
{
    for (int n = 1; n < WORD_BUFFER; n++) {
        LengthTable &lt = t.lengths[n];
        lt.stride = static_cast<int>((lt.numbers.size() + 63) / 64);
        lt.sets.assign(static_cast<size_t>(n) * 256, -1);
        for (size_t j = 0; j < lt.numbers.size(); j++) {
            const char *w = &t.text[t.offsets[lt.numbers[j]]];
            for (int i = 0; i < n; i++) {
                int32_t &set = lt.sets[i * 256 + cp_upper(static_cast<unsigned char>(w[i]))];
                if (set < 0) {
                    set = static_cast<int32_t>(lt.bits.size() / lt.stride);
                    lt.bits.resize(lt.bits.size() + lt.stride, 0);
                }
                lt.bits[static_cast<size_t>(set) * lt.stride + j / 64] |= 1ull << (j % 64);
            }
        }
    }
}

void build(SearchTables &t, const Dictionary *d)
{
    find_odd_bytes();
    t.dictionary = d;
    t.words = d->words;
    t.noindex = d->noindex;
    void *anchor = d->wordblock;
    t.block_length = anchor ? flex_length(&anchor) : 0;
    t.print = fingerprint(d);
    t.qualifies = true;
    t.offsets.clear();
    t.text.clear();
    for (LengthTable &lt : t.lengths)
        lt = LengthTable();
    WordCursor c;
    if (d->words && word_at(d, 0, &c)) {
        do {
            int n = static_cast<int>(strlen(c.text));
            t.offsets.push_back(static_cast<uint32_t>(t.text.size()));
            t.text.insert(t.text.end(), c.text, c.text + n + 1);
            for (int i = 0; i < n; i++)
                if (c.text[i] == ' ' || odd_bytes[static_cast<unsigned char>(c.text[i])])
                    t.qualifies = false;
            if (n > 0 && n < WORD_BUFFER)
                t.lengths[n].numbers.push_back(c.number);
        } while (next_word(d, &c));
    }
    t.offsets.push_back(static_cast<uint32_t>(t.text.size()));
    if (t.offsets.size() != static_cast<size_t>(t.words) + 1)
        t.qualifies = false;   // a store whose count disagrees with its words
    if (t.qualifies)
        build_length_sets(t);
}

SearchTables *find_cached(const Dictionary *d)
{
    for (auto &t : cache)
        if (t->dictionary == d)
            return t.get();
    return nullptr;
}

bool stale(const SearchTables &t, const Dictionary *d)
{
    void *anchor = d->wordblock;
    int length = anchor ? flex_length(&anchor) : 0;
    return t.words != d->words || t.noindex != d->noindex || t.block_length != length ||
           t.print != fingerprint(d);
}

// Gathers the bit sets of the pattern's letters; false when a letter has
// no set (no word of this length has it there).
bool gather_sets(const LengthTable &lt, const char *pattern, int n, std::vector<const uint64_t *> &sets)
{
    sets.clear();
    for (int i = 0; i < n; i++) {
        unsigned char c = static_cast<unsigned char>(pattern[i]);
        if (c == ' ')
            continue;
        int32_t set = lt.sets[i * 256 + cp_upper(c)];
        if (set < 0)
            return false;
        sets.push_back(&lt.bits[static_cast<size_t>(set) * lt.stride]);
    }
    return true;
}

template <class F> void each_match(const SearchTables *t, const char *pattern, int n, F found)
{
    if (n <= 0 || n >= WORD_BUFFER)
        return;
    const LengthTable &lt = t->lengths[n];
    thread_local std::vector<const uint64_t *> sets;
    if (lt.numbers.empty() || !gather_sets(lt, pattern, n, sets))
        return;
    for (int k = 0; k < lt.stride; k++) {
        uint64_t w = ~0ull;
        for (const uint64_t *s : sets)
            w &= s[k];
        if (k == lt.stride - 1 && lt.numbers.size() % 64)
            w &= (1ull << (lt.numbers.size() % 64)) - 1;
        while (w) {
            int bit = __builtin_ctzll(w);
            if (!found(lt.numbers[static_cast<size_t>(k) * 64 + bit]))
                return;
            w &= w - 1;
        }
    }
}

bool parts_cross(int p, int q)
{
    const part &a = parts[p], &b = parts[q];
    if (a.direction == b.direction)
        return false;
    const part &across = a.direction == 0 ? a : b;
    const part &down = a.direction == 0 ? b : a;
    return down.col >= across.col && down.col < across.col + across.length && across.row >= down.row &&
           across.row < down.row + down.length;
}

}  // namespace

const SearchTables *search_tables(const Dictionary *d)
{
    if (!d)
        return nullptr;
    if (SearchTables *t = find_cached(d))
        return t;
    cache.push_back(std::make_unique<SearchTables>());
    build(*cache.back(), d);
    return cache.back().get();
}

namespace {
uint32_t generation = 0;
}

void search_forget_tables()
{
    anagram_forget_tables();
    cache.clear();
    generation++;
}

uint32_t search_tables_generation() { return generation; }

void search_check_tables()
{
    for (int i = 0; i < search_dictionary_count(); i++) {
        const Dictionary *d = search_dictionary(i);
        SearchTables *t = d ? find_cached(d) : nullptr;
        if (t && stale(*t, d))
            build(*t, d);
    }
}

bool search_tables_answer(const SearchTables *t, const char *pattern, int n)
{
    if (!t || !t->qualifies || n <= 0 || n >= WORD_BUFFER)
        return false;
    for (int i = 0; i < n; i++) {
        unsigned char c = static_cast<unsigned char>(pattern[i]);
        if (c == 0 || odd_bytes[c])
            return false;
    }
    return true;
}

void search_tables_matches(const SearchTables *t, const char *pattern, int n, std::vector<uint32_t> &out)
{
    out.clear();
    each_match(t, pattern, n, [&](uint32_t w) {
        out.push_back(w);
        return true;
    });
}

bool search_tables_any_match(const SearchTables *t, const char *pattern, int n)
{
    bool any = false;
    each_match(t, pattern, n, [&](uint32_t) {
        any = true;
        return false;
    });
    return any;
}

uint64_t search_tables_print(const SearchTables *t) { return t->print; }

const char *search_tables_word(const SearchTables *t, uint32_t number)
{
    return number < t->words ? &t->text[t->offsets[number]] : "";
}

uint32_t search_tables_upper_bound(const SearchTables *t, const char *pattern, int m)
{
    uint32_t low = 0, high = t->words;
    while (low < high) {
        uint32_t mid = low + (high - low) / 2;
        if (compare_words(pattern, search_tables_word(t, mid), m, nullptr) < 0)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

uint32_t search_tables_next_of_length(const SearchTables *t, int n, uint32_t from)
{
    const std::vector<uint32_t> &v = t->lengths[n].numbers;
    auto it = std::lower_bound(v.begin(), v.end(), from);
    return it == v.end() ? t->words : *it;
}

namespace {

// Hands the candidates in [start, stop) to the search and counts the words
// the plain walk visits: every word from `start` up to, not including,
// `stop`. False when the search must end.
bool walk_candidates(const SearchTables *t, int slot, const char *pattern, int n, int p, uint32_t start,
                     uint32_t stop, int &counter, bool poll)
{
    std::vector<uint32_t> found;
    search_tables_matches(t, pattern, n, found);
    uint32_t next = start;
    for (uint32_t w : found) {
        if (w < start)
            continue;
        if (w >= stop)
            break;
        if (search_count_words(counter, static_cast<int>(w - next), poll))
            return false;
        char word[WORD_BUFFER];
        memcpy(word, search_tables_word(t, w), n + 1);
        if (!search_take_candidate(p, solution_code(slot, w), word, pattern, true))
            return false;
        if (search_count_words(counter, 1, poll))
            return false;
        next = w + 1;
    }
    return !search_count_words(counter, static_cast<int>(stop - next), poll);
}

}  // namespace

bool search_fast_prefix(const char *pattern, int position, int known, int n, int p, int *result)
{
    const Dictionary *d = search_dictionary(position);
    const SearchTables *t = search_tables(d);
    if (!search_tables_answer(t, pattern, n))
        return false;
    int counter = 0;
    *result = 0;
    if (d->words == 0)
        return true;
    int m = known < KEY_LENGTH ? known : KEY_LENGTH;
    uint32_t start = entry_first(d, search_prefix_start_entry(d, pattern, m));
    uint32_t stop = m == 0 ? t->words
                           : search_tables_next_of_length(t, n, search_tables_upper_bound(t, pattern, m));
    bool go_on = walk_candidates(t, search_dictionary_slot(position), pattern, n, p, start, stop, counter, false);
    *result = go_on ? counter : search_stopped;
    return true;
}

bool search_fast_full_scan(const char *pattern, int position, int n, int p, int &counter)
{
    const Dictionary *d = search_dictionary(position);
    const SearchTables *t = search_tables(d);
    if (!search_tables_answer(t, pattern, n))
        return search_plain_full_scan(pattern, position, n, p, counter);
    if (d->words == 0)
        return true;
    return walk_candidates(t, search_dictionary_slot(position), pattern, n, p, 0, t->words, counter, true);
}

bool search_later_parts_dead(int p)
{
    if (!search_fast_path)
        return false;
    int count = search_dictionary_count();
    for (int i = 0; i < count; i++) {
        const SearchTables *t = search_tables(search_dictionary(i));
        if (!t || !t->qualifies)
            return false;
    }
    char pattern[WORD_BUFFER * 8 + 1];
    for (int q = p + 1; q < part_count; q++) {
        if (!parts_cross(p, q))
            continue;
        read_part(q, pattern);
        int n = parts[q].length;
        if (n > WORD_MAX)
            return true;   // no word is that long
        bool any = false;
        for (int i = 0; i < count && !any; i++) {
            const SearchTables *t = search_tables(search_dictionary(i));
            any = !search_tables_answer(t, pattern, n) || search_tables_any_match(t, pattern, n);
        }
        if (!any)
            return true;
    }
    return false;
}
