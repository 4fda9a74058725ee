// The pattern search's precomputed tables: every word decoded once, the
// words of each length in word order, and per length, position and letter
// a bit set of the words that have that letter there. They read the store
// and nothing else; the candidate source (candidates.h) walks them.
#include "app/dictionary/search_index.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/dictionary/dictionary.h"
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
    std::shared_ptr<void> attached;  // tables built on these (dropped with them)
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
    t.attached.reset();
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

}  // namespace

const SearchTables *search_tables(const Dictionary *d)
{
    if (!d)
        return nullptr;
    if (SearchTables *t = find_cached(d)) {
        if (stale(*t, d))
            build(*t, d);
        return t;
    }
    cache.push_back(std::make_unique<SearchTables>());
    build(*cache.back(), d);
    return cache.back().get();
}

const SearchTables *search_tables_built(const Dictionary *d)
{
    SearchTables *t = d ? find_cached(d) : nullptr;
    return t && !stale(*t, d) ? t : nullptr;
}

namespace {
uint32_t generation = 0;
}

void search_forget_tables()
{
    cache.clear();
    generation++;
}

uint32_t search_tables_generation() { return generation; }

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

bool search_tables_qualify(const SearchTables *t) { return t && t->qualifies; }

uint32_t search_tables_words(const SearchTables *t) { return t->words; }

void *search_tables_attached(const SearchTables *t) { return t->attached.get(); }

void search_tables_attach(const SearchTables *t, std::shared_ptr<void> tables)
{
    const_cast<SearchTables *>(t)->attached = std::move(tables);
}

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

