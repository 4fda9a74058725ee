// The Wordsquare solver: longest words at least min_word_length long,
// what ends a run, case, both directions, sorting, stop, highlighting, and
// the trie against the plain dictionary test.
#include <random>

#include "app/wordsquare/lexicon.h"
#include "app/wordsquare/solver.h"
#include "toolkit/messages/error.h"
#include "tests/wordsquare/wordsquare_test_support.h"

namespace {

struct found {
    int col, row, col_step, row_step;
    std::string text;
    bool operator==(const found &) const = default;
};

std::vector<found> solve_grid()
{
    EXPECT_EQ(solve_wordsquare_start(), nullptr);
    solve_wordsquare_run();
    std::vector<found> out;
    for (int i = 0; i < grid.word_count; i++) {
        const word_record *w = list_word(i);
        out.push_back({w->col, w->row, w->col_step, w->row_step, w->text});
    }
    return out;
}

// Equal texts come in no particular order: order them by place.
std::vector<found> by_place(std::vector<found> f)
{
    auto key = [](const found &x) { return std::make_tuple(x.text, x.col, x.row, x.col_step, x.row_step); };
    std::sort(f.begin(), f.end(), [&](const found &x, const found &y) { return key(x) < key(y); });
    return f;
}

std::ostream &operator<<(std::ostream &o, const found &f)
{
    return o << f.text << "@" << f.col << "," << f.row << "/" << f.col_step << "," << f.row_step;
}

TEST_F(WordsquareTest, LongestWordAtLeastTheMinimum)
{
    use_dictionaries({{"MainDict", {"cat", "cats"}}});
    set_rows({"catsx", "99999"});
    grid.min_word_length = 3;
    EXPECT_EQ(solve_grid(), (std::vector<found>{{0, 0, 1, 0, "cats"}}));
    grid.min_word_length = 5;
    EXPECT_EQ(solve_grid(), std::vector<found>{});
}

TEST_F(WordsquareTest, FilledHighlightedStarAndDigitEndRuns)
{
    use_dictionaries({{"MainDict", {"cat", "cats"}}});
    grid.min_word_length = 3;
    set_rows({"cats", "9999", "cat*", "9999", "cat1", "9999", "cats", "9999", "cats"});
    grid.attributes[grid_cell(3, 6)] = cell_filled;
    grid.attributes[grid_cell(3, 8)] = cell_marked;
    std::vector<found> f = by_place(solve_grid());
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0].text, "cat");
    EXPECT_EQ(f[3].text, "cat");
    EXPECT_EQ(f[4], (found{0, 0, 1, 0, "cats"}));
    // A highlighted cell stays marked after the solve; coverage is cleared.
    EXPECT_EQ(grid.attributes[grid_cell(3, 8)] & cell_state_mask, cell_marked);
}

TEST_F(WordsquareTest, UpperCaseLettersAreFoundInLowerCase)
{
    use_dictionaries({{"MainDict", {"Cats"}}});
    grid.min_word_length = 3;
    set_rows({"CATS", "9999"});
    EXPECT_EQ(solve_grid(), (std::vector<found>{{0, 0, 1, 0, "cats"}}));
}

TEST_F(WordsquareTest, PalindromeIsFoundFromBothEndsAndTheListIsSorted)
{
    use_dictionaries({{"MainDict", {"level", "Zebra", "apple", "ice cream"}}});
    grid.min_word_length = 3;
    set_rows({"level", "zebra", "APPLE", "icecr", "99999"});
    std::vector<found> f = solve_grid();
    std::vector<std::string> texts;
    for (const found &x : f)
        texts.push_back(x.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"apple", "level", "level", "zebra"}));
    EXPECT_TRUE((f[1] == found{0, 0, 1, 0, "level"} && f[2] == found{4, 0, -1, 0, "level"}) ||
                (f[2] == found{0, 0, 1, 0, "level"} && f[1] == found{4, 0, -1, 0, "level"}));
    // A stored entry with a space matches the run of its letters.
    set_rows({"icecream", "99999999"});
    EXPECT_EQ(solve_grid(), (std::vector<found>{{0, 0, 1, 0, "icecream"}}));
}

TEST_F(WordsquareTest, NoDictionaryGivesAnErrorAndKeepsTheList)
{
    use_dictionaries({});
    add_words({"kept"});
    const error_block *e = solve_wordsquare_start();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 528);
    EXPECT_EQ(grid.word_count, 1);
}

TEST_F(WordsquareTest, StopEndsTheScanAfterTheCurrentCell)
{
    use_dictionaries({{"MainDict", {"cat"}}});
    grid.min_word_length = 3;
    set_rows({"cat", "cat", "cat"});
    polls.stop_at_poll = 1;   // the poll after cell (0, 0)
    std::vector<found> f = by_place(solve_grid());
    // Cell (0, 0) gives "cat" across and down-right; cell (0, 1) was the
    // last scanned.
    EXPECT_EQ(f, (std::vector<found>{{0, 0, 1, 0, "cat"}, {0, 0, 1, 1, "cat"}, {0, 1, 1, 0, "cat"}}));
}

TEST_F(WordsquareTest, HighlightsShareCellsAndTheDirtyRectangleCoversThem)
{
    set_size(6, 6);
    word_record a{1, 1, 1, 0, 0, "abc"}, b{2, 0, 0, 1, 0, "xby"};
    highlight_word(&a);
    highlight_word(&b);
    dirty_add_word(&a);
    dirty_add_word(&b);
    EXPECT_EQ(grid.coverage[grid_cell(2, 1)], 2);
    unhighlight_word(&a);
    EXPECT_EQ(grid.attributes[grid_cell(2, 1)] & cell_state_mask, cell_marked);
    EXPECT_EQ(grid.attributes[grid_cell(1, 1)] & cell_state_mask, cell_open);
    static int drawn[4];
    grid_ui_hooks h = grid_hooks;
    h.redraw_cells = [](int c0, int r0, int c1, int r1) {
        drawn[0] = c0, drawn[1] = r0, drawn[2] = c1, drawn[3] = r1;
    };
    grid_set_hooks(&h);
    dirty_redraw();
    EXPECT_EQ(std::vector<int>(drawn, drawn + 4), (std::vector<int>{1, 0, 3, 2}));
    EXPECT_EQ(wordsquare_dirty.col0, -1);
}

// The trie is built once and kept between solves: a word added to or
// deleted from a dictionary in use counts at the next solve.
TEST_F(WordsquareTest, SolveFollowsDictionaryEdits)
{
    use_dictionaries({{"MainDict", {"cat"}}});
    grid.min_word_length = 3;
    set_rows({"cats", "9999"});
    EXPECT_EQ(solve_grid(), (std::vector<found>{{0, 0, 1, 0, "cat"}}));
    Dictionary *d = &dictionary_set.slots[0].dictionary;
    ASSERT_EQ(add_word(d, "Cats"), nullptr);
    EXPECT_EQ(solve_grid(), (std::vector<found>{{0, 0, 1, 0, "cats"}}));
    EXPECT_EQ(delete_word(d, "cats"), 1);
    EXPECT_EQ(delete_word(d, "cat"), 1);
    EXPECT_EQ(solve_grid(), std::vector<found>{});
}

TEST_F(WordsquareTest, TrieFindsWhatThePlainTestFinds)
{
    std::mt19937 rng(5);
    std::vector<std::string> words;
    for (int i = 0; i < 3000; i++) {
        std::string w;
        int n = 1 + static_cast<int>(rng() % 7);
        for (int k = 0; k < n; k++)
            w += "etaoiETA' "[rng() % (i % 5 ? 5 : 10)];
        if (w.front() != ' ' && w.back() != ' ')
            words.push_back(w);
    }
    use_dictionaries({{"MainDict", words}, {"Other", {"zz", "qat"}}});
    set_size(24, 20);
    const char *freq = "eeeettaaoiEZQ*";
    for (int c = 0; c < 24; c++)
        for (int r = 0; r < 20; r++)
            grid.letters[grid_cell(c, r)] = static_cast<uint8_t>(freq[rng() % 14]);
    for (int min : {1, 3, 5}) {
        grid.min_word_length = min;
        lexicon_fast_path = false;
        std::vector<found> plain = solve_grid();
        lexicon_fast_path = true;
        std::vector<found> fast = solve_grid();
        EXPECT_EQ(plain.size(), fast.size());
        EXPECT_TRUE(by_place(plain) == by_place(fast)) << min;
        EXPECT_GT(fast.size(), 20u);
    }
}

}  // namespace
