// Deleting a word: replace its encoding and its follower's by the
// follower's encoding against the predecessor, patch the index, re-anchor
// where a count byte grew to 8 or more, and merge small blocks.
#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/store_internal.h"

namespace {

const uint32_t kMergeBelow = 64;

// Merges the block of `entry` into its predecessor when either is small.
void merge_block(Dictionary *d, uint32_t entry)
{
    if (d->words == 0 || entry == 0 || entry >= d->noindex || d->noindex < 2)
        return;
    uint32_t first = entry_first(d, entry);
    if (first - entry_first(d, entry - 1) < kMergeBelow || block_end(d, entry) - first < kMergeBelow)
        delete_entry(d, entry);
}

int delete_last(Dictionary *d, const WordCursor &at, uint32_t entry)
{
    bool anchor = entry_first(d, entry) == at.number;
    replace_bytes(d, at.offset, at.length, nullptr, 0);
    d->words--;
    if (anchor) {
        delete_entry(d, entry);
        return 1;
    }
    merge_block(d, entry);
    return 1;
}

// Word 0: the follower becomes word 0, encoded against "". When it also
// anchored entry 1, that entry goes: entry 0 anchors it now.
int delete_first(Dictionary *d, const WordCursor &at)
{
    WordCursor follower = at;
    next_word(d, &follower);
    uint8_t bytes[ENCODED_MAX];
    int length = encode_word("", follower.text, bytes);
    int old_length = at.length + follower.length;
    if (length == 0 || replace_bytes(d, 0, old_length, bytes, length))
        return 0;
    bool follower_anchors = d->noindex > 1 && entry_first(d, 1) == 1;
    set_entry(d, 0, 0, 0, follower.text);
    shift_entries(d, 1, length - old_length, -1);
    if (follower_anchors)
        delete_entry(d, 1);
    d->words--;
    return 1;
}

int delete_inner(Dictionary *d, const WordCursor &at, uint32_t entry)
{
    uint32_t n = at.number;
    bool anchor = entry_first(d, entry) == n;
    WordCursor predecessor;
    first_word_in_block(d, anchor ? entry - 1 : entry, &predecessor);
    while (predecessor.number < n - 1)
        next_word(d, &predecessor);
    WordCursor follower = at;
    next_word(d, &follower);
    uint8_t bytes[ENCODED_MAX];
    int length = encode_word(predecessor.text, follower.text, bytes);
    int old_length = at.length + follower.length;
    bool follower_anchors = entry + 1 < d->noindex && entry_first(d, entry + 1) == n + 1;
    if (length == 0 || replace_bytes(d, at.offset, old_length, bytes, length))
        return 0;
    d->words--;

    uint32_t later = entry + 1;
    if (anchor)
        set_entry(d, entry, at.offset, n, follower.text);
    if (follower_anchors) {
        set_entry_position(d, later, at.offset, n);
        later++;
    }
    shift_entries(d, later, length - old_length, -1);

    WordCursor moved = follower;
    moved.offset = at.offset;
    moved.number = n;
    moved.length = length;
    bool high_count = bytes[0] >= KEY_LENGTH;
    if (anchor && follower_anchors) {
        // The deleted anchor was alone in its block: both entries now point
        // at the follower. Keep the follower's own entry.
        delete_entry(d, entry);
        if (high_count)
            reanchor(d, entry, moved);
        return 1;
    }
    bool entry_kept = true;
    if (anchor && high_count)
        entry_kept = reanchor(d, entry, moved);
    if (follower_anchors && high_count)
        reanchor(d, entry + 1, moved);
    if (entry_kept)
        merge_block(d, entry);
    return 1;
}

}  // namespace

int delete_at_cursor(Dictionary *d, const WordCursor *cursor)
{
    DictionaryTouch touch{d};
    if (cursor->number >= d->words)
        return 0;
    bool spaced = has_space(cursor->text);
    int done;
    if (d->words == 1) {
        clear_dictionary(d);
        return 1;
    }
    if (cursor->number == d->words - 1)
        done = delete_last(d, *cursor, entry_holding(d, cursor->number));
    else if (cursor->number == 0)
        done = delete_first(d, *cursor);
    else
        done = delete_inner(d, *cursor, entry_holding(d, cursor->number));
    if (done && spaced)
        d->spaced--;
    return done;
}

int delete_word(Dictionary *d, const char *word)
{
    WordCursor cursor;
    if (!find_word(d, word, &cursor, nullptr))
        return 0;
    return delete_at_cursor(d, &cursor);
}
