// The anagram search's tables: every word filed under its letters, folded
// to upper case and sorted, in a hash table. A query without "*" is one
// look-up; with one or two "*" it looks up the given letters plus every
// letter (or pair of letters) that the dictionary uses, gathers those
// words in word order and tries each against the letters exactly as the
// scan does, because a character below "*" may take a "*" first and fail
// where the letters alone would fit. Any word the scan finds has letters
// that contain the given ones, so it is among those gathered.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "app/dictionary/anagram_internal.h"
#include "app/dictionary/dictionary.h"
#include "app/dictionary/search_index.h"
#include "app/dictionary/search_internal.h"
#include "toolkit/text/cp1252.h"

namespace {

struct Group {
    uint32_t key_at;    // offset of the key in `keys`
    uint32_t first;     // first of the group's word numbers in `numbers`
    uint32_t count;
    uint8_t length;
};

struct AnagramTables {
    const Dictionary *dictionary;
    uint64_t print;
    const SearchTables *words;       // the decoded words
    std::vector<unsigned char> keys;
    std::vector<Group> groups;
    std::vector<uint32_t> numbers;   // ascending within a group
    std::vector<int32_t> slots;      // hash table of group numbers, -1 empty
    std::vector<unsigned char> alphabet;   // folded bytes the words use
};

std::vector<std::unique_ptr<AnagramTables>> cache;

uint32_t hash_key(const unsigned char *key, int n)
{
    uint32_t h = 2166136261u ^ static_cast<uint32_t>(n);
    for (int i = 0; i < n; i++)
        h = (h ^ key[i]) * 16777619u;
    return h;
}

int make_key(const char *word, unsigned char *key)
{
    int n = 0;
    for (; word[n]; n++)
        key[n] = cp_upper(static_cast<unsigned char>(word[n]));
    std::sort(key, key + n);
    return n;
}

void build(AnagramTables &a, const Dictionary *d)
{
    a.dictionary = d;
    a.words = search_tables(d);
    a.print = search_tables_print(a.words);
    a.keys.clear();
    a.groups.clear();
    a.numbers.clear();
    struct Entry {
        unsigned char key[WORD_BUFFER];
        uint8_t length;
        uint32_t number;
    };
    std::vector<Entry> entries(d->words);
    bool used[256] = {};
    for (uint32_t w = 0; w < d->words; w++) {
        Entry &e = entries[w];
        e.length = static_cast<uint8_t>(make_key(search_tables_word(a.words, w), e.key));
        e.number = w;
        for (int i = 0; i < e.length; i++)
            used[e.key[i]] = true;
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &x, const Entry &y) {
        if (x.length != y.length)
            return x.length < y.length;
        int c = memcmp(x.key, y.key, x.length);
        return c != 0 ? c < 0 : x.number < y.number;
    });
    for (size_t i = 0; i < entries.size(); i++) {
        const Entry &e = entries[i];
        if (i == 0 || e.length != entries[i - 1].length || memcmp(e.key, entries[i - 1].key, e.length)) {
            a.groups.push_back({static_cast<uint32_t>(a.keys.size()), static_cast<uint32_t>(a.numbers.size()), 0,
                                e.length});
            a.keys.insert(a.keys.end(), e.key, e.key + e.length);
        }
        a.groups.back().count++;
        a.numbers.push_back(e.number);
    }
    size_t size = 16;
    while (size < a.groups.size() * 2)
        size *= 2;
    a.slots.assign(size, -1);
    for (size_t g = 0; g < a.groups.size(); g++) {
        const Group &gr = a.groups[g];
        size_t at = hash_key(&a.keys[gr.key_at], gr.length) & (size - 1);
        while (a.slots[at] >= 0)
            at = (at + 1) & (size - 1);
        a.slots[at] = static_cast<int32_t>(g);
    }
    a.alphabet.clear();
    for (int c = 1; c < 256; c++)
        if (used[c])
            a.alphabet.push_back(static_cast<unsigned char>(c));
}

// find_anagrams has checked the word tables against the dictionary; these
// follow them.
const AnagramTables *tables_for(const Dictionary *d)
{
    for (auto &a : cache)
        if (a->dictionary == d) {
            const SearchTables *t = search_tables(d);
            if (a->words != t || a->print != search_tables_print(t))
                build(*a, d);
            return a.get();
        }
    cache.push_back(std::make_unique<AnagramTables>());
    build(*cache.back(), d);
    return cache.back().get();
}

const Group *look_up(const AnagramTables &a, const unsigned char *key, int n)
{
    size_t mask = a.slots.size() - 1;
    for (size_t at = hash_key(key, n) & mask;; at = (at + 1) & mask) {
        int32_t g = a.slots[at];
        if (g < 0)
            return nullptr;
        const Group &gr = a.groups[g];
        if (gr.length == n && memcmp(&a.keys[gr.key_at], key, n) == 0)
            return &gr;
    }
}

// The key of the given letters with `extra` inserted in order.
int with_letters(const unsigned char *base, int n, const unsigned char *extra, int count, unsigned char *out)
{
    memcpy(out, base, n);
    for (int e = 0; e < count; e++) {
        int i = n + e;
        while (i > 0 && out[i - 1] > extra[e]) {
            out[i] = out[i - 1];
            i--;
        }
        out[i] = extra[e];
    }
    return n + count;
}

void gather(const AnagramTables &a, const Group *g, std::vector<uint32_t> &out)
{
    if (g)
        out.insert(out.end(), a.numbers.begin() + g->first, a.numbers.begin() + g->first + g->count);
}

}  // namespace

void anagram_forget_tables() { cache.clear(); }

bool anagram_fast(const Dictionary *d, int slot, const char *sorted, int n, int &counter, bool &go_on)
{
    unsigned char base[WORD_BUFFER];
    int given = 0, wild = 0;
    for (int i = 0; i < n; i++) {
        if (sorted[i] == '*')
            wild++;
        else if (given < WORD_MAX)
            base[given++] = cp_upper(static_cast<unsigned char>(sorted[i]));
    }
    if (wild > 2)
        return false;
    go_on = true;
    if (d->words == 0)
        return true;
    const AnagramTables &a = *tables_for(d);
    std::vector<uint32_t> found;
    if (n <= WORD_MAX) {
        std::sort(base, base + given);
        unsigned char key[WORD_BUFFER + 2];
        if (wild == 0) {
            gather(a, look_up(a, base, given), found);
        } else {
            const std::vector<unsigned char> &abc = a.alphabet;
            for (size_t x = 0; x < abc.size(); x++) {
                if (wild == 1) {
                    gather(a, look_up(a, key, with_letters(base, given, &abc[x], 1, key)), found);
                    continue;
                }
                for (size_t y = x; y < abc.size(); y++) {
                    unsigned char pair[2] = {abc[x], abc[y]};
                    gather(a, look_up(a, key, with_letters(base, given, pair, 2, key)), found);
                }
            }
            std::sort(found.begin(), found.end());
        }
    }
    // Count the words the scan visits, so that its stop-flag reads fall on
    // the same words.
    uint32_t next = 0;
    for (uint32_t w : found) {
        if (search_count_words(counter, static_cast<int>(w - next), false)) {
            go_on = false;
            return true;
        }
        if (wild == 0 || anagram_fits(sorted, n, search_tables_word(a.words, w)))
            if (!anagram_add(slot, w)) {
                go_on = false;
                return true;
            }
        if (search_count_words(counter, 1, false)) {
            go_on = false;
            return true;
        }
        next = w + 1;
    }
    go_on = !search_count_words(counter, static_cast<int>(d->words - next), false);
    return true;
}
