// The candidate source's choice between the plain walks and the tables: a
// single look-up builds no tables, a run of look-ups builds them once they
// are repaid, and either way the rows, their order and the polls are the
// same.
#include "app/dictionary/anagram.h"
#include "app/dictionary/anagram_index.h"
#include "tests/search/search_test_support.h"

namespace {

// Three-letter and four-letter words over a few letters, in no order.
std::vector<std::string> mixed_words()
{
    std::vector<std::string> w;
    const char *abc = "abcdeilnorst";
    for (int i = 0; i < 3000; i++) {
        std::string s;
        int n = 3 + i % 3;
        for (uint32_t k = 0, x = i * 7919u + 13; k < static_cast<uint32_t>(n); k++, x = x * 31 + 7)
            s += abc[(x >> 3) % 12];
        w.push_back(s);
    }
    return w;
}

struct Answer {
    std::vector<std::string> rows;
    int result;
    int polls;
    bool operator==(const Answer &) const = default;
};

class CandidateTest : public SearchTest {
protected:
    const Dictionary *main() { return &dictionary_set.slots[0].dictionary; }

    Answer solve_across(const char *pattern)
    {
        grid_init();
        install_poll_hooks();
        put_across(0, 0, pattern);
        mark_rectangle(0, 0, static_cast<int>(strlen(pattern)) - 1, 0);
        int result = solve();
        return {solution_rows(), result, polls.polls};
    }

    Answer anagram(const char *letters)
    {
        install_poll_hooks();
        list_clear();
        list_columns = 1;
        find_anagrams(letters);
        return {solution_rows(), 0, polls.polls};
    }
};

TEST_F(CandidateTest, SingleLookUpsWalkTheStoreUntilTheTablesAreRepaid)
{
    use_dictionaries({{"Main", mixed_words()}});
    const char *patterns[] = {"?a??", "b???", "????", "?o?", "s?i?t", "ca?"};
    std::vector<Answer> plain;
    search_fast_path = false;
    for (const char *p : patterns)
        plain.push_back(solve_across(p));
    search_fast_path = true;
    candidates_patience = 2;
    // A known first letter walks a run of the store, an all-empty or a
    // full-scan pattern all of it: neither builds tables alone.
    EXPECT_EQ(solve_across("b???"), plain[1]);
    EXPECT_EQ(search_tables_built(main()), nullptr);
    EXPECT_EQ(solve_across("?a??"), plain[0]);
    EXPECT_EQ(search_tables_built(main()), nullptr);
    // Once about two whole walks are made, the tables answer.
    for (int round = 0; round < 3; round++)
        for (size_t i = 0; i < std::size(patterns); i++)
            EXPECT_EQ(solve_across(patterns[i]), plain[i]) << patterns[i] << " round " << round;
    EXPECT_NE(search_tables_built(main()), nullptr);
    // An edit starts the count again: the tables built on the old words
    // are not used, and the plain walk answers for the new ones.
    Dictionary *d = &dictionary_set.slots[0].dictionary;
    ASSERT_EQ(add_word(d, "zaza"), nullptr);
    Answer after = solve_across("?a??");
    EXPECT_EQ(search_tables_built(main()), nullptr);
    search_fast_path = false;
    EXPECT_EQ(solve_across("?a??"), after);
    EXPECT_EQ(after.rows.size(), plain[0].rows.size() + 1);
}

TEST_F(CandidateTest, AnagramScansBuildTheirTablesOnlyAfterRepeatedScans)
{
    use_dictionaries({{"Main", mixed_words()}, {"Two", {"lisent", "silent", "tinsel"}}});
    const char *queries[] = {"listen", "ab*", "tsil", "r**e", "olos"};
    std::vector<Answer> plain;
    search_fast_path = false;
    for (const char *q : queries)
        plain.push_back(anagram(q));
    search_fast_path = true;
    candidates_patience = 3;
    for (int round = 0; round < 2; round++)
        for (size_t i = 0; i < std::size(queries); i++) {
            int scans = round * 5 + static_cast<int>(i);
            EXPECT_EQ(anagram_tables_built(main()) != nullptr, scans > 3) << queries[i];
            EXPECT_EQ(anagram(queries[i]), plain[i]) << queries[i] << " round " << round;
        }
    EXPECT_EQ(plain[0].rows, (std::vector<std::string>{"lisent", "silent", "tinsel"}));
}

TEST_F(CandidateTest, AFillOfCrossingPartsBuildsTheTablesUpFront)
{
    use_dictionaries({{"Main", mixed_words()}});
    candidates_patience = 1000;
    mark_cells({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}});
    search_fast_path = false;
    int plain_result = solve();
    std::vector<std::string> plain_rows = solution_rows();
    EXPECT_EQ(search_tables_built(main()), nullptr);
    search_fast_path = true;
    EXPECT_EQ(solve(), plain_result);
    EXPECT_EQ(solution_rows(), plain_rows);
    EXPECT_NE(search_tables_built(main()), nullptr);
    EXPECT_GT(plain_rows.size(), 100u);
}

}  // namespace
