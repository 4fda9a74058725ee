// Reading the store: index entries, cursors, stepping, finding by text
// (normal mode) and by number.
#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/store_internal.h"

namespace {

uint32_t read32(const uint8_t *p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

const uint8_t *entry_at(const Dictionary *d, uint32_t entry)
{
    return static_cast<const uint8_t *>(d->index) + entry * INDEX_ENTRY_SIZE;
}

void empty_cursor(WordCursor *c)
{
    memset(c, 0, sizeof *c);
}

// The key of an entry as a terminated string, for comparisons that must not
// run past its 8 bytes.
void key_string(const Dictionary *d, uint32_t entry, char *out)
{
    memcpy(out, entry_key(d, entry), KEY_LENGTH);
    out[KEY_LENGTH] = 0;
}

}  // namespace

uint32_t entry_woff(const Dictionary *d, uint32_t entry) { return read32(entry_at(d, entry)); }
uint32_t entry_first(const Dictionary *d, uint32_t entry) { return read32(entry_at(d, entry) + 4); }
const char *entry_key(const Dictionary *d, uint32_t entry)
{
    return reinterpret_cast<const char *>(entry_at(d, entry) + 8);
}

uint32_t entry_holding(const Dictionary *d, uint32_t number)
{
    uint32_t low = 0, high = d->noindex;  // answer in [low, high)
    while (high - low > 1) {
        uint32_t mid = (low + high) / 2;
        if (entry_first(d, mid) <= number)
            low = mid;
        else
            high = mid;
    }
    return low;
}

uint32_t block_end(const Dictionary *d, uint32_t entry)
{
    return entry + 1 < d->noindex ? entry_first(d, entry + 1) : d->words;
}

void first_word_in_block(const Dictionary *d, uint32_t entry, WordCursor *cursor)
{
    if (entry >= d->noindex) {   // an empty store, or no such entry
        empty_cursor(cursor);
        cursor->number = d->words;
        return;
    }
    memset(cursor->text, 0, sizeof cursor->text);
    memcpy(cursor->text, entry_key(d, entry), KEY_LENGTH);
    cursor->offset = entry_woff(d, entry);
    cursor->number = entry_first(d, entry);
    cursor->entry = entry;
    cursor->length = decode_word(word_bytes(d) + cursor->offset, cursor->text);
}

int next_word(const Dictionary *d, WordCursor *cursor)
{
    cursor->offset += cursor->length;
    cursor->number++;
    if (cursor->number < d->words) {
        cursor->length = decode_word(word_bytes(d) + cursor->offset, cursor->text);
        return 1;
    }
    cursor->length = 0;
    cursor->text[0] = 0;
    return 0;
}

// The last entry whose key sorts strictly below the word (entry 0 when none):
// a binary search over the keys, then a step back over equal keys.
uint32_t find_start_entry(const Dictionary *d, const char *word, unsigned options)
{
    char key[KEY_LENGTH + 1];
    int low = 0, high = static_cast<int>(d->noindex) - 1, mid = 0, result = 0;
    while (low <= high) {
        mid = (low + high) / 2;
        key_string(d, mid, key);
        unsigned f = options;
        result = compare_words(word, key, KEY_LENGTH, &f);
        if (result == 0)
            break;
        if (result > 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    while (result <= 0 && mid > 0) {
        mid--;
        key_string(d, mid, key);
        unsigned f = options;
        result = compare_words(word, key, KEY_LENGTH, &f);
    }
    return static_cast<uint32_t>(mid);
}

namespace {

// compare_words for whole words without options, also giving the position
// where a non-zero result was decided.
int compare_deciding(const char *a, const char *b, unsigned *case_result, int *position)
{
    const auto *p = reinterpret_cast<const unsigned char *>(a);
    const auto *q = reinterpret_cast<const unsigned char *>(b);
    *case_result = 0;
    for (int i = 0; i < WORD_MAX; i++) {
        unsigned char x = p[i], y = q[i];
        if (x != y) {
            int px = collation_primary[x], py = collation_primary[y];
            if (collation_secondary[x] != collation_secondary[y]) {
                *position = i;
                return px - py;
            }
            if (*case_result == 0)
                *case_result = px < py ? 1 : 3;
        }
        if (x == 0)
            break;
    }
    return 0;
}

}  // namespace

// The normal walk. A stored word that the query follows was decided at
// some byte; every next word sharing more than that many bytes with it is
// decided the same way, which its count byte tells without comparing.
int find_word(const Dictionary *d, const char *word, WordCursor *cursor, unsigned *flags)
{
    unsigned options = flags ? *flags & ~CMP_CASE_MASK : 0;
    if (flags)
        *flags = options;
    if (options & CMP_IGNORE_SPACES)
        return find_word_fast(d, word, flags);
    if (d->words == 0) {
        empty_cursor(cursor);
        return 0;
    }
    first_word_in_block(d, find_start_entry(d, word, options), cursor);
    WordCursor before = *cursor;
    int decided_at = -1;
    for (;;) {
        if (decided_at < 0 || word_bytes(d)[cursor->offset] <= decided_at) {
            unsigned case_result;
            int result = compare_deciding(word, cursor->text, &case_result, &decided_at);
            if (result == 0) {
                if (flags)
                    *flags = options | (case_result << CMP_CASE_SHIFT);
                return 1;
            }
            if (result < 0)
                break;
        }
        before = *cursor;
        if (!next_word(d, cursor))
            break;
    }
    *cursor = before;
    return 0;
}

int word_at(const Dictionary *d, uint32_t number, WordCursor *cursor)
{
    if (number >= d->words) {
        empty_cursor(cursor);
        return 0;
    }
    first_word_in_block(d, entry_holding(d, number), cursor);
    while (cursor->number < number)
        next_word(d, cursor);
    return 1;
}

const char *word_text(const Dictionary *d, uint32_t number)
{
    static WordCursor cursor;
    if (!word_at(d, number, &cursor))
        return "";
    return cursor.text;
}
