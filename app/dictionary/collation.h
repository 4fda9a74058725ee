// The word order: a collation table of primary and secondary weights, and
// the word comparison built on it.
//
// Primary weights are a permutation of the byte values; a lower-case letter
// takes the primary weight of its upper-case partner (which directly
// follows it) as its secondary weight. Two bytes with equal secondary but
// different primary weights are the same letter in another case.
#pragma once
#include <cstdint>

extern const uint8_t collation_primary[256];
extern const uint8_t collation_secondary[256];

// Comparison flags: option bits in, case result out.
const unsigned CMP_IGNORE_SPACES = 0x1;  // skip runs of spaces in both strings
const unsigned CMP_CASE_SHIFT = 8;       // case result field: 0, 1 or 3
const unsigned CMP_CASE_MASK = 0x3u << CMP_CASE_SHIFT;
const unsigned CMP_CASE_DIFFERS = 0x1u << CMP_CASE_SHIFT;  // low bit of the field

// Compares at most `maximum` characters of two NUL-terminated strings by
// primary weight, letters of different case counting as equal. Clears the
// case result in *flags on entry and stores it on return: 0 no case
// difference, 1 the first differing letter of `a` has the lower weight (it
// is the lower-case one), 3 otherwise. Negative, 0 or positive as `a` sorts
// before, equal to or after `b`. `flags` may be null (no options).
int compare_words(const char *a, const char *b, int maximum, unsigned *flags);

// The case result field of a flags word (0, 1 or 3).
inline unsigned compare_case_result(unsigned flags) { return (flags & CMP_CASE_MASK) >> CMP_CASE_SHIFT; }
