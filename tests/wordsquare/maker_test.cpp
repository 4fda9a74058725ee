// The Wordsquare maker: placement, undo with shared letters, directions,
// the stop message, random dictionary words and a fixed-seed grid.
#include <cstring>

#include "app/dictionary/search_dictionaries.h"
#include "app/wordsquare/directions.h"
#include "app/wordsquare/maker.h"
#include "toolkit/messages/error.h"
#include "toolkit/text/cp1252.h"
#include "tests/wordsquare/wordsquare_test_support.h"

#define EXPECTED_NEW_GRID "cherryf\nmangofi\nolivefr\nmeloniy\nnolfire\noakmbww\n"
#define EXPECTED_MAKE_GRID "qseedcee\nmuxtdxrw\neqiihakt\nrarluxbe\neghqlsht\nypswordt\n"

namespace {

// Whether a placed record's letters are in the grid, lower-cased.
bool letters_in_grid(const word_record *w)
{
    if (w->col < 0)
        return false;
    for (int i = 0; w->text[i]; i++) {
        char want = static_cast<char>(cp_lower(static_cast<unsigned char>(w->text[i])));
        if (grid.letters[grid_cell(w->col + i * w->col_step, w->row + i * w->row_step)] != want)
            return false;
    }
    return true;
}

TEST_F(WordsquareTest, EmptyListFillsTheGridWithRandomLowerCaseLetters)
{
    set_size(7, 5);
    make_from_list_start();
    make_from_list_run();
    for (int c = 0; c < 7; c++)
        for (int r = 0; r < 5; r++) {
            int cell = grid_cell(c, r);
            EXPECT_TRUE(grid.letters[cell] >= 'a' && grid.letters[cell] <= 'z');
            EXPECT_EQ(grid.coverage[cell], 0);
        }
}

TEST_F(WordsquareTest, OnlyDownRunsDownwardsAndLettersAreLowerCase)
{
    set_size(6, 6);
    grid.fill_directions = 8;
    for (int round = 0; round < 20; round++) {
        list_clear();
        add_words({"TaLe"});
        make_from_list_start();
        make_from_list_run();
        const word_record *w = list_word(0);
        EXPECT_EQ(w->col_step, 0);
        EXPECT_EQ(w->row_step, 1);
        EXPECT_LE(w->row, 2);
        EXPECT_TRUE(letters_in_grid(w));
    }
    grid.fill_directions = 0;   // counts as 15: right, down-right, up-right, down
    EXPECT_EQ(allowed_directions(), 15u);
    for (int round = 0; round < 20; round++) {
        list_clear();
        add_words({"CAT", "Dog", "emu"});
        make_from_list_start();
        make_from_list_run();
        for (int i = 0; i < 3; i++) {
            const word_record *w = list_word(i);
            EXPECT_TRUE(letters_in_grid(w)) << w->text;
            EXPECT_TRUE(w->col_step == 1 || (w->col_step == 0 && w->row_step == 1)) << w->text;
        }
    }
}

TEST_F(WordsquareTest, UndoLeavesLettersThatAnotherWordStillUses)
{
    // The third word can never fit, so the search tries every placement of
    // the first two and undoes each; the grid must always hold exactly the
    // letters of the words placed so far.
    set_size(4, 4);
    grid.fill_directions = 255;
    clear_wordsquare_area();
    add_words({"ab", "ba", "abcdefgh"});
    static int shared_seen;
    shared_seen = 0;
    polls.on_poll = [] {
        if (grid.word_count == 0)
            return;
        int letters = 0, total = 0;
        for (int c = 0; c < 4; c++)
            for (int r = 0; r < 4; r++) {
                int cell = grid_cell(c, r);
                EXPECT_EQ(grid.coverage[cell] > 0, grid.letters[cell] != ' ');
                letters += grid.letters[cell] != ' ';
                total += grid.coverage[cell];
                shared_seen += grid.coverage[cell] == 2;
            }
        EXPECT_LE(letters, total);
    };
    EXPECT_FALSE(fit_word(0));
    EXPECT_GT(shared_seen, 0);
    for (int c = 0; c < 4; c++)
        for (int r = 0; r < 4; r++) {
            EXPECT_EQ(grid.letters[grid_cell(c, r)], ' ');
            EXPECT_EQ(grid.coverage[grid_cell(c, r)], 0);
        }
}

TEST_F(WordsquareTest, TwentyThousandWordsFitWithoutExhaustingTheStack)
{
    set_size(127, 127);
    for (int i = 0; i < 20000; i++)
        ASSERT_EQ(list_add_word(-1, -1, -1, -1, i % 2 ? "ab" : "ba"), nullptr);
    clear_wordsquare_area();
    EXPECT_TRUE(fit_word(0));
    EXPECT_TRUE(letters_in_grid(list_word(0)));
    EXPECT_TRUE(letters_in_grid(list_word(19999)));
}

TEST_F(WordsquareTest, StopAtWordSixNamesItAndKeepsTheFirstSix)
{
    set_size(15, 15);
    add_words({"one", "two", "three", "four", "five", "six", "seven", "eight", "nine"});
    grid_ui_hooks h = grid_hooks;
    h.show_progress = [](int n) {
        if (n == 6)
            set_stop();
    };
    grid_set_hooks(&h);
    make_from_list_start();
    make_from_list_run();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Fitted 6 words, up to seven");
    for (int i = 0; i < 6; i++)
        EXPECT_GE(list_word(i)->col, 0) << i;
    for (int i = 6; i < 9; i++)
        EXPECT_EQ(list_word(i)->col, -1) << i;
}

// Menu commands stay available while the search polls: one that empties
// the word list (a load, a new grid, a size change) ends the search there,
// as Stop would but without a message, and the grid it left is not filled.
TEST_F(WordsquareTest, CommandThatEmptiesTheListDuringTheSearchEndsIt)
{
    set_size(4, 4);
    grid.fill_directions = 255;
    add_words({"ab", "ba", "abcdefgh"});
    make_from_list_start();
    polls.on_poll = [] {
        if (polls.polls == 5)
            set_size(3, 3);   // discards the word list
    };
    make_from_list_run();
    EXPECT_EQ(grid.word_count, 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(polls.polls, 5);
    // The grid the command left is not filled with random letters.
    int spaces = 0;
    for (int c = 0; c < 3; c++)
        for (int r = 0; r < 3; r++)
            spaces += grid.letters[grid_cell(c, r)] == ' ';
    EXPECT_GE(spaces, 5);
}

TEST_F(WordsquareTest, RandomWordsRotateAndFollowTheDrawOrder)
{
    use_dictionaries({{"A", {"alpha", "beta", "gamma"}}, {"B", {"one", "two", "three", "four", "five"}}});
    restart_dictionary_rotation();
    random_seed(99);
    int a = random_draw(), b = random_draw();
    int a2 = random_draw(), b2 = random_draw();
    random_seed(99);
    // After a restart the first word comes from the second dictionary.
    uint32_t k = ((static_cast<uint32_t>(a) + static_cast<uint32_t>(b) * 32768u) & 0xFFFFFFu) % 5;
    EXPECT_STREQ(random_dictionary_word(), word_text(search_dictionary(1), k));
    k = ((static_cast<uint32_t>(a2) + static_cast<uint32_t>(b2) * 32768u) & 0xFFFFFFu) % 3;
    EXPECT_STREQ(random_dictionary_word(), word_text(search_dictionary(0), k));
}

// The same seed gives the same grid in every build.
TEST_F(WordsquareTest, FixedSeedGivesTheCommittedGrid)
{
    set_size(8, 6);
    add_words({"quill", "mere", "grid", "word", "square", "seed"});
    random_seed(2024);
    make_from_list_start();
    make_from_list_run();
    std::string all;
    for (int r = 0; r < 6; r++)
        all += row_text(r) + "\n";
    EXPECT_EQ(all, EXPECTED_MAKE_GRID);
    for (int i = 0; i < 6; i++)
        EXPECT_TRUE(letters_in_grid(list_word(i))) << i;
}

// A list that makes the search back up many times (60 calls for six
// words), upper-case words, 0 as the direction set: the places and the
// grid are those of the plain recursive search with the same draws.
TEST_F(WordsquareTest, FixedSeedWithBacktrackingGivesTheRecursiveSearchesGrid)
{
    set_size(4, 5);
    grid.fill_directions = 0;
    add_words({"ease", "east", "seat", "a", "TEASE", "ease"});
    random_seed(96628787);
    make_from_list_start();
    make_from_list_run();
    std::string all;
    for (int r = 0; r < 5; r++)
        all += row_text(r) + "\n";
    EXPECT_EQ(all, "east\naeee\nsaaa\nests\naele\n");
    const int places[6][4] = {{1, 1, 0, 1}, {0, 0, 1, 0}, {2, 0, 0, 1}, {0, 4, 1, 0}, {3, 0, 0, 1}, {0, 0, 0, 1}};
    for (int i = 0; i < 6; i++) {
        const word_record *w = list_word(i);
        EXPECT_EQ((std::vector<int>{w->col, w->row, w->col_step, w->row_step}),
                  std::vector<int>(places[i], places[i] + 4))
            << i;
    }
}

TEST_F(WordsquareTest, NewFromDictionaryEndsWithAnEmptyListAndAFullGrid)
{
    use_dictionaries({{"MainDict", {"apple", "pear", "plum", "fig", "kiwi", "lime", "lemon", "mango"}}});
    set_size(6, 6);
    ASSERT_EQ(make_from_dictionary_start(), nullptr);
    make_words_from_dictionary();
    int placed = 0;
    for (int i = 0; i < grid.word_count; i++)
        placed += letters_in_grid(list_word(i));
    EXPECT_GT(placed, 2);
    finish_making_from_dictionary();
    EXPECT_EQ(grid.word_count, 0);
    for (int c = 0; c < 6; c++)
        for (int r = 0; r < 6; r++)
            EXPECT_NE(grid.letters[grid_cell(c, r)], ' ');
}

TEST_F(WordsquareTest, FixedSeedGivesTheCommittedNewGrid)
{
    use_dictionaries({{"MainDict", {"apple", "pear", "plum", "fig", "kiwi", "lime", "lemon", "mango", "peach",
                                    "cherry", "grape", "melon", "olive", "quince", "date", "guava"}},
                      {"Extra", {"oak", "ash", "elm", "yew", "fir"}}});
    set_size(7, 6);
    random_seed(77);
    ASSERT_EQ(make_from_dictionary_start(), nullptr);
    make_from_dictionary_run();
    std::string all;
    for (int r = 0; r < 6; r++)
        all += row_text(r) + "\n";
    EXPECT_EQ(all, EXPECTED_NEW_GRID);
}

TEST_F(WordsquareTest, NewWithoutADictionaryChangesNothing)
{
    use_dictionaries({});
    set_rows({"abc", "def"});
    add_words({"kept"});
    const error_block *e = make_from_dictionary_start();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 528);
    EXPECT_EQ(grid.word_count, 1);
    EXPECT_EQ(row_text(0) + row_text(1), "abcdef");
}

TEST_F(WordsquareTest, NewWithAnEmptyDictionaryEnds)
{
    use_dictionaries({{"MainDict", {}}});
    ASSERT_EQ(make_from_dictionary_start(), nullptr);
    make_from_dictionary_run();
    EXPECT_EQ(grid.word_count, 0);
}

}  // namespace
