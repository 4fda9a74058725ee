// The fragment table and the word encoding.
//
// An encoded word is a shared-prefix count byte (0-29: how many leading
// bytes it shares with the word before it) followed by fragment codes
// 31-255, each standing for a fixed string, and escape pairs (30, literal
// byte). A byte below 30 ends the word: it is the next word's count byte.
#pragma once
#include <cstdint>

const int WORD_MAX = 31;          // bytes of a word, terminator not counted
const int WORD_BUFFER = 32;       // a word with its terminator
const int ENCODED_MAX = 33;       // bytes of an encoded word, count included
const int COUNT_MAX = 29;         // the largest count byte written
const int FRAGMENT_ESCAPE = 30;   // the next byte is a literal character
const int FRAGMENT_FIRST = 31;    // the lowest fragment code

// One fragment: its length (0 for codes below 31) and its bytes.
struct Fragment {
    uint8_t length;
    char text[7];
};
extern const Fragment fragment_table[256];

// The twelve search groups, each a half-open range of codes, in the order
// the encoder tries them: multi-letter groups first, then single characters.
struct FragmentGroup {
    int first, end;
};
const int FRAGMENT_GROUPS = 12;
extern const FragmentGroup fragment_search_groups[FRAGMENT_GROUPS];

// Encodes `word` after `predecessor` into `out` (at least ENCODED_MAX
// bytes). Returns the length of the encoding, or 0 when it would exceed
// ENCODED_MAX bytes. Shared prefixes above COUNT_MAX are written as
// COUNT_MAX.
int encode_word(const char *predecessor, const char *word, uint8_t *out);

// Decodes the encoded word at `bytes` into `text`, which holds the
// predecessor (or an anchor's key): cuts it at the count byte (modulo 32),
// appends the fragments. Returns the number of bytes consumed, count byte
// included. The text never grows beyond WORD_MAX bytes: excess is dropped
// (only a damaged store has any; the loader refuses those).
int decode_word(const uint8_t *bytes, char *text);

// The length of the encoded word at `bytes`, count byte included.
int encoded_length(const uint8_t *bytes);
