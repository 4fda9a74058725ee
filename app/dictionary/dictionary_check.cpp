// The invariant walk: every rule of the store checked in one pass, reading
// only inside both blocks. The loader runs it on every file it reads, so a
// damaged file is refused before any lookup could trust it. Block sizes are
// not checked: splits need a suitable anchor and merges join a small block
// to a neighbour of any size, so a sound store can hold blocks of any size.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/store_internal.h"
#include "toolkit/memory/memory.h"

namespace {

struct Walk {
    const Dictionary *d;
    const uint8_t *bytes;
    uint32_t end;          // offset of the end pair
    char *message;
    int size;
};

int fail(const Walk &w, const char *format, ...)
{
    if (w.message && w.size > 0) {
        va_list args;
        va_start(args, format);
        vsnprintf(w.message, w.size, format, args);
        va_end(args);
    }
    return 1;
}

// Decodes the word at `offset` into `text` (holding its predecessor, of
// `previous` bytes), refusing anything a sound store cannot hold. Returns
// the encoded length, or 0 with `why` set; `*length` is the word's length.
int decode_checked(const Walk &w, uint32_t offset, char *text, int previous, int *length_out, const char **why)
{
    int count = w.bytes[offset];
    if (count >= FRAGMENT_ESCAPE)
        return *why = "count byte is not below 30", 0;
    if (count > previous)
        return *why = "count byte points past its predecessor", 0;
    int at = count;
    uint32_t p = offset + 1;
    while (p < w.end && w.bytes[p] >= FRAGMENT_ESCAPE) {
        const char *piece;
        int length;
        char literal;
        if (w.bytes[p] == FRAGMENT_ESCAPE) {
            if (p + 1 >= w.end || w.bytes[p + 1] == 0)
                return *why = "escape without a literal byte", 0;
            literal = static_cast<char>(w.bytes[p + 1]);
            piece = &literal;
            length = 1;
            p += 2;
        } else {
            piece = fragment_table[w.bytes[p]].text;
            length = fragment_table[w.bytes[p]].length;
            p++;
        }
        if (at + length > WORD_MAX)
            return *why = "word longer than 31 bytes", 0;
        // The whole 7-byte field is one move and stays inside the text;
        // bytes past the word's end are cut by the terminator. A single
        // character (most codes) is one store.
        if (length == 1)
            text[at] = piece[0];
        else if (at + 7 < WORD_BUFFER)
            memcpy(text + at, piece, 7);
        else
            memcpy(text + at, piece, length);
        at += length;
    }
    text[at] = 0;
    *length_out = at;
    if (p > w.end)
        return *why = "word runs into the end pair", 0;
    if (p == offset + 1)
        return *why = "word without fragments", 0;
    if (p - offset > static_cast<uint32_t>(ENCODED_MAX))
        return *why = "encoding longer than 33 bytes", 0;
    return static_cast<int>(p - offset);
}

int check_entry(const Walk &w, uint32_t k, uint32_t offset, const char *text)
{
    if (entry_woff(w.d, k) != offset)
        return fail(w, "entry %u: woff %u, but its anchor word starts at %u", k, entry_woff(w.d, k), offset);
    if (w.bytes[offset] >= KEY_LENGTH)
        return fail(w, "entry %u: anchor \"%s\" has count byte %u", k, text, w.bytes[offset]);
    char key[KEY_LENGTH];
    make_key(key, text);
    if (memcmp(key, entry_key(w.d, k), KEY_LENGTH) != 0)
        return fail(w, "entry %u: key differs from its anchor \"%s\"", k, text);
    return 0;
}

int check_words(const Walk &w, uint32_t *spaced)
{
    const Dictionary *d = w.d;
    if (entry_first(d, 0) != 0 || entry_woff(d, 0) != 0)
        return fail(w, "entry 0 does not anchor word 0 at offset 0");
    // Each word shares its first `count` bytes with its predecessor, so
    // only what follows them is compared and copied, and only there can a
    // space be new. (The comparison has no options: equal bytes weigh
    // nothing, so it decides exactly where the whole comparison would.)
    char previous[WORD_BUFFER] = "", text[WORD_BUFFER] = "";
    int previous_length = 0, space_at = -1;   // space_at: the first space, -1 none
    uint32_t offset = 0, k = 0, next_first = entry_first(d, 0);   // noindex > 0 here
    for (uint32_t n = 0; n < d->words; n++) {
        if (offset >= w.end)
            return fail(w, "word %u starts beyond the end pair (%u words expected)", n, d->words);
        const char *why = nullptr;
        if (n == 0 && w.bytes[0] != 0)
            return fail(w, "word 0 has count byte %u", w.bytes[0]);
        int text_length = 0;
        int length = decode_checked(w, offset, text, previous_length, &text_length, &why);
        if (length == 0)
            return fail(w, "word %u at offset %u: %s", n, offset, why);
        int count = w.bytes[offset];
        if (n > 0) {
            // The first new byte mostly decides alone: two bytes of
            // different secondary weight are different letters, ordered
            // as compare_words orders them (by primary weight) at once.
            auto x = static_cast<uint8_t>(previous[count]), y = static_cast<uint8_t>(text[count]);
            int order = collation_secondary[x] != collation_secondary[y]
                            ? collation_primary[x] - collation_primary[y]
                            : compare_words(previous + count, text + count, WORD_MAX - count, nullptr);
            if (order == 0)
                return fail(w, "words %u and %u are case twins: \"%s\" \"%s\"", n - 1, n, previous, text);
            if (order > 0)
                return fail(w, "words %u and %u out of order: \"%s\" \"%s\"", n - 1, n, previous, text);
        }
        if (next_first < n)
            return fail(w, "entry %u: first %u out of order", k, next_first);
        if (next_first == n) {
            if (check_entry(w, k, offset, text))
                return 1;
            k++;
            next_first = k < d->noindex ? entry_first(d, k) : UINT32_MAX;
        }
        if (space_at >= count)   // the predecessor's first space is not shared
            space_at = -1;
        for (int i = count; space_at < 0 && i < text_length; i++)
            if (text[i] == ' ')
                space_at = i;
        if (space_at >= 0)
            ++*spaced;
        memcpy(previous, text, WORD_BUFFER);   // one fixed-size move
        previous_length = text_length;
        offset += length;
    }
    if (offset != w.end)
        return fail(w, "%u bytes between the last word and the end pair", w.end - offset);
    if (k != d->noindex)
        return fail(w, "entry %u: first %u is not below the word count %u", k, entry_first(d, k), d->words);
    return 0;
}

}  // namespace

int dictionary_check_counting(const Dictionary *d, char *message, int size, uint32_t *spaced)
{
    Walk w{d, word_bytes(d), 0, message, size};
    if (message && size > 0)
        message[0] = 0;
    *spaced = 0;
    auto length = static_cast<uint32_t>(flex_length(const_cast<void **>(&d->wordblock)));
    auto index_length = static_cast<uint32_t>(flex_length(const_cast<void **>(&d->index)));
    if (index_length / INDEX_ENTRY_SIZE != d->noindex || index_length % INDEX_ENTRY_SIZE)
        return fail(w, "index block of %u bytes for %u entries", index_length, d->noindex);
    if (d->words == 0) {
        if (length != 0 || d->noindex != 0)
            return fail(w, "no words, but %u word block bytes and %u entries", length, d->noindex);
        return 0;
    }
    if (d->noindex == 0 || d->noindex > d->words)
        return fail(w, "%u index entries for %u words", d->noindex, d->words);
    if (length < 4 || w.bytes[length - 2] != 0 || w.bytes[length - 1] != 0)
        return fail(w, "word block does not end with the end pair");
    w.end = length - 2;
    return check_words(w, spaced);
}

int dictionary_check(const Dictionary *d, char *message, int size)
{
    uint32_t spaced;
    if (dictionary_check_counting(d, message, size, &spaced))
        return 1;
    if (spaced != d->spaced) {
        if (message && size > 0)
            snprintf(message, size, "%u words hold spaces, %u recorded", spaced, d->spaced);
        return 1;
    }
    return 0;
}
