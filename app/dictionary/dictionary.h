// The word store: a sorted list of words in two flex blocks.
//
// The word block holds the words in ascending order, each front-compressed
// against its predecessor and coded with the fragment table (fragments.h),
// followed by the end pair 0, 0; an empty store has an empty word block.
// The index block holds 16-byte entries (woff, first, key), each anchoring
// a run of words (a block) so that a lookup decodes only one run.
//
// Invariants (dictionary_check walks 1-3; 4 is a policy, not a soundness rule):
//  1. Words are strictly ascending under compare_words with no options; two
//     words that differ only in letter case are one word.
//  2. Entry 0 anchors word 0 at woff 0; `first` rises strictly.
//  3. Every anchor has a count byte below 8, so its text is the first
//     count bytes of its key followed by its own fragments.
//  4. Adding splits a block of 128 words (129 for the last) when a word
//     with a count byte below 8 lies in its second half; deleting merges a
//     block into its predecessor when either holds fewer than 64 words.
//
// Both blocks are written to and read from the .dic file unchanged; the
// index entries are therefore kept as little-endian bytes and read through
// the accessors below.
#pragma once
#include <cstdint>

#include "app/dictionary/collation.h"
#include "app/dictionary/fragments.h"

struct error_block;

const int INDEX_ENTRY_SIZE = 16;
const int KEY_LENGTH = 8;

struct Dictionary {
    uint32_t words;     // number of words
    uint32_t noindex;   // number of index entries
    void *index;        // flex anchor: noindex entries of INDEX_ENTRY_SIZE bytes
    void *wordblock;    // flex anchor: the encoded words and the end pair
    uint32_t spaced;    // words holding a space (the fast find's careful mode)
    uint64_t generation;  // changes with every change of the words (see dictionary_touch)
};

// Marks a dictionary as changed: gives it a generation number that no
// dictionary has had before, so that anything built from its words (the
// searches' tables) knows exactly when to rebuild. Every operation that
// changes the store calls it.
void dictionary_touch(Dictionary *d);

// Calls dictionary_touch when it goes out of scope: for operations with
// several ways out.
struct DictionaryTouch {
    Dictionary *d;
    ~DictionaryTouch() { dictionary_touch(d); }
};

struct WordCursor {
    char text[WORD_BUFFER];  // the decoded current word
    uint32_t offset;         // word block offset of the current word's count byte
    uint32_t entry;          // index entry the walk started from
    uint32_t number;         // word number of the current word
    uint32_t length;         // bytes of the current word's encoding
};

// Index entry fields, read from and written to the index block.
uint32_t entry_woff(const Dictionary *d, uint32_t entry);
uint32_t entry_first(const Dictionary *d, uint32_t entry);
const char *entry_key(const Dictionary *d, uint32_t entry);   // 8 bytes, not terminated
inline const uint8_t *word_bytes(const Dictionary *d) { return static_cast<const uint8_t *>(d->wordblock); }

// --- Reading -----------------------------------------------------------
// Puts the cursor on the anchor word of `entry`; with no such entry (an
// empty store) the cursor is empty, its number `words`, so that
// next_word gives 0.
void first_word_in_block(const Dictionary *d, uint32_t entry, WordCursor *cursor);
// Moves to the next word: 1, or 0 at the end (text empty, length 0).
int next_word(const Dictionary *d, WordCursor *cursor);
// Finds `word`. Without CMP_IGNORE_SPACES in *flags: 1 with the cursor on
// it (the case result tells a case difference), else 0 with the cursor on
// the greatest word below it (or on the start entry's anchor). With
// CMP_IGNORE_SPACES (the fast mode): no cursor is produced (it may be
// null); on 1 the stored spelling is in fast_find_spelling(). `flags` may
// be null for no options.
int find_word(const Dictionary *d, const char *word, WordCursor *cursor, unsigned *flags);
// The stored spelling of the last word the fast mode found (shared buffer).
const char *fast_find_spelling();
// Puts the cursor on word `number`: 1, or 0 when it is not below `words`.
int word_at(const Dictionary *d, uint32_t number, WordCursor *cursor);
// Word `number` in a shared static buffer, "" when out of range.
const char *word_text(const Dictionary *d, uint32_t number);

// --- Changing ----------------------------------------------------------
void init_dictionary(Dictionary *d);    // allocates both blocks empty
void clear_dictionary(Dictionary *d);   // frees both blocks, counts 0
// Adds a word (1-31 bytes; others are ignored), replacing a stored case
// variant. A word that cannot be encoded is dropped silently. On a memory
// error the dictionary is unchanged.
const error_block *add_word(Dictionary *d, const char *word);
// Deletes a word: 1 when deleted, 0 when absent (or when the deletion
// would leave a neighbour that cannot be encoded; nothing changes then).
int delete_word(Dictionary *d, const char *word);
// Deletes the word under a cursor from a successful find or word_at: 1, or
// 0 when refused as above.
int delete_at_cursor(Dictionary *d, const WordCursor *cursor);

// Replaces the content with `count` words that are already sorted by
// compare_words (no options) without case twins. Words that cannot be
// encoded are dropped. On failure the dictionary is unchanged.
const error_block *build_dictionary(Dictionary *d, const char *const *words, int count);
// Adds many words at once: the same words as add_word one by one, in one
// rebuild of the store (later spellings replace earlier case variants).
const error_block *add_words_bulk(Dictionary *d, const char *const *words, int count);

// --- Checking and files ------------------------------------------------
// Walks every invariant, reading only inside both blocks. Returns 0 when
// the store is sound, else 1 with a description of the first fault found
// in `message` (when not null).
int dictionary_check(const Dictionary *d, char *message, int size);

// "%s\%s.dic" of a directory and a name into `path` (FS_PATH_MAX bytes).
const error_block *dictionary_path(const char *directory, const char *name, char *path);
const error_block *load_dictionary(Dictionary *d, const char *directory, const char *name);
const error_block *save_dictionary(const Dictionary *d, const char *directory, const char *name);
// The same for a full path (quill and tests).
const error_block *load_dictionary_file(Dictionary *d, const char *path);
const error_block *save_dictionary_file(const Dictionary *d, const char *path);
// Why the last load refused a file as corrupt ("" when it did not).
const char *dictionary_corruption_reason();
