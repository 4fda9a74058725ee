// Autofill against an independent check: random grids (filled squares,
// bars, given letters, rectangles) with random dictionaries over a small
// alphabet, so that some grids have fills and some have none. Every fill
// is checked cell by cell by code that shares nothing with the engine;
// every "no fill" is confirmed by a plain ordered backtrack over the runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/autofill/autofill.h"
#include "app/dictionary/dictionary.h"
#include "app/dictionary/dictionary_set.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/random.h"
#include "app/grid/result_list.h"
#include "toolkit/text/cp1252.h"

namespace {

void use_dictionaries(const std::vector<std::vector<std::string>> &lists)
{
    dictionary_set_clear();
    for (size_t i = 0; i < lists.size(); i++) {
        DictionarySlot &s = dictionary_set.slots[i];
        snprintf(s.name, sizeof s.name, "D%zu", i);
        init_dictionary(&s.dictionary);
        std::vector<const char *> words;
        for (const std::string &w : lists[i])
            words.push_back(w.c_str());
        ASSERT_EQ(add_words_bulk(&s.dictionary, words.data(), static_cast<int>(words.size())), nullptr);
        s.loaded = 1;
        dictionary_set.count = static_cast<int>(i + 1);
    }
    for (size_t i = 0; i < lists.size(); i++)
        ASSERT_EQ(document_list_add(static_cast<int>(i)), nullptr);
}

std::string fold(const std::string &word)
{
    std::string out;
    for (char c : word)
        if (c != ' ')
            out += static_cast<char>(cp_upper(static_cast<unsigned char>(c)));
    return out;
}

struct GridRun {
    std::vector<std::pair<int, int>> cells;
};

bool open_at(int c, int r) { return (grid.attributes[grid_cell(c, r)] & cell_state_mask) != cell_filled; }

// The runs of a rectangle, found the plain way: walk each row and column,
// cut at filled squares, bars and the rectangle's edge.
std::vector<GridRun> plain_runs(int c0, int r0, int c1, int r1)
{
    std::vector<GridRun> runs;
    auto flush = [&](GridRun &run) {
        if (run.cells.size() >= 2)
            runs.push_back(run);
        run.cells.clear();
    };
    for (int r = r0; r <= r1; r++) {
        GridRun run;
        for (int c = c0; c <= c1; c++) {
            if (!open_at(c, r) || (grid.attributes[grid_cell(c, r)] & bar_left))
                flush(run);
            if (open_at(c, r))
                run.cells.push_back({c, r});
        }
        flush(run);
    }
    for (int c = c0; c <= c1; c++) {
        GridRun run;
        for (int r = r0; r <= r1; r++) {
            if (!open_at(c, r) || (grid.attributes[grid_cell(c, r)] & bar_top))
                flush(run);
            if (open_at(c, r))
                run.cells.push_back({c, r});
        }
        flush(run);
    }
    return runs;
}

std::string run_text(const GridRun &run)
{
    std::string s;
    for (auto [c, r] : run.cells)
        s += static_cast<char>(grid.letters[grid_cell(c, r)]);
    return s;
}

// The validator: every run a word, no word twice, the given letters kept,
// nothing outside the runs touched.
void check_fill(const std::set<std::string> &words, const std::vector<uint8_t> &before, int c0, int r0, int c1,
                int r1)
{
    std::vector<GridRun> runs = plain_runs(c0, r0, c1, r1);
    std::set<std::string> seen;
    std::vector<bool> in_run(grid_plane_bytes, false);
    for (const GridRun &run : runs) {
        std::string text = run_text(run);
        std::string key = fold(text);
        EXPECT_EQ(key.size(), text.size()) << "a run holds an empty cell: " << text;
        EXPECT_TRUE(words.count(key)) << text << " is not a word";
        EXPECT_TRUE(seen.insert(key).second) << text << " is used twice";
        for (auto [c, r] : run.cells)
            in_run[grid_cell(c, r)] = true;
    }
    for (int i = 0; i < grid_plane_bytes; i++) {
        if (before[i] != ' ' || !in_run[i]) {
            ASSERT_EQ(grid.letters[i], before[i]) << "cell " << i / 128 << "," << i % 128 << " changed";
        }
    }
}

// The reference: runs in order, each tried with every word that agrees
// with the cells so far; true when some assignment fills them all.
bool plain_fill_exists(const std::vector<GridRun> &runs, const std::vector<std::string> &words, size_t k,
                       std::set<std::string> &used)
{
    if (k == runs.size())
        return true;
    std::string pattern = fold(run_text(runs[k]));
    for (const std::string &w : words) {
        if (w.size() != runs[k].cells.size() || used.count(w))
            continue;
        bool fits = true;
        for (size_t i = 0; i < w.size() && fits; i++)
            fits = pattern[i] == ' ' || pattern[i] == w[i];
        if (!fits)
            continue;
        std::vector<uint8_t> saved;
        for (size_t i = 0; i < w.size(); i++) {
            auto [c, r] = runs[k].cells[i];
            saved.push_back(grid.letters[grid_cell(c, r)]);
            grid.letters[grid_cell(c, r)] = static_cast<uint8_t>(w[i]);
        }
        used.insert(w);
        bool found = plain_fill_exists(runs, words, k + 1, used);
        used.erase(w);
        for (size_t i = 0; i < w.size(); i++) {
            auto [c, r] = runs[k].cells[i];
            grid.letters[grid_cell(c, r)] = saved[i];
        }
        if (found)
            return true;
    }
    return false;
}

class AutofillTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app_errors_register();
        grid_init();
        grid_set_hooks(nullptr);
        clear_stop();
    }
};

// A dictionary over the letters a-c, lengths 2-5, about half of all such
// strings, a few stored with a space or in upper case.
std::vector<std::string> random_words(std::mt19937 &rng, double share)
{
    std::vector<std::string> words;
    for (int n = 2; n <= 5; n++) {
        int total = 1;
        for (int i = 0; i < n; i++)
            total *= 3;
        for (int k = 0; k < total; k++) {
            if (static_cast<double>(rng() % 1000) >= share * 1000)
                continue;
            std::string w;
            for (int i = 0, v = k; i < n; i++, v /= 3)
                w += static_cast<char>('a' + v % 3);
            if (rng() % 10 == 0)
                w[0] = static_cast<char>(cp_upper(static_cast<unsigned char>(w[0])));
            if (rng() % 15 == 0)
                w.insert(1, " ");
            words.push_back(w);
        }
    }
    return words;
}

}  // namespace

TEST_F(AutofillTest, RandomGridsAreFilledValidlyOrProvedImpossible)
{
    std::mt19937 rng(18);
    int filled = 0, impossible = 0;
    for (int round = 0; round < 300; round++) {
        grid_init();
        std::vector<std::string> words = random_words(rng, round % 3 == 0 ? 0.3 : 0.6);
        std::vector<std::string> a(words.begin(), words.begin() + words.size() / 2);
        std::vector<std::string> b(words.begin() + words.size() / 2, words.end());
        if (round % 4 == 0)
            b.push_back(a.empty() ? "ab" : a[0]);   // a word in both dictionaries is one word
        use_dictionaries({a, b});
        std::set<std::string> folded;
        std::vector<std::string> folded_list;
        for (const std::string &w : words)
            if (folded.insert(fold(w)).second)
                folded_list.push_back(fold(w));

        int w = 2 + static_cast<int>(rng() % 4), h = 2 + static_cast<int>(rng() % 4);
        set_size(w, h);
        for (int c = 0; c < w; c++)
            for (int r = 0; r < h; r++) {
                uint8_t &attr = grid.attributes[grid_cell(c, r)];
                int roll = static_cast<int>(rng() % 100);
                if (roll < 12)
                    attr = cell_filled;
                else if (roll < 16)
                    attr = bar_left;
                else if (roll < 19)
                    attr = bar_top;
                if (rng() % 100 < 10)
                    grid.letters[grid_cell(c, r)] = static_cast<uint8_t>((rng() % 2 ? 'a' : 'A') + rng() % 3);
            }
        int c0 = 0, r0 = 0, c1 = w - 1, r1 = h - 1;
        if (round % 5 == 0) {
            c0 = static_cast<int>(rng() % w), c1 = static_cast<int>(rng() % w);
            r0 = static_cast<int>(rng() % h), r1 = static_cast<int>(rng() % h);
        }
        std::vector<uint8_t> before(grid.letters, grid.letters + grid_plane_bytes);
        autofill_area area{c0, r0, c1, r1};
        autofill_result result;
        random_seed(static_cast<uint32_t>(round));
        ASSERT_EQ(autofill_grid(&area, nullptr, &result), nullptr);
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<GridRun> runs =
            plain_runs(std::min(c0, c1), std::min(r0, r1), std::max(c0, c1), std::max(r0, r1));
        if (result.outcome == autofill_filled) {
            filled++;
            check_fill(folded, before, std::min(c0, c1), std::min(r0, r1), std::max(c0, c1), std::max(r0, r1));
            EXPECT_EQ(result.progress.filled, static_cast<int>(runs.size()));
            EXPECT_TRUE(is_modified());
        } else {
            impossible++;
            ASSERT_EQ(result.outcome, autofill_impossible);
            EXPECT_TRUE(std::equal(before.begin(), before.end(), grid.letters));
            std::set<std::string> used;
            EXPECT_FALSE(plain_fill_exists(runs, folded_list, 0, used));
        }
        EXPECT_EQ(result.progress.entries, static_cast<int>(runs.size()));
    }
    // Both outcomes must have been exercised for the check to mean anything.
    EXPECT_GT(filled, 100);
    EXPECT_GT(impossible, 20);
}

TEST_F(AutofillTest, GivenWordsCountAndNoWordIsUsedTwice)
{
    // A 2 x 2 square: "ab" across twice is impossible, so the fill must
    // mix; with only "ab" and "ba" and a symmetric square it cannot.
    use_dictionaries({{"ab", "ba"}});
    set_size(2, 2);
    autofill_area all = autofill_whole_grid();
    autofill_result result;
    ASSERT_EQ(autofill_grid(&all, nullptr, &result), nullptr);
    EXPECT_EQ(result.outcome, autofill_impossible);

    // A complete run that is no word is named in the reason.
    use_dictionaries({{"ab", "ba", "aa", "bb"}});
    grid_init();
    set_size(3, 2);
    grid.attributes[grid_cell(2, 1)] = cell_filled;
    memcpy(&grid.letters[0], "x", 1);   // cell (0,0)
    ASSERT_EQ(autofill_grid(&all, nullptr, &result), nullptr);
    EXPECT_EQ(result.outcome, autofill_impossible);
    EXPECT_NE(strstr(result.reason, "column 0, row 0"), nullptr) << result.reason;

    // An entry longer than any word.
    grid_init();
    set_size(40, 2);
    for (int c = 0; c < 40; c++)
        grid.attributes[grid_cell(c, 1)] = cell_filled;
    autofill_area wide = autofill_whole_grid();
    ASSERT_EQ(autofill_grid(&wide, nullptr, &result), nullptr);
    EXPECT_EQ(result.outcome, autofill_impossible);
    EXPECT_NE(strstr(result.reason, "no word is that long"), nullptr) << result.reason;
}

TEST_F(AutofillTest, AChangedDictionaryIsSeenAtTheNextFill)
{
    use_dictionaries({{"ab", "cd"}});
    set_size(2, 2);
    grid.attributes[grid_cell(0, 1)] = cell_filled;
    grid.attributes[grid_cell(1, 1)] = cell_filled;
    grid.letters[grid_cell(0, 0)] = 'x';
    autofill_area all = autofill_whole_grid();
    autofill_result result;
    ASSERT_EQ(autofill_grid(&all, nullptr, &result), nullptr);
    EXPECT_EQ(result.outcome, autofill_impossible);
    // Same store, new word: the tables must be rebuilt for it.
    ASSERT_EQ(add_word(&dictionary_set.slots[0].dictionary, "Xy"), nullptr);
    ASSERT_EQ(autofill_grid(&all, nullptr, &result), nullptr);
    ASSERT_EQ(result.outcome, autofill_filled);
    EXPECT_EQ(grid.letters[grid_cell(1, 0)], 'y');
    // The grid's case mode applies to the letters written.
    grid.letters[grid_cell(1, 0)] = ' ';
    grid.case_mode = 1;
    ASSERT_EQ(autofill_grid(&all, nullptr, &result), nullptr);
    EXPECT_EQ(grid.letters[grid_cell(1, 0)], 'Y');
}

namespace {
int polls_seen = 0;
int progress_calls = 0;
}  // namespace

TEST_F(AutofillTest, TheStopFlagEndsTheSearchAndLeavesTheGridAlone)
{
    // The search polls at its first step: the stop flag set there ends it
    // before anything is written.
    std::vector<std::string> words;
    for (int k = 0; k < 6561; k += 7) {
        std::string w;
        for (int i = 0, v = k; i < 8; i++, v /= 3)
            w += static_cast<char>('a' + v % 3);
        words.push_back(w);
    }
    use_dictionaries({words});
    set_size(8, 8);
    grid_ui_hooks hooks{};
    hooks.poll_once = []() -> const error_block * {
        polls_seen++;
        set_stop();
        return nullptr;
    };
    grid_set_hooks(&hooks);
    clear_modified();
    std::vector<uint8_t> before(grid.letters, grid.letters + grid_plane_bytes);
    autofill_area all = autofill_whole_grid();
    autofill_result result;
    ASSERT_EQ(autofill_grid(&all, [](const autofill_progress *) { progress_calls++; }, &result), nullptr);
    EXPECT_EQ(result.outcome, autofill_stopped);
    EXPECT_EQ(polls_seen, 1);
    EXPECT_GE(progress_calls, 1);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), grid.letters));
    EXPECT_FALSE(is_modified());
}

TEST_F(AutofillTest, TheSameSeedGivesTheSameFill)
{
    // The expected letters hold in both builds: the engine's only source
    // of chance is the program's generator.
    std::mt19937 rng(7);
    std::vector<std::string> words = random_words(rng, 0.7);
    use_dictionaries({words});
    set_size(5, 5);
    grid.attributes[grid_cell(2, 2)] = cell_filled;
    autofill_area all = autofill_whole_grid();
    std::string fills[2];
    for (std::string &fill : fills) {
        for (int i = 0; i < grid_plane_bytes; i++)
            grid.letters[i] = ' ';
        random_seed(2026);
        autofill_result result;
        ASSERT_EQ(autofill_grid(&all, nullptr, &result), nullptr);
        ASSERT_EQ(result.outcome, autofill_filled);
        for (int r = 0; r < 5; r++)
            for (int c = 0; c < 5; c++)
                fill += static_cast<char>(grid.letters[grid_cell(c, r)]);
    }
    EXPECT_EQ(fills[0], fills[1]);
    EXPECT_EQ(fills[0], "bababcaaacbb cbcbabccaaba");
}
