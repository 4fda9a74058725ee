// Anagrams: exact letters, "*" wildcards, the sorted-letters rule, and the
// fast look-up against the plain scan.
#include <random>

#include "app/dictionary/anagram.h"
#include "tests/search/search_test_support.h"

namespace {

std::vector<std::string> anagrams(const char *letters)
{
    list_clear();
    list_columns = 1;
    find_anagrams(letters);
    return solution_rows();
}

using words = std::vector<std::string>;

TEST_F(SearchTest, AnagramsOfExactLettersIgnoreCase)
{
    use_dictionaries({{"Main", {"act", "cat", "Tac", "cast", "acts", "at", "tact"}}});
    for (bool fast : {false, true}) {
        search_fast_path = fast;
        EXPECT_EQ(anagrams("TCA"), (words{"act", "cat", "Tac"}));
        EXPECT_EQ(anagrams("stac"), (words{"acts", "cast"}));
        EXPECT_EQ(anagrams("tca"), (words{"act", "cat", "Tac"}));
        EXPECT_EQ(anagrams("xyz"), words{});
    }
}

TEST_F(SearchTest, AnagramWildcardsStandForMissingLetters)
{
    use_dictionaries({{"Main", {"act", "arc", "bat", "car", "cat", "cot", "dog", "tic"}}});
    for (bool fast : {false, true}) {
        search_fast_path = fast;
        EXPECT_EQ(anagrams("ca*"), (words{"act", "arc", "car", "cat"}));
        EXPECT_EQ(anagrams("c**"), (words{"act", "arc", "car", "cat", "cot", "tic"}));
        EXPECT_EQ(anagrams("***"), (words{"act", "arc", "bat", "car", "cat", "cot", "dog", "tic"}));
    }
}

TEST_F(SearchTest, CharactersBelowTheStarTakeItFirst)
{
    use_dictionaries({{"Main", {"it's", "tis's"}}});
    for (bool fast : {false, true}) {
        search_fast_path = fast;
        EXPECT_EQ(anagrams("tis*"), (words{"it's"}));
        // The apostrophe meets the "*" before the given apostrophe, so the
        // "s" finds nothing left.
        EXPECT_EQ(anagrams("'ti*"), words{});
        EXPECT_EQ(anagrams("'tis"), (words{"it's"}));
    }
}

TEST_F(SearchTest, AnagramInTwoDictionariesAndTheMaximum)
{
    use_dictionaries({{"A", {"tea", "eat", "ate"}}, {"B", {"eta", "tea"}}});
    EXPECT_EQ(anagrams("tae"), (words{"ate", "eat", "tea", "eta", "tea"}));
    maximum_solutions = 2;
    EXPECT_EQ(anagrams("tae"), (words{"ate", "eat", "tea"}));
}

TEST_F(SearchTest, FastAnagramsMatchTheScan)
{
    std::mt19937 rng(11);
    const char *pool = "aeinrstlAE' -";
    std::vector<std::string> dict;
    for (int i = 0; i < 4000; i++) {
        std::string w;
        int n = 1 + static_cast<int>(rng() % 7);
        for (int k = 0; k < n; k++)
            w += pool[rng() % 13];
        if (w.front() != ' ')
            dict.push_back(w);
    }
    use_dictionaries({{"Main", dict}, {"Small", words(dict.begin(), dict.begin() + 300)}});
    for (int q = 0; q < 300; q++) {
        std::string letters;
        int n = 1 + static_cast<int>(rng() % 7);
        for (int k = 0; k < n; k++)
            letters += rng() % 6 == 0 ? '*' : pool[rng() % 13];
        search_fast_path = false;
        words plain = anagrams(letters.c_str());
        search_fast_path = true;
        EXPECT_EQ(anagrams(letters.c_str()), plain) << letters;
        if (q % 10)
            continue;
        // A Stop already set ends both at the same word (the 2049th).
        set_stop();
        search_fast_path = false;
        words plain_stopped = anagrams(letters.c_str());
        search_fast_path = true;
        EXPECT_EQ(anagrams(letters.c_str()), plain_stopped) << letters;
        EXPECT_LE(plain_stopped.size(), plain.size()) << letters;
        clear_stop();
    }
}

}  // namespace
