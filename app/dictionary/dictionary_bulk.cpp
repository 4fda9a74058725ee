// Building a store from many words in one pass: the fast path for imports.
// The result holds the same words that adding them one by one would give,
// and satisfies every invariant of the store.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/store_internal.h"
#include "toolkit/memory/memory.h"

namespace {

// Blocks of a built store: a new anchor on the first word with a count
// byte below 8 once this many words have gone by.
const uint32_t kBuildBlock = 80;

const error_block *move_into_block(void **anchor, const std::vector<uint8_t> &bytes)
{
    if (const error_block *e = flex_new(anchor, static_cast<int>(bytes.size())))
        return e;
    if (!bytes.empty())
        memcpy(*anchor, bytes.data(), bytes.size());
    return nullptr;
}

void append_entry(std::vector<uint8_t> &index, uint32_t woff, uint32_t first, const char *text)
{
    uint8_t entry[INDEX_ENTRY_SIZE] = {};
    for (int i = 0; i < 4; i++) {
        entry[i] = static_cast<uint8_t>(woff >> (8 * i));
        entry[4 + i] = static_cast<uint8_t>(first >> (8 * i));
    }
    for (int i = 0; i < KEY_LENGTH && text[i]; i++)
        entry[8 + i] = static_cast<uint8_t>(text[i]);
    index.insert(index.end(), entry, entry + INDEX_ENTRY_SIZE);
}

}  // namespace

const error_block *build_dictionary(Dictionary *d, const char *const *words, int count)
{
    DictionaryTouch touch{d};
    std::vector<uint8_t> block, index;
    block.reserve(static_cast<size_t>(count) * 6 + 2);
    const char *previous = "";
    uint32_t kept = 0, anchor = 0, spaced = 0;
    uint8_t bytes[ENCODED_MAX];
    for (int i = 0; i < count; i++) {
        size_t n = strlen(words[i]);
        if (n == 0 || n > WORD_MAX)
            continue;
        int length = encode_word(previous, words[i], bytes);
        if (length == 0)
            continue;
        if (kept == 0 || (kept - anchor >= kBuildBlock && bytes[0] < KEY_LENGTH)) {
            append_entry(index, static_cast<uint32_t>(block.size()), kept, words[i]);
            anchor = kept;
        }
        block.insert(block.end(), bytes, bytes + length);
        spaced += has_space(words[i]) ? 1 : 0;
        previous = words[i];
        kept++;
    }
    if (kept > 0) {
        block.push_back(0);
        block.push_back(0);
    }
    Dictionary built{kept, static_cast<uint32_t>(index.size() / INDEX_ENTRY_SIZE), nullptr, nullptr, spaced, 0};
    const error_block *e = move_into_block(&built.wordblock, block);
    if (!e)
        e = move_into_block(&built.index, index);
    if (e) {
        clear_dictionary(&built);
        return e;
    }
    clear_dictionary(d);
    *d = built;
    return nullptr;
}

const error_block *add_words_bulk(Dictionary *d, const char *const *words, int count)
{
    DictionaryTouch touch{d};
    std::vector<std::string> all;
    all.reserve(d->words + count);
    WordCursor cursor;
    if (word_at(d, 0, &cursor)) {
        do
            all.emplace_back(cursor.text);
        while (next_word(d, &cursor));
    }
    for (int i = 0; i < count; i++) {
        size_t n = strlen(words[i]);
        if (n > 0 && n <= WORD_MAX)
            all.emplace_back(words[i]);
    }
    // Equal words ignoring case keep their order, so the last spelling of
    // each run is the one added last: it replaces the others, as add_word does.
    std::stable_sort(all.begin(), all.end(), [](const std::string &a, const std::string &b) {
        return compare_words(a.c_str(), b.c_str(), WORD_MAX, nullptr) < 0;
    });
    std::vector<const char *> unique;
    unique.reserve(all.size());
    for (size_t i = 0; i < all.size(); i++) {
        bool replaced = i + 1 < all.size() &&
                        compare_words(all[i].c_str(), all[i + 1].c_str(), WORD_MAX, nullptr) == 0;
        if (!replaced)
            unique.push_back(all[i].c_str());
    }
    return build_dictionary(d, unique.data(), static_cast<int>(unique.size()));
}
