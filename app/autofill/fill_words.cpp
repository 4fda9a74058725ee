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

// Adds every word of one store, skipping those already held (a word of an
// earlier dictionary, or a case or spacing variant of one).
void add_store(const Dictionary *d, std::unordered_set<std::string> &seen)
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
        if (n == 0)
            continue;
        std::string key(static_cast<size_t>(n), '\0');
        for (int i = 0; i < n; i++)
            key[i] = static_cast<char>(cp_upper(static_cast<unsigned char>(letters[i])));
        if (!seen.insert(key).second)
            continue;
        FillLength &l = tables.lengths[n];
        l.folded.insert(l.folded.end(), key.begin(), key.end());
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

void build(const std::vector<std::pair<const Dictionary *, uint64_t>> &stores)
{
    fill_words_forget();
    std::unordered_set<std::string> seen;
    for (const auto &s : stores)
        add_store(s.first, seen);
    for (int n = 1; n < WORD_BUFFER; n++)
        build_sets(tables.lengths[n], n);
    tables.built_from = stores;
    ready = true;
}

}  // namespace

const FillWords &fill_words()
{
    std::vector<std::pair<const Dictionary *, uint64_t>> stores = current_stores();
    if (!ready || stores != tables.built_from)
        build(stores);
    return tables;
}

void fill_words_forget()
{
    for (FillLength &l : tables.lengths)
        l = FillLength();
    tables.built_from.clear();
    ready = false;
}
