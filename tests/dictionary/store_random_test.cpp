// Random additions and deletions against a model set ordered by the
// program's own comparison, with the invariant walk after every step.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "app/dictionary/dictionary.h"
#include "tests/dictionary/store_test_util.h"

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
