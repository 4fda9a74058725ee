// The fast find (ignore-spaces mode), used by spell check and suggestions.
//
// It walks the word block from a start entry, comparing each stored word
// with the query byte by byte, ignoring letter case and spaces. A stored
// word that does not match is skipped together with every following word
// that shares more than the compared bytes with it (they fail at the same
// byte), which their count bytes tell without decoding them.
//
// Spaces break the order such a walk relies on: "ice zone" is stored
// before "iceberg" (a space sorts before letters), yet without its space
// it sorts after it. So the search has two phases:
//  1. Words without spaces: start at the query's own place and walk until
//     a stored word that sorts after the query with no space skipped in
//     it. A word with a space never ends this walk. Every matching word
//     without spaces lies on this walk.
//  2. Only when the store holds words with spaces (`spaced`) and phase 1
//     found nothing: a matching word with its first space after n bytes
//     begins with the query's first n bytes and a space. Each such prefix
//     is a contiguous run of the store, found through the index and walked
//     to its end.
// A store without spaced words therefore keeps the plain, fast walk.
#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/store_internal.h"

namespace {

char found_spelling[WORD_BUFFER];

enum class Order { match, before, after };

struct Comparison {
    Order order;
    int stored_at;     // raw position in the stored word where it was decided
    bool space_seen;   // a space of the stored word was skipped before that
};

Comparison compare_stored(const char *text, const char *query)
{
    Comparison r{Order::match, 0, false};
    int i = 0, j = 0;
    for (;;) {
        while (text[i] == ' ') {
            r.space_seen = true;
            i++;
        }
        auto a = static_cast<unsigned char>(text[i]);
        auto b = static_cast<unsigned char>(query[j]);
        r.stored_at = i;
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

// Where `text` lies against the run of words beginning with the first `n`
// bytes of `prefix`, ignoring case: -1 before it, 0 in it, 1 after it.
int prefix_order(const char *text, const char *prefix, int n)
{
    for (int i = 0; i < n; i++) {
        int st = collation_secondary[static_cast<unsigned char>(text[i])];
        int sp = collation_secondary[static_cast<unsigned char>(prefix[i])];
        if (st != sp)
            return st < sp ? -1 : 1;
    }
    return 0;
}

// The query without spaces; false when it is empty or too long to be
// stored. A query of spaces alone matches stored words of spaces alone.
bool strip_spaces(const char *word, char *out)
{
    if (!*word)
        return false;
    int n = 0;
    for (const char *p = word; *p; p++) {
        if (*p == ' ')
            continue;
        if (n == WORD_MAX)
            return false;
        out[n++] = *p;
    }
    out[n] = 0;
    return true;
}

// Walks from `entry`. With `prefix` null (phase 1) the walk ends at a
// greater word without skipped spaces; otherwise it covers the run of
// words beginning with the first `n` bytes of `prefix`.
bool walk(const Dictionary *d, uint32_t entry, const char *query, const char *prefix, int n)
{
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
        if (prefix) {
            int place = prefix_order(text, prefix, n);
            if (place > 0)
                return false;
            if (place < 0) {
                skip_above = -1;
                continue;
            }
        }
        Comparison c = compare_stored(text, query);
        if (c.order == Order::match) {
            memcpy(found_spelling, text, sizeof found_spelling);
            return true;
        }
        if (!prefix && c.order == Order::after && !c.space_seen)
            return false;
        skip_above = c.stored_at;
    }
    return false;
}

bool find_spaced(const Dictionary *d, const char *query)
{
    char prefix[WORD_BUFFER + 1];
    int length = static_cast<int>(strlen(query));
    for (int n = 0; n <= length; n++) {   // n == length: trailing spaces
        memcpy(prefix, query, n);
        prefix[n] = ' ';
        prefix[n + 1] = 0;
        if (walk(d, find_start_entry(d, prefix, 0), query, prefix, n + 1))
            return true;
    }
    return false;
}

}  // namespace

const char *fast_find_spelling() { return found_spelling; }

int find_word_fast(const Dictionary *d, const char *word, unsigned *flags)
{
    unsigned options = flags ? *flags : CMP_IGNORE_SPACES;
    char query[WORD_BUFFER];
    if (d->words == 0 || !strip_spaces(word, query))
        return 0;
    bool found = walk(d, find_start_entry(d, query, 0), query, nullptr, 0);
    if (!found && d->spaced > 0)
        found = find_spaced(d, query);
    if (!found)
        return 0;
    unsigned f = CMP_IGNORE_SPACES;
    compare_words(word, found_spelling, WORD_MAX, &f);
    if (flags)
        *flags = options | (f & CMP_CASE_MASK);
    return 1;
}
