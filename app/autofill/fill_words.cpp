// Building the autofill's word tables from the document's dictionaries.
#include "app/autofill/fill_words.h"

#include <cstring>
#include <string>
#include <unordered_set>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/search_dictionaries.h"
#include "toolkit/text/cp1252.h"

namespace {

FillWords tables;
bool ready = false;

std::vector<std::pair<const Dictionary *, uint64_t>> current_stores()
{
    std::vector<std::pair<const Dictionary *, uint64_t>> stores;
    for (int i = 0; i < search_dictionary_count(); i++) {
        const Dictionary *d = search_dictionary(i);
        stores.emplace_back(d, d ? d->generation : 0);
    }
    return stores;
}

// Adds every word of one store whose length is in `lengths`, skipping
// those already held (a word of an earlier dictionary, or a case or
// spacing variant of one). `check` false: no word can be held already (one
// store without spaces, whose words differ in more than case).
void add_store(const Dictionary *d, uint32_t lengths, bool check, std::unordered_set<std::string> &seen)
{
    WordCursor c;
    if (!d || d->words == 0 || !word_at(d, 0, &c))
        return;
    do {
        char letters[WORD_BUFFER];
        int n = 0;
        for (const char *p = c.text; *p; p++)
            if (*p != ' ')
                letters[n++] = *p;
        if (n == 0 || !((lengths >> n) & 1))
            continue;
        char key[WORD_BUFFER];
        for (int i = 0; i < n; i++)
            key[i] = static_cast<char>(cp_upper(static_cast<unsigned char>(letters[i])));
        if (check && !seen.insert(std::string(key, static_cast<size_t>(n))).second)
            continue;
        FillLength &l = tables.lengths[n];
        l.folded.insert(l.folded.end(), key, key + n);
        l.spelling.insert(l.spelling.end(), letters, letters + n);
        l.count++;
    } while (next_word(d, &c));
}

void build_sets(FillLength &l, int n)
{
    l.stride = (l.count + 63) / 64;
    l.sets.assign(static_cast<size_t>(n) * 256, -1);
    l.letters.assign(static_cast<size_t>(n), {});
    for (int32_t w = 0; w < l.count; w++) {
        const uint8_t *word = &l.folded[static_cast<size_t>(w) * n];
        for (int i = 0; i < n; i++) {
            int32_t &s = l.sets[i * 256 + word[i]];
            if (s < 0) {
                s = static_cast<int32_t>(l.bits.size() / l.stride);
                l.bits.resize(l.bits.size() + l.stride, 0);
                l.letters[i].push_back(word[i]);
            }
            l.bits[static_cast<size_t>(s) * l.stride + w / 64] |= 1ull << (w % 64);
        }
    }
}

void build(uint32_t lengths)
{
    std::unordered_set<std::string> seen;
    const auto &stores = tables.built_from;
    bool check = stores.size() > 1 || (stores.size() == 1 && stores[0].first && stores[0].first->spaced);
    for (const auto &s : stores)
        add_store(s.first, lengths, check, seen);
    for (int n = 1; n < WORD_BUFFER; n++)
        if ((lengths >> n) & 1)
            build_sets(tables.lengths[n], n);
    tables.built |= lengths;
}

}  // namespace

const FillWords &fill_words(uint32_t lengths)
{
    std::vector<std::pair<const Dictionary *, uint64_t>> stores = current_stores();
    if (!ready || stores != tables.built_from) {
        fill_words_forget();
        tables.built_from = stores;
        ready = true;
    }
    lengths &= ~1u;   // no word is empty
    if (lengths & ~tables.built)
        build(lengths & ~tables.built);
    return tables;
}

void fill_words_forget()
{
    for (FillLength &l : tables.lengths)
        l = FillLength();
    tables.built_from.clear();
    tables.built = 0;
    ready = false;
}
