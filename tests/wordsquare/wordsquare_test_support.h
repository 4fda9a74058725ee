// Shared fixture of the Wordsquare tests: a Wordsquare grid of a given
// size, the fixed seed, message boxes captured.
#pragma once
#include <string>
#include <vector>

#include "app/grid/random.h"
#include "tests/search/search_test_support.h"
#include "toolkit/messages/report.h"

inline std::vector<std::string> boxes;

class WordsquareTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        grid.grid_type = 1;
        random_seed(12345);
        boxes.clear();
        message_box_answer = [](int, int, const char *text) {
            boxes.push_back(text);
            return 2;
        };
    }
    void TearDown() override
    {
        message_box_answer = nullptr;
        SearchTest::TearDown();
    }

    // A grid of rows given as strings (all the same length).
    void set_rows(const std::vector<std::string> &rows)
    {
        set_size(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
        for (size_t r = 0; r < rows.size(); r++)
            for (size_t c = 0; c < rows[r].size(); c++)
                grid.letters[grid_cell(static_cast<int>(c), static_cast<int>(r))] =
                    static_cast<uint8_t>(rows[r][c]);
    }

    std::string row_text(int r)
    {
        std::string s;
        for (int c = 0; c < grid.width; c++)
            s += static_cast<char>(grid.letters[grid_cell(c, r)]);
        return s;
    }

    void add_words(const std::vector<std::string> &words)
    {
        for (const std::string &w : words)
            ASSERT_EQ(list_add_word(-1, -1, -1, -1, w.c_str()), nullptr);
    }
};
