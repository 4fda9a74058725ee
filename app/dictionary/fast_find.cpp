// The fast find (ignore-spaces mode), used by spell check and suggestions.
//
// It walks the word block from a start entry, comparing each stored word
// with the query byte by byte, ignoring letter case and spaces. A stored
// word that sorts before the query is skipped together with every
// following word that shares more than the compared bytes with it (they
// fail at the same byte), which the count bytes tell without decoding.
//
// A stored word that sorts after the query ends the walk only when that is
// safe. Spaces break the order the walk relies on: "ice zone" is stored
// before "iceberg" (a space sorts before letters), yet without its space it
// sorts after it. So while the store holds words with spaces (`spaced`),
// the walk starts at entry 0 and a greater word ends it only when no space
// was skipped in it and no byte that sorts below a space (or the query's
// end) was compared in the query: only then can no later word match. A
// store without such words keeps the plain, fast walk.
#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/store_internal.h"

uint32_t find_start_entry(const Dictionary *d, const char *word, unsigned options);

namespace {

char found_spelling[WORD_BUFFER];

enum class Order { match, before, after };

struct Comparison {
    Order order;
    int stored_at;     // raw position in the stored word where it was decided
    int query_at;      // position in the space-free query
    bool space_seen;   // a space of the stored word was skipped before that
};

Comparison compare_stored(const char *text, const char *query)
{
    Comparison r{Order::match, 0, 0, false};
    int i = 0, j = 0;
    for (;;) {
        while (text[i] == ' ') {
            r.space_seen = true;
            i++;
        }
        auto a = static_cast<unsigned char>(text[i]);
        auto b = static_cast<unsigned char>(query[j]);
        r.stored_at = i;
        r.query_at = j;
        if (a == 0 && b == 0)
            return r;
        int sa = collation_secondary[a], sb = collation_secondary[b];
        if (sa != sb) {
            r.order = sa < sb ? Order::before : Order::after;
            return r;
        }
        i++;
        j++;
    }
}

// The query without spaces; false when it is empty or too long to be stored.
bool strip_spaces(const char *word, char *out)
{
    int n = 0;
    for (const char *p = word; *p; p++) {
        if (*p == ' ')
            continue;
        if (n == WORD_MAX)
            return false;
        out[n++] = *p;
    }
    out[n] = 0;
    return n > 0;
}

// The first position of the query holding a byte that sorts below a space
// (the query's end counts as one).
int first_low_byte(const char *query)
{
    int weight = collation_primary[static_cast<unsigned char>(' ')];
    int i = 0;
    while (query[i] && collation_primary[static_cast<unsigned char>(query[i])] > weight)
        i++;
    return i;
}

}  // namespace

const char *fast_find_spelling() { return found_spelling; }

int find_word_fast(const Dictionary *d, const char *word, unsigned *flags)
{
    unsigned options = flags ? *flags : CMP_IGNORE_SPACES;
    char query[WORD_BUFFER];
    if (d->words == 0 || !strip_spaces(word, query))
        return 0;
    bool careful = d->spaced > 0;
    int low_at = careful ? first_low_byte(query) : WORD_BUFFER;
    uint32_t entry = careful ? 0 : find_start_entry(d, query, options);

    const uint8_t *bytes = word_bytes(d);
    char text[WORD_BUFFER] = {};
    memcpy(text, entry_key(d, entry), KEY_LENGTH);
    uint32_t offset = entry_woff(d, entry);
    int skip_above = -1;  // skip words whose count byte exceeds this
    for (uint32_t number = entry_first(d, entry); number < d->words; number++) {
        if (skip_above >= 0 && bytes[offset] > skip_above) {
            offset += encoded_length(bytes + offset);
            continue;
        }
        offset += decode_word(bytes + offset, text);
        Comparison c = compare_stored(text, query);
        if (c.order == Order::match) {
            memcpy(found_spelling, text, sizeof found_spelling);
            unsigned f = CMP_IGNORE_SPACES;
            compare_words(word, text, WORD_MAX, &f);
            if (flags)
                *flags = options | (f & CMP_CASE_MASK);
            return 1;
        }
        if (c.order == Order::after && (!careful || (!c.space_seen && c.query_at < low_at)))
            return 0;
        skip_above = c.stored_at;
    }
    return 0;
}
