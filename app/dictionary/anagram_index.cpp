// The anagram search's tables. A query without "*" is one look-up; with one or two "*" it looks up the given letters plus every
// letter (or pair of letters) that the dictionary uses, gathers those
// words in word order and tries each against the letters exactly as the
// scan does, because a character below "*" may take a "*" first and fail
// where the letters alone would fit. Any word the scan finds has letters
// that contain the given ones, so it is among those gathered.
#include "app/dictionary/anagram_index.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/search_index.h"
#include "toolkit/text/cp1252.h"


struct Group {
    uint32_t key_at;    // offset of the key in `keys`
    uint32_t first;     // first of the group's word numbers in `numbers`
    uint32_t count;
    uint8_t length;
};

struct AnagramTables {
    const SearchTables *words;       // the decoded words
    std::vector<unsigned char> keys;
    std::vector<Group> groups;
    std::vector<uint32_t> numbers;   // ascending within a group
    std::vector<int32_t> slots;      // hash table of group numbers, -1 empty
    std::vector<unsigned char> alphabet;   // folded bytes the words use
};

namespace {

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

void build(AnagramTables &a, const SearchTables *t)
{
    a.words = t;
    uint32_t words = search_tables_words(t);
    struct Entry {
        unsigned char key[WORD_BUFFER];
        uint8_t length;
        uint32_t number;
    };
    std::vector<Entry> entries(words);
    bool used[256] = {};
    for (uint32_t w = 0; w < words; w++) {
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

const AnagramTables *anagram_tables_built(const Dictionary *d)
{
    const SearchTables *t = search_tables_built(d);
    return t ? static_cast<const AnagramTables *>(search_tables_attached(t)) : nullptr;
}

const AnagramTables *anagram_tables(const Dictionary *d)
{
    const SearchTables *t = search_tables(d);
    if (!t)
        return nullptr;
    if (void *a = search_tables_attached(t))
        return static_cast<const AnagramTables *>(a);
    auto a = std::make_shared<AnagramTables>();
    build(*a, t);
    search_tables_attach(t, a);
    return a.get();
}

const char *anagram_tables_word(const AnagramTables *a, uint32_t number)
{
    return search_tables_word(a->words, number);
}

bool anagram_tables_find(const AnagramTables *a, const char *sorted, int n, std::vector<uint32_t> &found,
                         bool *check)
{
    unsigned char base[WORD_BUFFER];
    int given = 0, wild = 0;
    for (int i = 0; i < n; i++) {
        if (sorted[i] == '*')
            wild++;
        else if (given < WORD_MAX)
            base[given++] = cp_upper(static_cast<unsigned char>(sorted[i]));
    }
    found.clear();
    *check = wild > 0;
    if (wild > 2)
        return false;
    if (n > WORD_MAX)
        return true;
    std::sort(base, base + given);
    unsigned char key[WORD_BUFFER + 2];
    if (wild == 0) {
        gather(*a, look_up(*a, base, given), found);
        return true;
    }
    const std::vector<unsigned char> &abc = a->alphabet;
    for (size_t x = 0; x < abc.size(); x++) {
        if (wild == 1) {
            gather(*a, look_up(*a, key, with_letters(base, given, &abc[x], 1, key)), found);
            continue;
        }
        for (size_t y = x; y < abc.size(); y++) {
            unsigned char pair[2] = {abc[x], abc[y]};
            gather(*a, look_up(*a, key, with_letters(base, given, pair, 2, key)), found);
        }
    }
    std::sort(found.begin(), found.end());
    return true;
}
