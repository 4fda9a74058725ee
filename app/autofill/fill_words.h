// The autofill's word tables: the words of the document's dictionaries
// grouped by length, each once (ignoring case), with a bit set per
// (position, letter) of the words that have that letter there.
//
// Each length is built on first use and kept while every dictionary of the
// document's list is the same store at the same generation (every change
// of a store renews its generation, so equal generations mean equal words).
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/dictionary/fragments.h"

struct Dictionary;

struct FillLength {
    int32_t count = 0;               // words of this length
    int32_t stride = 0;              // 64-bit words per bit set
    std::vector<uint8_t> folded;     // count x n bytes: letters upper-cased
    std::vector<char> spelling;      // count x n bytes: as stored, spaces removed
    std::vector<int32_t> sets;       // position * 256 + letter -> set, -1 none
    std::vector<uint64_t> bits;      // the sets, `stride` words each
    std::vector<std::vector<uint8_t>> letters;   // per position: letters with a set

    const uint64_t *set(int position, uint8_t letter) const
    {
        int32_t s = sets[position * 256 + letter];
        return s < 0 ? nullptr : &bits[static_cast<size_t>(s) * stride];
    }
};

struct FillWords {
    std::vector<std::pair<const Dictionary *, uint64_t>> built_from;   // store, generation
    uint32_t built = 0;                // bit n: lengths[n] is built
    FillLength lengths[WORD_BUFFER];   // index: length 1..WORD_MAX
};

// The tables for the document's dictionaries now, with at least the
// lengths whose bits are set in `lengths` built (stale tables are dropped
// first).
const FillWords &fill_words(uint32_t lengths);
// Drops the tables (frees their memory).
void fill_words_forget();
