// The code page 1252 letter table. Letters: A-Z, a-z, 0x83, 0x8A, 0x8C,
// 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB5, 0xBA, 0xC0-0xD6, 0xD8-0xF6,
// 0xF8-0xFF. Case pairs: a-z/A-Z, 0x9A/0x8A, 0x9C/0x8C, 0x9E/0x8E,
// 0xFF/0x9F, 0xE0-0xFE/0xC0-0xDE except 0xF7/0xD7. 0x83, 0xAA, 0xB5, 0xBA
// and 0xDF are letters without a partner.
#include "toolkit/text/cp1252.h"

#include <array>

namespace {

struct tables {
    std::array<uint8_t, 256> upper{}, lower{}, alpha{};
};

constexpr tables build()
{
    tables t;
    for (int c = 0; c < 256; c++) {
        t.upper[c] = static_cast<uint8_t>(c);
        t.lower[c] = static_cast<uint8_t>(c);
    }
    auto pair = [&t](int lo, int up) {
        t.lower[up] = static_cast<uint8_t>(lo);
        t.upper[lo] = static_cast<uint8_t>(up);
        t.alpha[lo] = t.alpha[up] = 1;
    };
    for (int c = 'a'; c <= 'z'; c++)
        pair(c, c - 32);
    pair(0x9A, 0x8A);
    pair(0x9C, 0x8C);
    pair(0x9E, 0x8E);
    pair(0xFF, 0x9F);
    for (int c = 0xE0; c <= 0xFE; c++)
        if (c != 0xF7)
            pair(c, c - 32);
    for (int c : {0x83, 0xAA, 0xB5, 0xBA, 0xDF})
        t.alpha[c] = 1;
    return t;
}

constexpr tables kTables = build();

}  // namespace

const uint8_t *const cp1252_upper_table = kTables.upper.data();
const uint8_t *const cp1252_lower_table = kTables.lower.data();
const uint8_t *const cp1252_alpha_table = kTables.alpha.data();

int cp_compare_nocase(const char *a, const char *b)
{
    const auto *x = reinterpret_cast<const unsigned char *>(a);
    const auto *y = reinterpret_cast<const unsigned char *>(b);
    for (;; x++, y++) {
        int d = cp_lower(*x) - cp_lower(*y);
        if (d != 0 || *x == 0)
            return d;
    }
}

void cp_lower_string(char *s)
{
    for (; *s; s++)
        *s = static_cast<char>(cp_lower(static_cast<unsigned char>(*s)));
}

void cp_upper_string(char *s)
{
    for (; *s; s++)
        *s = static_cast<char>(cp_upper(static_cast<unsigned char>(*s)));
}

void cp_append_utf8(std::string &out, unsigned char c)
{
    static const unsigned short high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    unsigned code = c >= 0x80 && c < 0xA0 ? high[c - 0x80] : c;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}
