// Adding a word: insert its encoding after its predecessor, re-encode the
// follower against it, patch the index in place, and split a block that
// has grown too large.
#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/store_internal.h"
#include "toolkit/memory/memory.h"

namespace {

const uint32_t kSplitAt = 128;

// A copy of both blocks, so that replacing a case variant (delete, then
// insert) can be undone when the insertion fails.
const error_block *copy_dictionary(const Dictionary *d, Dictionary *copy)
{
    *copy = *d;
    copy->index = copy->wordblock = nullptr;
    void *const *from[2] = {&d->index, &d->wordblock};
    void **to[2] = {&copy->index, &copy->wordblock};
    for (int i = 0; i < 2; i++) {
        if (!*from[i])
            continue;
        int length = flex_length(const_cast<void **>(from[i]));
        if (const error_block *e = flex_new(to[i], length)) {
            clear_dictionary(copy);
            return e;
        }
        memcpy(*to[i], *from[i], length);
    }
    return nullptr;
}

const error_block *add_first(Dictionary *d, const char *word)
{
    uint8_t bytes[ENCODED_MAX + 2];
    int length = encode_word("", word, bytes);
    if (length == 0)
        return nullptr;
    bytes[length] = bytes[length + 1] = 0;
    const error_block *e = d->wordblock ? flex_resize(&d->wordblock, length + 2)
                                        : flex_new(&d->wordblock, length + 2);
    if (e)
        return e;
    memcpy(d->wordblock, bytes, length + 2);
    if ((e = insert_entry(d, 0, 0, 0, word)) != nullptr) {
        flex_resize(&d->wordblock, 0);
        return e;
    }
    d->words = 1;
    d->spaced = has_space(word) ? 1 : 0;
    return nullptr;
}

// Splits the block of `entry` (holding `count` words) on the first word at
// or after its middle whose count byte is below 8, if there is one.
void split_block(Dictionary *d, uint32_t entry, uint32_t count)
{
    if (count < kSplitAt)
        return;
    uint32_t first = entry_first(d, entry);
    WordCursor cursor;
    first_word_in_block(d, entry, &cursor);
    while (cursor.number < first + count / 2)
        next_word(d, &cursor);
    while (cursor.number < first + count) {
        if (word_bytes(d)[cursor.offset] < KEY_LENGTH) {
            insert_entry(d, entry + 1, cursor.offset, cursor.number, cursor.text);  // may fail: the block stays whole
            return;
        }
        if (!next_word(d, &cursor))
            return;
    }
}

// Inserts a word that is not present; `at` is the cursor of the failed find.
const error_block *insert_word(Dictionary *d, const char *word, const WordCursor &at)
{
    if (d->words == 0)
        return add_first(d, word);
    uint8_t bytes[2 * ENCODED_MAX];
    bool front = compare_words(word, at.text, WORD_MAX, nullptr) < 0;
    int length = encode_word(front ? "" : at.text, word, bytes);
    if (length == 0)
        return nullptr;
    WordCursor follower = at;
    bool has_follower = front || next_word(d, &follower);
    uint32_t offset = front ? at.offset : at.offset + at.length;
    uint32_t entry = front ? 0 : entry_holding(d, at.number);
    uint32_t number = front ? 0 : at.number + 1;
    int total = length, old_length = 0;
    if (has_follower) {
        int follower_length = encode_word(word, follower.text, bytes + length);
        if (follower_length == 0)
            return nullptr;  // the follower would no longer fit: refuse
        total += follower_length;
        old_length = follower.length;
    }
    bool follower_anchors = !front && has_follower && entry + 1 < d->noindex &&
                            entry_first(d, entry + 1) == follower.number;
    if (const error_block *e = replace_bytes(d, offset, old_length, bytes, total))
        return e;

    uint32_t later = entry + 1;
    if (front)
        set_entry(d, 0, 0, 0, word);
    if (follower_anchors) {
        set_entry_position(d, later, entry_woff(d, later) + length, entry_first(d, later) + 1);
        later++;
    }
    shift_entries(d, later, total - old_length, 1);
    d->words++;
    if (has_space(word))
        d->spaced++;

    if (follower_anchors && bytes[length] >= KEY_LENGTH) {
        WordCursor moved = follower;
        moved.offset = offset + length;
        moved.number = number + 1;
        moved.length = total - length;
        reanchor(d, entry + 1, moved);
    }
    uint32_t count = entry + 1 < d->noindex ? entry_first(d, entry + 1) - entry_first(d, entry)
                                            : d->words - 1 - entry_first(d, entry);
    split_block(d, entry, count);
    return nullptr;
}

}  // namespace

void dictionary_touch(Dictionary *d)
{
    static uint64_t last = 0;
    d->generation = ++last;
}

void init_dictionary(Dictionary *d)
{
    DictionaryTouch touch{d};
    *d = Dictionary{};
    flex_new(&d->index, 0);
    flex_new(&d->wordblock, 0);
}

void clear_dictionary(Dictionary *d)
{
    DictionaryTouch touch{d};
    flex_dispose(&d->index);
    flex_dispose(&d->wordblock);
    d->words = d->noindex = d->spaced = 0;
}

const error_block *add_word(Dictionary *d, const char *word)
{
    DictionaryTouch touch{d};
    size_t n = strlen(word);
    if (n == 0 || n > WORD_MAX)
        return nullptr;
    WordCursor cursor;
    if (!find_word(d, word, &cursor, nullptr))
        return insert_word(d, word, cursor);
    if (strcmp(cursor.text, word) == 0)
        return nullptr;

    // A case variant: replace it, or leave everything as it was.
    Dictionary saved;
    if (const error_block *e = copy_dictionary(d, &saved))
        return e;
    const error_block *e = nullptr;
    uint32_t words = d->words;
    if (delete_at_cursor(d, &cursor) && !find_word(d, word, &cursor, nullptr))
        e = insert_word(d, word, cursor);
    if (e || d->words != words) {
        clear_dictionary(d);
        *d = saved;
        return e;
    }
    clear_dictionary(&saved);
    return nullptr;
}
