// The code page 1252 letter table: the same answers in both builds,
// whatever the C library's locale says.
#include <gtest/gtest.h>

#include "toolkit/text/cp1252.h"

TEST(Cp1252, LettersAndCasePairs)
{
    int letters = 0;
    for (int c = 0; c < 256; c++) {
        unsigned char b = static_cast<unsigned char>(c);
        letters += cp_is_alpha(b);
        // Case conversion is a pairing: it never leaves the letters, and
        // converting back returns the letter itself.
        if (cp_upper(b) != b) {
            EXPECT_TRUE(cp_is_alpha(b));
            EXPECT_EQ(cp_lower(cp_upper(b)), b) << c;
        }
        if (cp_lower(b) != b) {
            EXPECT_EQ(cp_upper(cp_lower(b)), b) << c;
        }
    }
    // 52 ASCII, 8 in 0x83-0x9F, 3 in 0xAA-0xBA, 23+31+8 in 0xC0-0xFF.
    EXPECT_EQ(letters, 52 + 8 + 3 + 62);
    EXPECT_EQ(cp_upper(0xFF), 0x9F);
    EXPECT_EQ(cp_lower(0x8A), 0x9A);
    EXPECT_EQ(cp_upper(0xE9), 0xC9);
    EXPECT_EQ(cp_upper(0xF7), 0xF7);  // division sign
    EXPECT_FALSE(cp_is_alpha(0xD7));  // multiplication sign
    EXPECT_TRUE(cp_is_alpha(0xDF));
    EXPECT_EQ(cp_upper(0xDF), 0xDF);  // sharp s has no capital here
    EXPECT_EQ(cp_upper(0xB5), 0xB5);
    EXPECT_FALSE(cp_is_alpha('1'));
    EXPECT_FALSE(cp_is_alpha(0x80));  // euro sign
}

TEST(Cp1252, CaselessCompare)
{
    EXPECT_EQ(cp_compare_nocase("Apple", "aPPLE"), 0);
    EXPECT_LT(cp_compare_nocase("apple", "Banana"), 0);
    EXPECT_GT(cp_compare_nocase("\xC9t\xE9", "\xE9t"), 0);
    EXPECT_LT(cp_compare_nocase("ab", "abc"), 0);
    char s[] = "Caf\xE9 \xFF";
    cp_upper_string(s);
    EXPECT_STREQ(s, "CAF\xC9 \x9F");
    cp_lower_string(s);
    EXPECT_STREQ(s, "caf\xE9 \xFF");
}
