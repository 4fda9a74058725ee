// Index entry changes and word block splicing, shared by adding, deleting
// and building.
#include <cstring>

#include "app/dictionary/store_internal.h"
#include "toolkit/memory/memory.h"

namespace {

void write32(uint8_t *p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace

uint8_t *entry_address(Dictionary *d, uint32_t entry)
{
    return static_cast<uint8_t *>(d->index) + entry * INDEX_ENTRY_SIZE;
}

void set_entry_position(Dictionary *d, uint32_t entry, uint32_t woff, uint32_t first)
{
    uint8_t *p = entry_address(d, entry);
    write32(p, woff);
    write32(p + 4, first);
}

// The key is the word's first 8 bytes, NUL-padded when it is shorter.
void set_entry(Dictionary *d, uint32_t entry, uint32_t woff, uint32_t first, const char *text)
{
    set_entry_position(d, entry, woff, first);
    make_key(reinterpret_cast<char *>(entry_address(d, entry) + 8), text);
}

const error_block *insert_entry(Dictionary *d, uint32_t entry, uint32_t woff, uint32_t first,
                                const char *text)
{
    const error_block *e = d->index ? flex_shift(&d->index, entry * INDEX_ENTRY_SIZE, INDEX_ENTRY_SIZE)
                                    : flex_new(&d->index, INDEX_ENTRY_SIZE);
    if (e)
        return e;
    d->noindex++;
    set_entry(d, entry, woff, first, text);
    return nullptr;
}

void delete_entry(Dictionary *d, uint32_t entry)
{
    flex_shift(&d->index, (entry + 1) * INDEX_ENTRY_SIZE, -INDEX_ENTRY_SIZE);
    d->noindex--;
}

void shift_entries(Dictionary *d, uint32_t from, int32_t bytes, int32_t words)
{
    for (uint32_t k = from; k < d->noindex; k++)
        set_entry_position(d, k, entry_woff(d, k) + bytes, entry_first(d, k) + words);
}

const error_block *replace_bytes(Dictionary *d, uint32_t at, int old_length, const uint8_t *bytes,
                                 int length)
{
    if (length != old_length) {
        if (const error_block *e = flex_shift(&d->wordblock, at + old_length, length - old_length))
            return e;
    }
    if (length > 0)
        memcpy(static_cast<uint8_t *>(d->wordblock) + at, bytes, length);
    return nullptr;
}

bool reanchor(Dictionary *d, uint32_t entry, WordCursor cursor)
{
    uint32_t end = block_end(d, entry);
    while (cursor.number < end) {
        if (word_bytes(d)[cursor.offset] < KEY_LENGTH) {
            set_entry(d, entry, cursor.offset, cursor.number, cursor.text);
            return true;
        }
        if (!next_word(d, &cursor))
            break;
    }
    delete_entry(d, entry);
    return false;
}

void make_key(char *key, const char *text)
{
    int i = 0;
    for (; i < KEY_LENGTH && text[i]; i++)
        key[i] = text[i];
    for (; i < KEY_LENGTH; i++)
        key[i] = 0;
}

bool has_space(const char *word) { return strchr(word, ' ') != nullptr; }
