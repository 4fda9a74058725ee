// Fragment codes, the encoder and the decoder.
#include "app/dictionary/fragments.h"

#include <array>
#include <cstring>

namespace {

// Codes 123-191, in code order.
constexpr const char *kGroupWords[] = {
    "st", "ing", "ous", "ge", "de", "ly", "nd", "ity", "rd", "ck", "sm", "ry", "sh", "en",
    "ar", "ia", "in", "ter", "ul", "ted", "lity", "ch", "ility", "bility", "ard", "lly",
    "ence", "is", "et", "ve", "um", "ct", "ance", "me", "ine", "ht", "ay", "tic", "ad",
    "ll", "ian", "ip", "cal", "ght", "el", "and", "ries", "ication", "ant", "cy", "age",
    "at", "th", "ial", "ious", "id", "ke", "ire", "one", "ish", "ive", "logy", "ness",
    "ogical", "il", "own", "ties", "it", "ue"};
static_assert(sizeof kGroupWords / sizeof kGroupWords[0] == 192 - 123);

constexpr const char *kLow[] = {"ng", "ss", "ess", "on", "er", "ed", "le", "ion"};  // 31-38
constexpr const char *kMid[] = {"te", "ble", "al", "es", "ce"};                    // 40-44
constexpr const char *kPair[] = {"nt", "us"};                                       // 46-47
constexpr const char *kSuffix[] = {"tion", "an", "ate", "ic", "ty", "ent", "ies"};  // 58-64
constexpr const char *kEnd[] = {"se", "able", "ne", "ation", "re", "nce"};          // 91-96

constexpr void put(std::array<Fragment, 256> &t, int code, const char *s)
{
    Fragment f{};
    int n = 0;
    while (s[n]) {
        f.text[n] = s[n];
        n++;
    }
    f.length = static_cast<uint8_t>(n);
    t[code] = f;
}

constexpr void put_char(std::array<Fragment, 256> &t, int code)
{
    Fragment f{};
    f.length = 1;
    f.text[0] = static_cast<char>(code);
    t[code] = f;
}

constexpr std::array<Fragment, 256> build()
{
    std::array<Fragment, 256> t{};
    for (int i = 0; i < 8; i++)
        put(t, 31 + i, kLow[i]);
    put_char(t, 39);  // '
    for (int i = 0; i < 5; i++)
        put(t, 40 + i, kMid[i]);
    put_char(t, 45);  // -
    for (int i = 0; i < 2; i++)
        put(t, 46 + i, kPair[i]);
    for (int c = 48; c < 58; c++)
        put_char(t, c);
    for (int i = 0; i < 7; i++)
        put(t, 58 + i, kSuffix[i]);
    for (int c = 65; c < 91; c++)
        put_char(t, c);
    for (int i = 0; i < 6; i++)
        put(t, 91 + i, kEnd[i]);
    for (int c = 97; c < 123; c++)
        put_char(t, c);
    for (int i = 0; i < 69; i++)
        put(t, 123 + i, kGroupWords[i]);
    for (int c = 192; c < 256; c++)
        put_char(t, c);
    return t;
}

constexpr std::array<Fragment, 256> kTable = build();

// For each first byte, the codes whose fragment starts with it, in search
// order (groups in order, codes ascending within a group). The encoder only
// ever needs these, so each pass looks at a handful of candidates.
struct candidates {
    uint8_t count[256];
    uint8_t codes[256][32];
};

constexpr FragmentGroup kGroups[FRAGMENT_GROUPS] = {
    {31, 39}, {40, 45}, {46, 49}, {58, 65}, {91, 97}, {123, 192},
    {39, 40}, {45, 46}, {48, 58}, {65, 91}, {97, 123}, {192, 256},
};

constexpr candidates build_candidates()
{
    candidates c{};
    for (const FragmentGroup &g : kGroups) {
        for (int code = g.first; code < g.end; code++) {
            auto first = static_cast<uint8_t>(kTable[code].text[0]);
            bool seen = false;  // code 48 sits in two groups: the first place counts
            for (int i = 0; i < c.count[first]; i++)
                seen = seen || c.codes[first][i] == code;
            if (!seen)
                c.codes[first][c.count[first]++] = static_cast<uint8_t>(code);
        }
    }
    return c;
}

constexpr candidates kCandidates = build_candidates();

}  // namespace

const Fragment fragment_table[256] = {
#define F(i) kTable[i]
#define ROW(r) F(r), F(r + 1), F(r + 2), F(r + 3), F(r + 4), F(r + 5), F(r + 6), F(r + 7), \
               F(r + 8), F(r + 9), F(r + 10), F(r + 11), F(r + 12), F(r + 13), F(r + 14), F(r + 15)
    ROW(0), ROW(16), ROW(32), ROW(48), ROW(64), ROW(80), ROW(96), ROW(112),
    ROW(128), ROW(144), ROW(160), ROW(176), ROW(192), ROW(208), ROW(224), ROW(240),
#undef ROW
#undef F
};

const FragmentGroup fragment_search_groups[FRAGMENT_GROUPS] = {
    kGroups[0], kGroups[1], kGroups[2], kGroups[3], kGroups[4], kGroups[5],
    kGroups[6], kGroups[7], kGroups[8], kGroups[9], kGroups[10], kGroups[11],
};

namespace {

// The code of the fragment that equals `rest` exactly, or 0.
int exact_code(const char *rest, int length)
{
    auto first = static_cast<uint8_t>(rest[0]);
    for (int i = 0; i < kCandidates.count[first]; i++) {
        int code = kCandidates.codes[first][i];
        const Fragment &f = fragment_table[code];
        if (f.length == length && memcmp(f.text, rest, length) == 0)
            return code;
    }
    return 0;
}

// The first fragment in search order that is a proper prefix of `rest`, or 0.
int prefix_code(const char *rest, int length)
{
    auto first = static_cast<uint8_t>(rest[0]);
    for (int i = 0; i < kCandidates.count[first]; i++) {
        int code = kCandidates.codes[first][i];
        const Fragment &f = fragment_table[code];
        if (f.length < length && memcmp(f.text, rest, f.length) == 0)
            return code;
    }
    return 0;
}

}  // namespace

int encode_word(const char *predecessor, const char *word, uint8_t *out)
{
    int shared = 0;
    while (predecessor[shared] && predecessor[shared] == word[shared])
        shared++;
    // The count byte also ends the previous word, so it must stay below the
    // escape code; a longer shared prefix is simply encoded again.
    if (shared > COUNT_MAX)
        shared = COUNT_MAX;
    out[0] = static_cast<uint8_t>(shared);
    int written = 1;
    const char *rest = word + shared;
    int length = static_cast<int>(strlen(rest));
    while (length > 0) {
        if (written >= 32)
            return 0;
        if (int code = exact_code(rest, length)) {
            out[written++] = static_cast<uint8_t>(code);
            break;
        }
        if (int code = prefix_code(rest, length)) {
            out[written++] = static_cast<uint8_t>(code);
            rest += fragment_table[code].length;
            length -= fragment_table[code].length;
            continue;
        }
        out[written++] = FRAGMENT_ESCAPE;
        out[written++] = static_cast<uint8_t>(rest[0]);
        rest++;
        length--;
    }
    return written;
}

int decode_word(const uint8_t *bytes, char *text)
{
    int at = bytes[0] & 31;
    if (at > WORD_MAX)
        at = WORD_MAX;
    const uint8_t *p = bytes + 1;
    for (;;) {
        uint8_t b = *p;
        if (b > FRAGMENT_ESCAPE) {
            const Fragment &f = fragment_table[b];
            if (at <= WORD_MAX - static_cast<int>(sizeof f.text)) {
                // Copying the whole 7-byte field is faster than a loop and
                // stays inside the 32-byte text; bytes past the word's end
                // are cut by the terminator.
                memcpy(text + at, f.text, sizeof f.text);
                at += f.length;
            } else if (at + f.length <= WORD_MAX) {
                for (int i = 0; i < f.length; i++)
                    text[at + i] = f.text[i];
                at += f.length;
            }
            p++;
        } else if (b == FRAGMENT_ESCAPE) {
            if (at < WORD_MAX)
                text[at++] = static_cast<char>(p[1]);
            p += 2;
        } else {
            break;
        }
    }
    text[at] = 0;
    return static_cast<int>(p - bytes);
}

int encoded_length(const uint8_t *bytes)
{
    const uint8_t *p = bytes + 1;
    for (;;) {
        if (*p > FRAGMENT_ESCAPE)
            p++;
        else if (*p == FRAGMENT_ESCAPE)
            p += 2;
        else
            break;
    }
    return static_cast<int>(p - bytes);
}
