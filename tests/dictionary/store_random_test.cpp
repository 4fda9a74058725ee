// Random additions and deletions against a model set ordered by the
// program's own comparison, with the invariant walk after every step.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>

#include "app/dictionary/dictionary.h"
#include "tests/dictionary/store_test_util.h"
#include "toolkit/text/cp1252.h"

namespace {

struct ProgramOrder {
    bool operator()(const std::string &a, const std::string &b) const
    {
        return compare_words(a.c_str(), b.c_str(), WORD_MAX, nullptr) < 0;
    }
};

// Words over a small alphabet so that prefixes are shared often (long
// shared prefixes, case variants, spaces and escapes all occur).
std::string random_word(std::mt19937 &rng, const std::string &alphabet, int longest)
{
    int length = 1 + static_cast<int>(rng() % longest);
    std::string w;
    for (int i = 0; i < length; i++)
        w += alphabet[rng() % alphabet.size()];
    return w;
}

void run(unsigned seed, const std::string &alphabet, int longest, int steps, int pool_size)
{
    std::mt19937 rng(seed);
    std::vector<std::string> pool;
    for (int i = 0; i < pool_size; i++)
        pool.push_back(random_word(rng, alphabet, longest));
    TestDictionary t;
    std::map<std::string, std::string, ProgramOrder> model;
    int refused = 0;
    for (int step = 0; step < steps; step++) {
        const std::string &w = pool[rng() % pool.size()];
        bool add = rng() % 100 < 60;
        if (add) {
            ASSERT_EQ(add_word(&t.d, w.c_str()), nullptr);
            WordCursor c;
            if (find_word(&t.d, w.c_str(), &c, nullptr) && w == c.text)
                model[w] = w;   // added, or replaced a case variant
        } else {
            if (delete_word(&t.d, w.c_str())) {
                ASSERT_EQ(model.erase(w), 1u) << w;
            } else if (model.count(w)) {
                refused++;   // a neighbour could not be re-encoded: nothing changed
            }
        }
        ASSERT_TRUE(store_sound(t.d)) << "step " << step << " word " << w;
        ASSERT_EQ(t.d.words, model.size()) << "step " << step;
    }
    EXPECT_LT(refused, steps / 100);
    std::vector<std::string> expected;
    for (auto &[key, spelling] : model)
        expected.push_back(spelling);
    EXPECT_EQ(all_words(t.d), expected);
    for (auto &[key, spelling] : model) {
        WordCursor c;
        ASSERT_EQ(find_word(&t.d, spelling.c_str(), &c, nullptr), 1) << spelling;
        unsigned flags = CMP_IGNORE_SPACES;
        ASSERT_EQ(find_word(&t.d, spelling.c_str(), nullptr, &flags), 1) << spelling;
    }
}

}  // namespace

TEST(WordStoreRandom, ShortWordsManyBlocks) { run(1, "abcdefghij", 6, 6000, 3000); }
TEST(WordStoreRandom, LongSharedPrefixesAndCase) { run(2, "aAbB", 14, 5000, 1500); }
TEST(WordStoreRandom, SpacesEscapesAndLongWords) { run(3, "ab -'!\xE9\xC9", 31, 3000, 800); }
// Many blocks of words sharing long prefixes that differ in case: anchors
// move, entries go, blocks split and merge.
TEST(WordStoreRandom, ManyBlocksOfLongCaseVariedPrefixes) { run(4, "aAbbbbbb", 16, 5000, 3000); }

// The fast find against a brute-force oracle: a query is found exactly when
// some stored word equals it ignoring spaces and case.
TEST(WordStoreRandom, FastFindMatchesAnOracle)
{
    std::mt19937 rng(5);
    TestDictionary t;
    for (int i = 0; i < 3000; i++)
        t.add(random_word(rng, "ab -'", 9));
    std::vector<std::string> stored = all_words(t.d);
    auto squeeze = [](const std::string &w) {
        std::string out;
        for (char c : w)
            if (c != ' ')
                out += static_cast<char>(cp_lower(static_cast<unsigned char>(c)));
        return out;
    };
    std::set<std::string> squeezed;
    for (const auto &w : stored)
        squeezed.insert(squeeze(w));
    int found = 0;
    for (int i = 0; i < 4000; i++) {
        std::string q = i % 2 ? random_word(rng, "aAb -'", 9) : squeeze(stored[rng() % stored.size()]);
        unsigned flags = CMP_IGNORE_SPACES;
        int result = find_word(&t.d, q.c_str(), nullptr, &flags);
        bool expected = !q.empty() && squeezed.count(squeeze(q)) > 0;
        ASSERT_EQ(result, expected ? 1 : 0) << "\"" << q << "\"";
        if (result) {
            ASSERT_EQ(squeeze(fast_find_spelling()), squeeze(q));
            found++;
        }
    }
    EXPECT_GT(found, 2000);
}

// The normal find against a scan of every word: a stored word is found with
// the cursor on it; otherwise the cursor rests on the greatest word below the
// query (word 0 when none), across block boundaries and shared keys.
TEST(WordStoreRandom, FindCursorMatchesAScan)
{
    std::mt19937 rng(6);
    TestDictionary t;
    for (int i = 0; i < 2000; i++)
        t.add(random_word(rng, "abAB c", 12));
    std::vector<std::string> stored = all_words(t.d);
    ASSERT_GT(t.d.noindex, 4u);
    for (int i = 0; i < 3000; i++) {
        std::string q = random_word(rng, "abAB c", 12);
        int below = -1, equal = -1;
        for (size_t k = 0; k < stored.size() && equal < 0; k++) {
            int order = compare_words(stored[k].c_str(), q.c_str(), WORD_MAX, nullptr);
            if (order < 0)
                below = static_cast<int>(k);
            else if (order == 0)
                equal = static_cast<int>(k);
            else
                break;
        }
        WordCursor c, expected;
        int result = find_word(&t.d, q.c_str(), &c, nullptr);
        ASSERT_EQ(result, equal >= 0 ? 1 : 0) << q;
        uint32_t want = static_cast<uint32_t>(equal >= 0 ? equal : below < 0 ? 0 : below);
        ASSERT_TRUE(word_at(&t.d, want, &expected));
        ASSERT_EQ(c.number, want) << q;
        ASSERT_STREQ(c.text, expected.text) << q;
        ASSERT_EQ(c.offset, expected.offset) << q;
        ASSERT_EQ(c.length, expected.length) << q;
    }
}
