// Helpers shared by the word store's own files (not for other modules).
#pragma once
#include <cstdint>

#include "app/dictionary/dictionary.h"

struct fs_info;

// Raw little-endian access to the index block.
uint8_t *entry_address(Dictionary *d, uint32_t entry);
void set_entry(Dictionary *d, uint32_t entry, uint32_t woff, uint32_t first, const char *text);
void set_entry_position(Dictionary *d, uint32_t entry, uint32_t woff, uint32_t first);
// Inserts an entry before `entry` (at the end when entry == noindex).
const error_block *insert_entry(Dictionary *d, uint32_t entry, uint32_t woff, uint32_t first,
                                const char *text);
void delete_entry(Dictionary *d, uint32_t entry);
// Moves every entry from `from` on by `bytes` in woff and `words` in first.
void shift_entries(Dictionary *d, uint32_t from, int32_t bytes, int32_t words);

// The last entry whose first is not above `number` (entry 0 when none).
uint32_t entry_holding(const Dictionary *d, uint32_t number);
// The first word number after the block of `entry`.
uint32_t block_end(const Dictionary *d, uint32_t entry);

// Replaces `old_length` bytes at `at` in the word block by `length` bytes.
const error_block *replace_bytes(Dictionary *d, uint32_t at, int old_length,
                                 const uint8_t *bytes, int length);

// Moves the anchor of `entry`, whose anchor word is under `cursor`, on to
// the first word of its block whose count byte is below 8, or deletes the
// entry when there is none (its words join the previous block).
bool reanchor(Dictionary *d, uint32_t entry, WordCursor cursor);  // false: entry deleted

// The last entry whose key sorts strictly below `word` (max 8 bytes, with
// the given options), or entry 0.
uint32_t find_start_entry(const Dictionary *d, const char *word, unsigned options);
// The ignore-spaces mode of find_word.
int find_word_fast(const Dictionary *d, const char *word, unsigned *flags);
// dictionary_check, also counting the words that hold a space.
int dictionary_check_counting(const Dictionary *d, char *message, int size, uint32_t *spaced);

// The check stamp beside a .dic (dictionary_stamp.cpp), keyed to this
// machine and user. Whether the stamp beside `path` (whose record is
// `info`) vouches for the store just read from it (then *spaced is the
// count the walk made), is missing or stale (a sound load may write a new
// one), or is some other file of that name, or there is no key to check
// it by (left alone, none written).
enum StampVerdict { STAMP_VOUCHES, STAMP_STALE, STAMP_FOREIGN };
StampVerdict stamp_vouches(const char *path, const fs_info *info, const Dictionary *d, uint32_t *spaced);
// Writes the stamp for a store that has just passed the walk (best effort).
void stamp_record(const char *path, const fs_info *info, const Dictionary *d, uint32_t spaced);
// Deletes the stamp beside `path`, if there is one.
void stamp_forget(const char *path);

// The 8-byte key of a word: its first 8 bytes, NUL-padded.
void make_key(char *key, const char *text);

// Whether a word holds a space.
bool has_space(const char *word);
