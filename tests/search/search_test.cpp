// The pattern search: the three ways a part is matched, crossing parts,
// the maximum, polling and the stop flag, applying a solution.
#include <algorithm>
#include <random>

#include "tests/search/search_test_support.h"

namespace {

const std::vector<std::string> small_words = {"cat", "cot", "cut", "act", "tact", "coat", "cast", "ice cream",
                                              "icecream", "ice", "tic", "tot", "oat", "arc", "car"};

TEST_F(SearchTest, CompletePatternIsFoundOncePerDictionary)
{
    use_dictionaries({{"One", small_words}, {"Two", {"dog", "cat"}}, {"Three", {"cot"}}});
    put_across(0, 0, "CAT");
    mark_rectangle(0, 0, 2, 0);
    EXPECT_EQ(solve(), 0);
    ASSERT_EQ(grid.word_count, 2);
    // "cat" is word 4 of the first dictionary (act, arc, car, cast, cat).
    EXPECT_EQ(solution_codes(), (std::vector<uint32_t>{solution_code(0, 4), solution_code(1, 0)}));
    EXPECT_EQ(solution_rows(), (std::vector<std::string>{"cat", "cat"}));
}

TEST_F(SearchTest, StoredSpacesCountInTheFullScanButNotInThePrefixSearch)
{
    use_dictionaries({{"Main", small_words}});
    // First letter after an empty cell: the full scan, "ice cream" 9 long.
    put_across(0, 0, "?ce?cream");
    mark_rectangle(0, 0, 8, 0);
    solve();
    EXPECT_EQ(solution_rows(), (std::vector<std::string>{"ice cream"}));
    grid_init();
    put_across(0, 0, "?cecream");
    mark_rectangle(0, 0, 7, 0);
    solve();
    EXPECT_EQ(solution_rows(), (std::vector<std::string>{"icecream"}));
    // Known first letter, and no letter at all: the prefix search, 8 long.
    for (const char *start : {"i???????", "????????"}) {
        grid_init();
        put_across(0, 0, start);
        mark_rectangle(0, 0, 7, 0);
        solve();
        EXPECT_EQ(solution_rows(), (std::vector<std::string>{"ice cream", "icecream"})) << start;
    }
    grid_init();
    put_across(0, 0, "i????????");
    mark_rectangle(0, 0, 8, 0);
    solve();
    EXPECT_EQ(grid.word_count, 0);
}

TEST_F(SearchTest, AFullScanWordWithASpaceKeepsEveryLetterInItsOwnCell)
{
    // "ice cream" fits "?ce?cream" with its space on the empty fourth cell;
    // written into the grid it must leave that cell empty and the known
    // letters where they are, so the down part through "r" sees the "r".
    use_dictionaries({{"Main", {"ice cream", "eat", "ram", "rat"}}});
    put_across(0, 0, "?ce?cream");
    mark_cells({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {5, 1}, {5, 2}});
    for (bool fast : {false, true}) {
        search_fast_path = fast;
        solve();
        ASSERT_EQ(part_count, 2);
        EXPECT_EQ(solution_rows(), (std::vector<std::string>{"ice cream ram", "ice cream rat"})) << fast;
    }
    apply_solution(1, 4);
    std::string across, down;
    for (int i = 0; i < 9; i++)
        across += static_cast<char>(grid.letters[grid_cell(i, 0)]);
    for (int i = 0; i < 3; i++)
        down += static_cast<char>(grid.letters[grid_cell(5, i)]);
    EXPECT_EQ(across, "ice cream");
    EXPECT_EQ(down, "rat");
    // Into a part of its letters alone the same entry goes without a gap.
    grid_init();
    mark_rectangle(0, 0, 7, 0);
    solve();
    apply_solution(0, 4);
    across.clear();
    for (int i = 0; i < 8; i++)
        across += static_cast<char>(grid.letters[grid_cell(i, 0)]);
    EXPECT_EQ(across, "icecream");
}

TEST_F(SearchTest, CrossingPartsAgreeOnTheSharedCellAndCellsAreRestored)
{
    use_dictionaries({{"Main", small_words}});
    // An across part in row 0 and a down part in column 0 share (0, 0).
    mark_cells({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}});
    put_across(1, 1, "??");   // inside the rectangle, not marked
    EXPECT_GE(solve(), 0);
    ASSERT_EQ(part_count, 2);
    ASSERT_GT(grid.word_count, 5);
    for (const std::string &row : solution_rows()) {
        ASSERT_EQ(row.size(), 7u) << row;
        EXPECT_EQ(row[0], row[4]) << row;
    }
    for (int c = 0; c < 3; c++)
        for (int r = 0; r < 3; r++)
            EXPECT_EQ(grid.letters[grid_cell(c, r)], ' ') << c << "," << r;
}

TEST_F(SearchTest, LaterPartSeesTheEarlierCandidateNotAStaleOne)
{
    // Down part first (it starts in the top row), then the across part
    // through its middle: each across word must start with the down word's
    // middle letter, for every down word in turn.
    use_dictionaries({{"Main", {"bat", "cat", "oat", "tab", "aaa", "toe", "ate"}}});
    mark_cells({{1, 0}, {1, 1}, {1, 2}, {1, 1}, {2, 1}, {3, 1}});
    solve();
    ASSERT_EQ(part_count, 2);
    for (const std::string &row : solution_rows())
        EXPECT_EQ(row[1], row[4]) << row;
    EXPECT_EQ(grid.word_count, 13);   // 5 middles 'a' x 2, 'o' x 1, 't' x 2
}

TEST_F(SearchTest, MaximumTenListsElevenAndEnds)
{
    std::vector<std::string> words;
    for (char a = 'a'; a <= 'z'; a++)
        words.push_back(std::string("q") + a + "z");
    use_dictionaries({{"Main", words}});
    maximum_solutions = 10;
    mark_rectangle(0, 0, 2, 0);
    EXPECT_EQ(solve(), search_stopped);
    EXPECT_EQ(grid.word_count, 11);
}

TEST_F(SearchTest, AWordInTwoDictionariesIsListedTwiceInListOrder)
{
    use_dictionaries({{"A", {"abc", "tic"}}, {"B", {"tic", "tac"}}});
    put_across(0, 0, "t??");
    mark_rectangle(0, 0, 2, 0);
    solve();
    EXPECT_EQ(solution_rows(), (std::vector<std::string>{"tic", "tac", "tic"}));
    std::vector<uint32_t> codes = solution_codes();
    EXPECT_EQ(codes[0], solution_code(0, 1));
    EXPECT_EQ(codes[2], solution_code(1, 1));
}

// A dictionary of `count` three-letter words "a??" .. in order.
std::vector<std::string> numbered_words(int count)
{
    std::vector<std::string> w;
    for (int i = 0; i < count; i++) {
        std::string s = "b";
        s += static_cast<char>('a' + i / 676 % 26);
        s += static_cast<char>('a' + i / 26 % 26);
        s += static_cast<char>('a' + i % 26);
        w.push_back(s);
    }
    return w;
}

TEST_F(SearchTest, FullScanPollsEvery2049thWordAndStopKeepsWhatWasFound)
{
    use_dictionaries({{"Main", numbered_words(5000)}});
    for (bool fast : {false, true}) {
        search_fast_path = fast;
        grid_init();
        install_poll_hooks();
        clear_stop();
        put_across(0, 0, "?a??");   // first letter after an empty cell
        mark_rectangle(0, 0, 3, 0);
        solve();
        EXPECT_EQ(polls.polls, 2) << fast;   // words 2049 and 4098
        EXPECT_EQ(grid.word_count, 676) << fast;

        install_poll_hooks();
        polls.stop_at_poll = 1;
        EXPECT_EQ(solve(), search_stopped);
        // Words 0-2048 were visited: "baaa" to "bazz" are words 0-675.
        EXPECT_EQ(grid.word_count, 676) << fast;
        clear_stop();
        put_across(0, 0, "?d??");
        install_poll_hooks();
        polls.stop_at_poll = 1;
        EXPECT_EQ(solve(), search_stopped);
        EXPECT_EQ(grid.word_count, 2049 - 3 * 676) << fast;
        clear_stop();
    }
}

TEST_F(SearchTest, PrefixSearchReadsTheStopFlagAndPollsAfterLongWalks)
{
    use_dictionaries({{"Main", numbered_words(5000)}});
    for (bool fast : {false, true}) {
        search_fast_path = fast;
        grid_init();
        install_poll_hooks();
        clear_stop();
        maximum_solutions = 100000;
        mark_rectangle(0, 0, 3, 0);   // all empty: prefix search from word 0
        EXPECT_EQ(solve(), 0) << fast;
        EXPECT_EQ(grid.word_count, 5000) << fast;
        EXPECT_EQ(polls.polls, 1) << fast;   // it walked more than 8 words

        set_stop();   // set before the search: the walk ends at word 2049
        EXPECT_EQ(solve(), search_stopped);
        EXPECT_EQ(grid.word_count, 2049) << fast;
        EXPECT_EQ(polls.polls, 1) << fast;
        clear_stop();
    }
}

// Random crossing fills: the fast path lists exactly what the plain walks
// list, with the same result.
TEST_F(SearchTest, FastPathMatchesThePlainWalks)
{
    std::mt19937 rng(7);
    std::vector<std::string> words;
    const char *letters = "aeostrcnAET'";
    for (int i = 0; i < 1500; i++) {
        std::string w;
        int n = 2 + static_cast<int>(rng() % 5);
        for (int k = 0; k < n; k++)
            w += letters[rng() % (i % 7 ? 9 : 12)];
        words.push_back(w);
    }
    std::vector<std::string> spaced = {"ice cream", "a cat", "oat cake", "to a t"};
    int rounds_with_rows = 0;
    for (int round = 0; round < 24; round++) {
        bool with_spaces = round % 4 == 3;
        std::vector<std::string> second(words.begin(), words.begin() + 500);
        if (with_spaces)
            second.insert(second.end(), spaced.begin(), spaced.end());
        use_dictionaries({{"Main", words}, {"Second", second}});
        std::vector<std::string> results[2];
        int returned[2];
        for (int fast = 0; fast < 2; fast++) {
            std::mt19937 layout(round);
            grid_init();
            install_poll_hooks();
            maximum_solutions = 5000;
            int w = 2 + static_cast<int>(layout() % 4), h = 2 + static_cast<int>(layout() % 3);
            std::vector<std::pair<int, int>> cells;
            for (int c = 0; c < w; c++)
                cells.push_back({c, 0});
            for (int r = 1; r < h; r++)
                cells.push_back({static_cast<int>(layout() % w), r});
            for (int r = 1; r < h; r++)
                cells.push_back({0, r});
            for (auto [c, r] : cells)
                if (layout() % 4 == 0)
                    grid.letters[grid_cell(c, r)] = static_cast<uint8_t>("aeosT"[layout() % 5]);
            mark_cells(cells);
            search_fast_path = fast;
            returned[fast] = solve();
            results[fast] = solution_rows();
        }
        EXPECT_EQ(results[0], results[1]) << "round " << round;
        EXPECT_EQ(returned[0], returned[1]) << "round " << round;
        rounds_with_rows += !results[0].empty();
    }
    EXPECT_GT(rounds_with_rows, 12);
}

TEST_F(SearchTest, ApplyingASolutionWritesItsWordsOnlyForARealRow)
{
    use_dictionaries({{"Main", small_words}});
    mark_cells({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}});
    solve();
    ASSERT_GT(grid.word_count, 1);
    std::vector<std::string> rows = solution_rows();
    int before = grid.modified_count;
    apply_solution(grid.word_count, 4);   // below the last row
    apply_solution(0, 1);                  // not a Select click
    EXPECT_EQ(grid.letters[grid_cell(0, 0)], ' ');
    EXPECT_EQ(grid.modified_count, before);
    apply_solution(1, 4);
    std::string across, down;
    for (int i = 0; i < 3; i++) {
        across += static_cast<char>(grid.letters[grid_cell(i, 0)]);
        down += static_cast<char>(grid.letters[grid_cell(0, i)]);
    }
    EXPECT_EQ(across + " " + down, rows[1]);
    EXPECT_NE(grid.modified_count, before);
}

TEST_F(SearchTest, AnEditedDictionaryIsSearchedAsItIsNow)
{
    use_dictionaries({{"Main", {"bat", "cat", "rat"}}});
    put_across(0, 0, "?at");
    mark_rectangle(0, 0, 2, 0);
    solve();
    EXPECT_EQ(solution_rows(), (std::vector<std::string>{"bat", "cat", "rat"}));
    // Same count, same lengths, same index, and no edit notice (as after a
    // revert or a reload): the store itself must tell.
    Dictionary *d = &dictionary_set.slots[0].dictionary;
    EXPECT_EQ(delete_word(d, "cat"), 1);
    EXPECT_EQ(add_word(d, "hat"), nullptr);
    solve();
    EXPECT_EQ(solution_rows(), (std::vector<std::string>{"bat", "hat", "rat"}));
    EXPECT_EQ(delete_word(d, "hat"), 1);
    EXPECT_EQ(add_word(d, "mat"), nullptr);
    mark_slot_changed(0);
    solve();
    EXPECT_EQ(solution_rows(), (std::vector<std::string>{"bat", "mat", "rat"}));
}

TEST_F(SearchTest, PartLongerThanAnyWordOrWithANulCellTakesNone)
{
    // A cell holding a NUL byte (as a damaged grid file can bring) is a
    // character no word has: the complete part "ca\0" is not "ca".
    use_dictionaries({{"Main", {"ca", "cat"}}});
    put_across(0, 0, "ca");
    grid.letters[grid_cell(2, 0)] = 0;
    mark_rectangle(0, 0, 2, 0);
    solve();
    EXPECT_EQ(grid.word_count, 0);

    std::string long_word(31, 'a');
    use_dictionaries({{"Main", {long_word}}});
    set_size(40, 4);
    put_across(0, 0, (long_word + "aaaa").c_str());
    mark_rectangle(0, 0, 34, 0);
    solve();
    EXPECT_EQ(grid.word_count, 0);
}

}  // namespace
