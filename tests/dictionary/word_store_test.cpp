// The word store's operations and their edge cases.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "tests/dictionary/store_test_util.h"

namespace {

// Four-letter words "aaaa", "aaab", ... in order: count bytes below 8.
std::string plain_word(int i)
{
    std::string w = "aaaa";
    for (int k = 3; k >= 0; k--, i /= 26)
        w[k] = static_cast<char>('a' + i % 26);
    return w;
}

}  // namespace

TEST(WordStore, CaseVariantReplacesAndIdenticalWordChangesNothing)
{
    TestDictionary t;
    t.add("apple");
    t.add("Apple");
    EXPECT_EQ(t.d.words, 1u);
    EXPECT_EQ(all_words(t.d), std::vector<std::string>{"Apple"});
    t.add("Apple");
    EXPECT_EQ(t.d.words, 1u);
    EXPECT_STREQ(entry_key(&t.d, 0), "Apple");
    t.add("banana");
    t.add("BANANA");
    t.add("apricot");
    EXPECT_EQ(all_words(t.d), (std::vector<std::string>{"Apple", "apricot", "BANANA"}));
    EXPECT_TRUE(store_sound(t.d));
}

TEST(WordStore, FrontInsertionBecomesWordZeroAndReencodesOldFirst)
{
    TestDictionary t;
    t.add("station");
    t.add("stationery");
    t.add("stamp");
    EXPECT_EQ(all_words(t.d), (std::vector<std::string>{"stamp", "station", "stationery"}));
    const uint8_t *b = word_bytes(&t.d);
    EXPECT_EQ(b[0], 0);                        // the new word 0
    EXPECT_EQ(memcmp(entry_key(&t.d, 0), "stamp\0\0\0", 8), 0);
    WordCursor c;
    ASSERT_TRUE(word_at(&t.d, 1, &c));
    EXPECT_EQ(b[c.offset], 3);                 // "station" now shares "sta"
    EXPECT_TRUE(store_sound(t.d));
}

TEST(WordStore, DeletingTheOnlyWordEmptiesAndAddRebuilds)
{
    TestDictionary t;
    t.add("lonely");
    EXPECT_EQ(delete_word(&t.d, "LONELY"), 1);
    EXPECT_EQ(t.d.words, 0u);
    EXPECT_EQ(t.d.noindex, 0u);
    EXPECT_EQ(t.d.wordblock, nullptr);
    EXPECT_EQ(delete_word(&t.d, "lonely"), 0);
    t.add("again");
    EXPECT_EQ(t.d.words, 1u);
    EXPECT_EQ(t.d.noindex, 1u);
    EXPECT_TRUE(store_sound(t.d));
    EXPECT_STREQ(word_text(&t.d, 0), "again");
}

TEST(WordStore, LengthLimits)
{
    TestDictionary t;
    std::string w31(31, 'k'), w32(32, 'k');
    t.add(w31);
    t.add(w32);
    t.add("");
    EXPECT_EQ(all_words(t.d), std::vector<std::string>{w31});
    // Unencodable words are dropped silently.
    t.add(std::string(20, '!'));
    EXPECT_EQ(t.d.words, 1u);
}

TEST(WordStore, WordsSharingThirtyBytesStayReadable)
{
    TestDictionary t;
    std::string base(30, 'm');
    t.add(base + "z");
    t.add(base);
    t.add(base + "a");
    t.add(base + "q");
    EXPECT_EQ(all_words(t.d), (std::vector<std::string>{base, base + "a", base + "q", base + "z"}));
    EXPECT_TRUE(store_sound(t.d));
    EXPECT_EQ(delete_word(&t.d, (base + "a").c_str()), 1);
    EXPECT_EQ(all_words(t.d), (std::vector<std::string>{base, base + "q", base + "z"}));
    EXPECT_TRUE(store_sound(t.d));
}

TEST(WordStore, FindReportsNeighboursAndCase)
{
    TestDictionary t;
    for (const char *w : {"bat", "Cafe", "cat", "dog"})
        t.add(w);
    WordCursor c;
    unsigned flags = 0;
    EXPECT_EQ(find_word(&t.d, "cafe", &c, &flags), 1);
    EXPECT_STREQ(c.text, "Cafe");
    EXPECT_EQ(compare_case_result(flags) & 1, 1u);
    EXPECT_EQ(find_word(&t.d, "cow", &c, nullptr), 0);
    EXPECT_STREQ(c.text, "cat");
    EXPECT_EQ(find_word(&t.d, "aardvark", &c, nullptr), 0);
    EXPECT_EQ(c.number, 0u);
    EXPECT_EQ(find_word(&t.d, "zebra", &c, nullptr), 0);
    EXPECT_STREQ(c.text, "dog");
    // fast mode: found with its stored spelling and a case difference
    flags = CMP_IGNORE_SPACES;
    EXPECT_EQ(find_word(&t.d, "cafe", nullptr, &flags), 1);
    EXPECT_STREQ(fast_find_spelling(), "Cafe");
    EXPECT_EQ(compare_case_result(flags) & 1, 1u);
    flags = CMP_IGNORE_SPACES;
    EXPECT_EQ(find_word(&t.d, "c a t", nullptr, &flags), 1);
    EXPECT_EQ(compare_case_result(flags), 0u);
    flags = CMP_IGNORE_SPACES;
    EXPECT_EQ(find_word(&t.d, "cow", nullptr, &flags), 0);
    EXPECT_STREQ(word_text(&t.d, 3), "dog");
    EXPECT_STREQ(word_text(&t.d, 4), "");
}

TEST(WordStore, FastFindIsNotStoppedByWordsWithSpaces)
{
    TestDictionary t;
    for (const char *w : {"ice", "ice zone", "iceberg", "icicle"})
        t.add(w);
    EXPECT_EQ(t.d.spaced, 1u);
    for (const char *q : {"iceberg", "ICEBERG", "icezone", "ice zone", "icicle", "ice"}) {
        unsigned flags = CMP_IGNORE_SPACES;
        EXPECT_EQ(find_word(&t.d, q, nullptr, &flags), 1) << q;
    }
    unsigned flags = CMP_IGNORE_SPACES;
    EXPECT_EQ(find_word(&t.d, "icebox", nullptr, &flags), 0);
    // Without spaced words the walk keeps its plain form and still finds.
    EXPECT_EQ(delete_word(&t.d, "ice zone"), 1);
    EXPECT_EQ(t.d.spaced, 0u);
    flags = CMP_IGNORE_SPACES;
    EXPECT_EQ(find_word(&t.d, "iceberg", nullptr, &flags), 1);
    flags = CMP_IGNORE_SPACES;
    EXPECT_EQ(find_word(&t.d, "icezone", nullptr, &flags), 0);
}

TEST(WordStore, FastFindAcrossManyBlocksWithSpacedWords)
{
    TestDictionary t;
    std::vector<std::string> words;
    for (int i = 0; i < 600; i++)
        words.push_back(plain_word(i * 7));
    for (const auto &w : words)
        t.add(w);
    t.add("a bz");     // sorts before every "ab.." word but matches "abz"
    t.add("abz");
    ASSERT_TRUE(store_sound(t.d));
    ASSERT_GT(t.d.noindex, 2u);
    for (const auto &w : words) {
        unsigned flags = CMP_IGNORE_SPACES;
        ASSERT_EQ(find_word(&t.d, w.c_str(), nullptr, &flags), 1) << w;
    }
    unsigned flags = CMP_IGNORE_SPACES;
    EXPECT_EQ(find_word(&t.d, "abz", nullptr, &flags), 1);
    EXPECT_EQ(delete_word(&t.d, "abz"), 1);
    flags = CMP_IGNORE_SPACES;
    EXPECT_EQ(find_word(&t.d, "abz", nullptr, &flags), 1);
    EXPECT_STREQ(fast_find_spelling(), "a bz");
}

TEST(WordStore, BlocksSplitOnASuitableAnchor)
{
    TestDictionary t;
    for (int i = 0; i < 128; i++)
        t.add(plain_word(i));
    EXPECT_EQ(t.d.noindex, 1u);   // the last block splits when it reaches 129 words
    t.add(plain_word(128));
    EXPECT_EQ(t.d.noindex, 2u);
    EXPECT_EQ(entry_first(&t.d, 1), 64u);
    EXPECT_TRUE(store_sound(t.d));
    // Inserting into the first block (not last): it splits at 128.
    for (int i = 0; i < 200; i++)
        t.add(plain_word(i) + "z");
    EXPECT_TRUE(store_sound(t.d));
    EXPECT_GT(t.d.noindex, 4u);
    for (uint32_t k = 0; k + 1 < t.d.noindex; k++)
        EXPECT_LT(entry_first(&t.d, k + 1) - entry_first(&t.d, k), 129u) << k;
}

TEST(WordStore, NoSplitWithoutASuitableAnchor)
{
    TestDictionary t;
    // Every word shares at least 8 bytes with its predecessor.
    for (int i = 0; i < 200; i++)
        t.add("particular" + plain_word(i));
    EXPECT_EQ(t.d.noindex, 1u);
    EXPECT_TRUE(store_sound(t.d));
    t.add("pa");   // sorts first; the rest still cannot anchor
    EXPECT_EQ(t.d.noindex, 1u);
    EXPECT_TRUE(store_sound(t.d));
}

TEST(WordStore, DeletingWordZeroAloneInItsBlock)
{
    TestDictionary t;
    std::vector<std::string> words;
    std::vector<const char *> list;
    for (int i = 0; i < 300; i++)
        words.push_back(plain_word(i));
    for (auto &w : words)
        list.push_back(w.c_str());
    ASSERT_EQ(build_dictionary(&t.d, list.data(), 300), nullptr);
    ASSERT_GE(t.d.noindex, 3u);
    uint32_t second = entry_first(&t.d, 1);
    // Empty block 0 down to its anchor: the first block never merges.
    for (uint32_t n = second - 1; n >= 1; n--) {
        WordCursor c;
        ASSERT_TRUE(word_at(&t.d, n, &c));
        ASSERT_EQ(delete_at_cursor(&t.d, &c), 1);
        ASSERT_TRUE(store_sound(t.d)) << n;
    }
    ASSERT_EQ(entry_first(&t.d, 1), 1u);
    uint32_t entries = t.d.noindex;
    EXPECT_EQ(delete_word(&t.d, words[0].c_str()), 1);
    EXPECT_EQ(t.d.noindex, entries - 1);
    EXPECT_TRUE(store_sound(t.d));
    EXPECT_EQ(entry_woff(&t.d, 0), 0u);
    EXPECT_STREQ(word_text(&t.d, 0), words[second].c_str());
}

TEST(WordStore, WordAtAndStepping)
{
    TestDictionary t;
    for (int i = 0; i < 500; i++)
        t.add(plain_word(i * 3));
    for (uint32_t n = 0; n < 500; n += 37)
        EXPECT_EQ(word_text(&t.d, n), plain_word(n * 3));
    WordCursor c;
    EXPECT_EQ(word_at(&t.d, 500, &c), 0);
    ASSERT_EQ(word_at(&t.d, 499, &c), 1);
    EXPECT_EQ(next_word(&t.d, &c), 0);
    EXPECT_STREQ(c.text, "");
    EXPECT_EQ(c.length, 0u);
}

TEST(WordStore, BulkAddGivesTheSameWordsAsOneByOne)
{
    std::vector<std::string> input = {"pear", "Apple", "apple", "fig", "FIG", "kiwi", "date",
                                      std::string(32, 'x'), "", "apple pie", "Kiwi"};
    TestDictionary one, bulk;
    for (const auto &w : input)
        one.add(w);
    std::vector<const char *> list;
    for (const auto &w : input)
        list.push_back(w.c_str());
    bulk.add("Pear");
    ASSERT_EQ(add_words_bulk(&bulk.d, list.data(), static_cast<int>(list.size())), nullptr);
    EXPECT_EQ(all_words(bulk.d), all_words(one.d));
    EXPECT_TRUE(store_sound(bulk.d));
    EXPECT_EQ(bulk.d.spaced, 1u);
}

// The walk's order rule, built from lists given out of order on purpose:
// the first new byte decides between different letters, and a difference
// of case alone goes on to the rest of the word.
TEST(WordStore, CheckRefusesDisorderAndCaseTwinsWhereverTheyDiffer)
{
    struct Case {
        std::vector<const char *> words;
        const char *fault;   // null: sound
    };
    const Case cases[] = {
        {{"ab", "Ac", "b"}, nullptr},
        {{"Ac", "ab"}, "out of order"},
        {{"ab", "Ab"}, "case twins"},
        {{"cab", "caB", "cb"}, "case twins"},
        {{"cat", "caTs", "cau"}, nullptr},
        {{"cats", "caT"}, "out of order"},
        {{"b", "a"}, "out of order"},
    };
    for (const Case &c : cases) {
        TestDictionary t;
        ASSERT_EQ(build_dictionary(&t.d, c.words.data(), static_cast<int>(c.words.size())), nullptr);
        char message[200] = "";
        int result = dictionary_check(&t.d, message, sizeof message);
        if (!c.fault) {
            EXPECT_EQ(result, 0) << c.words[0] << ": " << message;
        } else {
            EXPECT_EQ(result, 1) << c.words[0];
            EXPECT_NE(strstr(message, c.fault), nullptr) << c.words[0] << ": " << message;
        }
    }
}
