// Shared fixtures of the search and Wordsquare tests: small dictionaries
// built in memory and put into the document's list, a fresh grid, and
// hooks that count polls.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/search.h"
#include "app/dictionary/search_index.h"
#include "app/dictionary/search_internal.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/parts.h"
#include "app/grid/result_list.h"

struct test_dictionary {
    const char *name;
    std::vector<std::string> words;
};

// Replaces the dictionary set with these dictionaries, all in the
// document's list, in this order.
inline void use_dictionaries(const std::vector<test_dictionary> &specs)
{
    dictionary_set_clear();
    for (size_t i = 0; i < specs.size(); i++) {
        DictionarySlot &s = dictionary_set.slots[i];
        snprintf(s.name, sizeof s.name, "%s", specs[i].name);
        init_dictionary(&s.dictionary);
        std::vector<const char *> words;
        for (const std::string &w : specs[i].words)
            words.push_back(w.c_str());
        ASSERT_EQ(add_words_bulk(&s.dictionary, words.data(), static_cast<int>(words.size())), nullptr);
        s.loaded = 1;
        dictionary_set.count = static_cast<int>(i + 1);
    }
    for (size_t i = 0; i < specs.size(); i++)
        ASSERT_EQ(document_list_add(static_cast<int>(i)), nullptr);
    search_forget_tables();
}

// What the searches asked of the user interface.
struct poll_record {
    int polls = 0;
    int stop_at_poll = -1;   // sets the stop flag at this poll (1-based)
    std::function<void()> on_poll;
};
inline poll_record polls;

inline void install_poll_hooks()
{
    polls = poll_record();
    grid_ui_hooks h{};
    h.poll_once = []() -> const error_block * {
        polls.polls++;
        if (polls.polls == polls.stop_at_poll)
            set_stop();
        if (polls.on_poll)
            polls.on_poll();
        return nullptr;
    };
    grid_set_hooks(&h);
}

// Marks these cells (the marked rectangle is their bounding box).
inline void mark_cells(const std::vector<std::pair<int, int>> &cells)
{
    int c0 = 127, c1 = -1, r0 = 127, r1 = -1;
    for (auto [c, r] : cells) {
        uint8_t &a = grid.attributes[grid_cell(c, r)];
        a = static_cast<uint8_t>((a & ~cell_state_mask) | cell_marked);
        c0 = std::min(c0, c), c1 = std::max(c1, c), r0 = std::min(r0, r), r1 = std::max(r1, r);
    }
    grid.mark_col_a = c0, grid.mark_col_b = c1, grid.mark_row_a = r0, grid.mark_row_b = r1;
}

// Marks the whole rectangle, as a drag over empty cells would.
inline void mark_rectangle(int c0, int r0, int c1, int r1)
{
    std::vector<std::pair<int, int>> cells;
    for (int c = c0; c <= c1; c++)
        for (int r = r0; r <= r1; r++)
            cells.push_back({c, r});
    mark_cells(cells);
}

// Writes letters across from (c, r); '?' leaves a cell empty.
inline void put_across(int c, int r, const char *text)
{
    for (int i = 0; text[i]; i++)
        grid.letters[grid_cell(c + i, r)] = text[i] == '?' ? ' ' : static_cast<uint8_t>(text[i]);
}

// The rows of the result list as words joined by spaces.
inline std::vector<std::string> solution_rows()
{
    std::vector<std::string> rows;
    for (int i = 0; i < grid.word_count; i++) {
        const uint32_t *codes = list_solution_row(i);
        std::string row;
        for (int p = 0; p < list_columns; p++)
            row += (p ? " " : "") + std::string(solution_text(codes[p]));
        rows.push_back(row);
    }
    return rows;
}

// The raw codes of the result list.
inline std::vector<uint32_t> solution_codes()
{
    std::vector<uint32_t> codes;
    for (int i = 0; i < grid.word_count; i++)
        for (int p = 0; p < list_columns; p++)
            codes.push_back(list_solution_row(i)[p]);
    return codes;
}

class SearchTest : public ::testing::Test {
protected:
    const int default_patience = candidates_patience;

    void SetUp() override
    {
        app_errors_register();
        grid_init();
        install_poll_hooks();
        clear_stop();
        maximum_solutions = 1000;
        search_fast_path = true;
        // The fast-path tests compare the tables with the plain walks: the
        // tables answer from the first look-up.
        candidates_patience = 0;
    }
    void TearDown() override
    {
        list_clear();
        clear_stop();
        search_fast_path = true;
        candidates_patience = default_patience;
        grid_set_hooks(nullptr);
        dictionary_set_clear();
        search_forget_tables();
    }

    // Divides the marked area and solves it; the search's result.
    int solve()
    {
        list_clear();
        divide_marked_area();
        return solve_parts(0);
    }
};
