// The collation table, the comparison and the word encoding.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/dictionary/collation.h"
#include "app/dictionary/fragments.h"

namespace {

std::vector<int> encode(const char *predecessor, const char *word)
{
    uint8_t out[ENCODED_MAX + 2];
    int n = encode_word(predecessor, word, out);
    return std::vector<int>(out, out + n);
}

std::string decode(const char *predecessor, const std::vector<int> &bytes)
{
    std::vector<uint8_t> b(bytes.begin(), bytes.end());
    b.push_back(0);
    b.push_back(0);
    char text[WORD_BUFFER] = {};
    strcpy(text, predecessor);
    int n = decode_word(b.data(), text);
    EXPECT_EQ(n, static_cast<int>(bytes.size()));
    return text;
}

}  // namespace

TEST(Collation, PrimaryWeightsArePermutationAndCasePairsShareSecondary)
{
    bool seen[256] = {};
    for (int c = 0; c < 256; c++) {
        EXPECT_FALSE(seen[collation_primary[c]]) << c;
        seen[collation_primary[c]] = true;
    }
    EXPECT_EQ(collation_primary[0x00], 0);
    EXPECT_EQ(collation_primary[0x5A], 255);
    EXPECT_EQ(collation_secondary['a'], collation_primary['A']);
    EXPECT_EQ(collation_secondary[0xFF], collation_primary[0x9F]);
    EXPECT_EQ(collation_secondary[0xE9], collation_primary[0xC9]);
    // 0x9E/0x8E sort with the controls and are no pair here.
    EXPECT_NE(collation_secondary[0x9E], collation_secondary[0x8E]);
    EXPECT_EQ(collation_secondary[0xF7], collation_primary[0xF7]);
    // apostrophe < hyphen < space < digits < letters; a < A < b
    EXPECT_LT(collation_primary['\''], collation_primary['-']);
    EXPECT_LT(collation_primary['-'], collation_primary[' ']);
    EXPECT_LT(collation_primary[' '], collation_primary['0']);
    EXPECT_LT(collation_primary['a'], collation_primary['A']);
    EXPECT_LT(collation_primary['A'], collation_primary['b']);
}

TEST(Collation, CompareReportsCaseAndHonoursOptions)
{
    unsigned flags = 0;
    EXPECT_EQ(compare_words("apple", "Apple", WORD_MAX, &flags), 0);
    EXPECT_EQ(compare_case_result(flags), 1u);
    EXPECT_EQ(compare_words("Apple", "apple", WORD_MAX, &flags), 0);
    EXPECT_EQ(compare_case_result(flags), 3u);
    EXPECT_EQ(compare_words("apple", "apple", WORD_MAX, &flags), 0);
    EXPECT_EQ(compare_case_result(flags), 0u);
    EXPECT_LT(compare_words("Apple", "apricot", WORD_MAX, &flags), 0);
    EXPECT_LT(compare_words("ice zone", "iceberg", WORD_MAX, nullptr), 0);
    flags = CMP_IGNORE_SPACES;
    EXPECT_GT(compare_words("ice zone", "iceberg", WORD_MAX, &flags), 0);
    EXPECT_EQ(flags & CMP_IGNORE_SPACES, CMP_IGNORE_SPACES);
    flags = CMP_IGNORE_SPACES;
    EXPECT_EQ(compare_words("ice cream", "Icecream", WORD_MAX, &flags), 0);
    EXPECT_EQ(compare_case_result(flags), 1u);
    EXPECT_EQ(compare_words("particular", "particul", 8, nullptr), 0);
    EXPECT_LT(compare_words("caf", "cafe", WORD_MAX, nullptr), 0);
    EXPECT_LT(compare_words("cafe", "caf\xE9", WORD_MAX, nullptr), 0);
}

TEST(Encoding, ExamplesByteForByte)
{
    EXPECT_EQ(encode("", "ability"), (std::vector<int>{0x00, 0x61, 0x92}));
    EXPECT_EQ(encode("", "nesses"), (std::vector<int>{0x00, 0x5D, 0x20, 0x2B}));
    EXPECT_EQ(encode("", "station"), (std::vector<int>{0x00, 0x7B, 0x5E}));
    EXPECT_EQ(encode("station", "stationery"), (std::vector<int>{0x07, 0x23, 0x79}));
    EXPECT_EQ(encode("", "ice cream"),
              (std::vector<int>{0x00, 0x3D, 0x65, 0x1E, 0x20, 0x63, 0x5F, 0x61, 0x6D}));
    EXPECT_EQ(encode("", "caf\xE9"), (std::vector<int>{0x00, 0x63, 0x61, 0x66, 0xE9}));
    EXPECT_EQ(decode("station", encode("station", "stationery")), "stationery");
    EXPECT_EQ(decode("", encode("", "ice cream")), "ice cream");
}

TEST(Encoding, LimitsAndLongSharedPrefixes)
{
    // Each punctuation byte needs an escape pair: 16 of them fit, 17 do not.
    EXPECT_EQ(encode("", std::string(16, '!').c_str()).size(), 33u);
    EXPECT_TRUE(encode("", std::string(17, '!').c_str()).empty());
    // Words of 30 and 31 bytes sharing 30: the count stays at 29 and the
    // encoding still decodes to the word.
    std::string a(30, 'q'), b = a + "x", c = a + "z";
    std::vector<int> e = encode(b.c_str(), c.c_str());
    EXPECT_EQ(e[0], COUNT_MAX);
    EXPECT_EQ(decode(b.c_str(), e), c);
    e = encode(a.c_str(), b.c_str());
    EXPECT_EQ(e[0], COUNT_MAX);
    EXPECT_EQ(decode(a.c_str(), e), b);
}

TEST(Encoding, EveryFragmentRoundTripsAndGroupsCoverAllCodes)
{
    int covered[256] = {};
    for (const FragmentGroup &g : fragment_search_groups)
        for (int code = g.first; code < g.end; code++)
            covered[code]++;
    for (int code = FRAGMENT_FIRST; code < 256; code++) {
        EXPECT_GE(covered[code], 1) << code;
        const Fragment &f = fragment_table[code];
        ASSERT_GE(f.length, 1) << code;
        std::string word(f.text, f.length);
        EXPECT_EQ(decode("", encode("", word.c_str())), word) << code;
    }
    EXPECT_EQ(covered[48], 2);  // "0" is reached in the third group already
    EXPECT_EQ(fragment_table[30].length, 0);
}
