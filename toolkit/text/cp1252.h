// Letters of Windows code page 1252: one table, used by both builds, so
// that case conversion and letter tests never depend on the C library's
// locale (Linux and Windows disagree).
#pragma once
#include <cstdint>
#include <string>

extern const uint8_t *const cp1252_upper_table;
extern const uint8_t *const cp1252_lower_table;
extern const uint8_t *const cp1252_alpha_table;

inline bool cp_is_alpha(unsigned char c) { return cp1252_alpha_table[c] != 0; }
inline unsigned char cp_upper(unsigned char c) { return cp1252_upper_table[c]; }
inline unsigned char cp_lower(unsigned char c) { return cp1252_lower_table[c]; }
inline bool cp_is_upper(unsigned char c) { return cp_is_alpha(c) && cp_lower(c) != c; }
inline bool cp_is_lower(unsigned char c) { return cp_is_alpha(c) && cp_upper(c) != c; }

// Compares two NUL-terminated strings ignoring letter case by this table
// (each byte lower-cased); <0, 0 or >0 like strcmp.
int cp_compare_nocase(const char *a, const char *b);
// Lower- or upper-cases a NUL-terminated string in place.
void cp_lower_string(char *s);
void cp_upper_string(char *s);

// Appends one code page 1252 byte to `out` as UTF-8: 0x80-0x9F through the
// code page's table (its five unassigned bytes map to the C1 controls),
// the rest as Latin-1.
void cp_append_utf8(std::string &out, unsigned char c);
