// The index rules that only particular word arrangements reach: anchors
// whose count byte grows to 8 or more, single-word blocks, and deletions
// that would leave a neighbour unencodable.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "tests/dictionary/store_test_util.h"

namespace {

std::vector<std::string> numbered(const char *prefix, int count)
{
    std::vector<std::string> out;
    for (int i = 0; i < count; i++) {
        char w[16];
        snprintf(w, sizeof w, "%s%03d", prefix, i);
        out.push_back(w);
    }
    return out;
}

std::vector<std::string> lettered(const std::string &prefix, int count)
{
    std::vector<std::string> out;
    for (int i = 0; i < count; i++)
        out.push_back(prefix + static_cast<char>('a' + i / 26) + static_cast<char>('a' + i % 26));
    return out;
}

void build(TestDictionary &t, const std::vector<std::string> &words)
{
    std::vector<const char *> list;
    for (const auto &w : words)
        list.push_back(w.c_str());
    ASSERT_EQ(build_dictionary(&t.d, list.data(), static_cast<int>(list.size())), nullptr);
    ASSERT_TRUE(store_sound(t.d));
    ASSERT_EQ(all_words(t.d), words);
}

std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> out;
    for (const auto &p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::string key(const Dictionary &d, uint32_t entry) { return std::string(entry_key(&d, entry), 8).c_str(); }

}  // namespace

// Block 1 is anchored on "abcdefghij" (count 3 after "abc"); the words up to
// "abd" share 10 bytes or more. Adding "abcdefghi" before the anchor gives
// it a count of 9, so the entry moves on to "abd"; block 0, now 161 words,
// splits on the new word. "abd" is left alone in its block, and deleting it
// removes its entry.
TEST(StoreIndex, AnchorPushedPastCountEightMovesOnThenSingleBlockDeletes)
{
    TestDictionary t;
    build(t, join({numbered("aa", 79), {"abc", "abcdefghij"}, lettered("abcdefghij", 78), {"abd", "abe"},
                   lettered("b", 80)}));
    ASSERT_EQ(key(t.d, 1), "abcdefgh");
    ASSERT_EQ(key(t.d, 2), "abe");
    uint32_t entries = t.d.noindex;
    t.add("abcdefghi");
    ASSERT_TRUE(store_sound(t.d));
    ASSERT_EQ(t.d.noindex, entries + 1);
    EXPECT_EQ(key(t.d, 1), "abcdefgh");
    EXPECT_EQ(entry_first(&t.d, 1), 80u);
    EXPECT_EQ(key(t.d, 2), "abd");
    EXPECT_EQ(entry_first(&t.d, 3) - entry_first(&t.d, 2), 1u);
    EXPECT_EQ(delete_word(&t.d, "abd"), 1);
    EXPECT_TRUE(store_sound(t.d));
    EXPECT_EQ(t.d.noindex, entries);
    EXPECT_EQ(key(t.d, 2), "abe");
}

TEST(StoreIndex, AnchorWithoutSuccessorIsDeleted)
{
    TestDictionary t;
    build(t, join({numbered("aa", 79), {"abc", "abcdefghij"}, lettered("abcdefghij", 79), {"abe"},
                   lettered("b", 80)}));
    ASSERT_EQ(key(t.d, 2), "abe");
    uint32_t entries = t.d.noindex;
    t.add("abcdefghi");
    EXPECT_TRUE(store_sound(t.d));
    // The old entry 1 went; the split of the grown block 0 made a new one
    // on the added word.
    ASSERT_EQ(t.d.noindex, entries);
    EXPECT_EQ(entry_first(&t.d, 1), 80u);
    EXPECT_EQ(key(t.d, 2), "abe");
    EXPECT_EQ(entry_first(&t.d, 2), 161u);
}

// Through letter case a deletion can leave an anchor with a count of 8 or
// more: "aaaaaaaaa" < "AAAAAAAAAb" < "aaaaaaaaac".
TEST(StoreIndex, DeletionBeforeAnAnchorReanchorsIt)
{
    TestDictionary t;
    build(t, join({numbered("aa", 78), {"aaaaaaaaa", "AAAAAAAAAb", "aaaaaaaaac"},
                   lettered("aaaaaaaaac", 10), {"aab"}, lettered("b", 80)}));
    ASSERT_EQ(key(t.d, 1), "aaaaaaaa");
    EXPECT_EQ(delete_word(&t.d, "AAAAAAAAAb"), 1);
    EXPECT_TRUE(store_sound(t.d));
    EXPECT_EQ(key(t.d, 1), "aab");
}

TEST(StoreIndex, DeletedAnchorWhoseFollowerCannotAnchor)
{
    TestDictionary t;
    build(t, join({numbered("aa", 79), {"aaaaaaaaa", "AAAAAAAAAb", "aaaaaaaaac"},
                   lettered("aaaaaaaaac", 10), {"aab"}, lettered("b", 80)}));
    ASSERT_EQ(key(t.d, 1), "AAAAAAAA");
    EXPECT_EQ(delete_word(&t.d, "AAAAAAAAAb"), 1);
    EXPECT_TRUE(store_sound(t.d));
    EXPECT_EQ(key(t.d, 1), "aab");
}

TEST(StoreIndex, DeletingTheLastWordThatAnchorsItsBlock)
{
    TestDictionary t;
    build(t, numbered("w", 81));
    ASSERT_EQ(t.d.noindex, 2u);
    ASSERT_EQ(entry_first(&t.d, 1), 80u);
    EXPECT_EQ(delete_word(&t.d, "w080"), 1);
    EXPECT_EQ(t.d.noindex, 1u);
    EXPECT_TRUE(store_sound(t.d));
}

// "!" needs an escape pair: 16 of them share a prefix with the next word,
// which alone (17 escapes) needs more than 33 bytes. Deleting the first
// word is refused and changes nothing.
TEST(StoreIndex, DeletionThatWouldLeaveAnUnencodableFollowerIsRefused)
{
    TestDictionary t;
    std::string d16(16, '!'), x17(17, '!');
    t.add(d16);
    t.add(x17);
    ASSERT_EQ(t.d.words, 2u);
    EXPECT_EQ(delete_word(&t.d, d16.c_str()), 0);
    EXPECT_EQ(all_words(t.d), (std::vector<std::string>{d16, x17}));
    EXPECT_TRUE(store_sound(t.d));
    EXPECT_EQ(delete_word(&t.d, x17.c_str()), 1);
    EXPECT_EQ(delete_word(&t.d, d16.c_str()), 1);
}
