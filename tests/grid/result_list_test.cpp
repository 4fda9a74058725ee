// The result list: growth, both shapes, sorting, the text-file reader,
// highlights and the stop flag.
#include "tests/grid/grid_test_support.h"

#include "app/grid/parts.h"
#include "toolkit/memory/memory.h"

using ResultList = GridTest;

namespace {

std::vector<std::string> texts()
{
    std::vector<std::string> out;
    for (int i = 0; i < grid.word_count; i++)
        out.push_back(list_word(i)->text);
    return out;
}

void *refusing_resize(void *, size_t) { return nullptr; }

}  // namespace

TEST_F(ResultList, WordsGrowTheBlockIn2048ByteSteps)
{
    for (int i = 0; i < 36; i++)
        ASSERT_EQ(list_add_word(-1, -1, -1, -1, "word"), nullptr);
    EXPECT_EQ(flex_length(&grid.word_list), 2048);   // 36 x 56 = 2016
    ASSERT_EQ(list_add_word(3, 4, 1, 0, "tree"), nullptr);
    EXPECT_EQ(flex_length(&grid.word_list), 4096);
    EXPECT_EQ(grid.word_count, 37);
    EXPECT_EQ(ui.progress.back(), 37);
    const word_record *w = list_word(36);
    EXPECT_EQ(w->col, 3);
    EXPECT_EQ(w->row_step, 0);
    EXPECT_EQ(w->selected, 0u);
    EXPECT_STREQ(w->text, "tree");

    EXPECT_NE(list_add_word(-1, -1, -1, -1, "abcdefghijklmnopqrstuvwxyzabcdefghij"), nullptr);
    EXPECT_EQ(grid.word_count, 37);   // a text over 35 characters is refused, not cut

    list_clear();
    EXPECT_EQ(grid.word_list, nullptr);
    EXPECT_EQ(ui.progress.back(), 0);
}

TEST_F(ResultList, SolutionRowsOpenAtTheLastPartAndDropWhenTheyCannotGrow)
{
    list_columns = 3;
    auto add_solution = [](uint32_t base) {
        for (int p = 2; p >= 0; p--)
            list_add_solution_code(base + p, p);
    };
    add_solution(100);
    add_solution(200);
    ASSERT_EQ(grid.word_count, 2);
    EXPECT_EQ(list_solution_row(1)[0], 200u);
    EXPECT_EQ(list_solution_row(1)[2], 202u);

    // Fill the first 2048 bytes so that the next row needs a new block.
    while (grid.word_count < 2048 / 12)
        add_solution(300);
    memory_os.resize = refusing_resize;
    EXPECT_NE(list_add_solution_code(902, 2), nullptr);
    list_add_solution_code(901, 1);
    list_add_solution_code(900, 0);
    memory_os = memory_os_default;
    EXPECT_EQ(grid.word_count, 2048 / 12);
    EXPECT_EQ(list_solution_row(grid.word_count - 1)[0], 300u);   // the last row is untouched
    add_solution(400);
    EXPECT_EQ(list_solution_row(grid.word_count - 1)[1], 401u);
}

TEST_F(ResultList, SortIgnoresCaseByUpperCaseComparison)
{
    for (const char *w : {"Zebra", "apple", "Mango", "a_b", "aBc"})
        list_add_word(-1, -1, -1, -1, w);
    list_sort();
    // Upper-case comparison puts "_" (0x5F) after the letters (a lower-case
    // one would put it before them).
    EXPECT_EQ(texts(), (std::vector<std::string>{"aBc", "apple", "a_b", "Mango", "Zebra"}));
}

TEST_F(ResultList, RemoveCountSelectedAndUnplace)
{
    list_add_word(1, 1, 1, 0, "one");
    list_add_word(2, 2, 0, 1, "two");
    list_add_word(3, 3, 1, 1, "three");
    list_word(0)->selected = 1;
    list_word(2)->selected = 1;
    EXPECT_EQ(list_count_selected(), 2);
    list_remove(1);
    list_remove(7);   // out of range: nothing
    EXPECT_EQ(texts(), (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(ui.progress.back(), 2);
    list_unplace_all();
    EXPECT_EQ(list_word(1)->col, -1);
    EXPECT_EQ(list_word(1)->row_step, -1);
}

TEST_F(ResultList, TextFileGivesOneWordALine)
{
    std::string path = temp_path("words.txt");
    std::string long_word(40, 'x');
    write_bytes(path, std::vector<unsigned char>(
                          {'T', 'r', 'e', 'e', '\r', '\n', ' ', ' ', 'b', 'i', 'g', ' ', 'h', 'o', 'U',
                           's', 'e', '7', '\n', '\n', 0xC9, 't', 0xC9, '\n'}));
    std::ofstream(path, std::ios::app | std::ios::binary) << long_word << "\nend";
    list_add_word(-1, -1, -1, -1, "stale");
    list_from_text_file(path.c_str());
    // The first character stays as it is; later letters are lower-cased and
    // other characters dropped. 40 x's: the first 32 are skipped, the other
    // 8 make a word of their own.
    EXPECT_EQ(texts(), (std::vector<std::string>{"Tree", "bighouse", "\xC9t\xE9", "xxxxxxxx", "end"}));
    EXPECT_EQ(list_word(0)->col, -1);
    EXPECT_EQ(ui.refresh_solutions, 1);

    list_from_text_file(temp_path("missing.txt").c_str());
    EXPECT_EQ(grid.word_count, 5);   // a file that does not open changes nothing
}

TEST_F(ResultList, HighlightsShareCellsAndTheTextReaderRemovesThem)
{
    set_grid_type(1);
    list_add_word(0, 0, 1, 0, "abc");     // cells (0,0) (1,0) (2,0)
    list_add_word(1, 0, 0, 1, "bd");      // cells (1,0) (1,1)
    list_add_word(-1, -1, -1, -1, "xy");  // not placed: nothing
    attribute_at(1, 0) |= bar_left;
    for (int i = 0; i < 3; i++) {
        list_word(i)->selected = 1;
        highlight_word(list_word(i));
    }
    EXPECT_EQ(grid.coverage[grid_cell(1, 0)], 2);
    EXPECT_EQ(attribute_at(1, 1) & cell_state_mask, cell_marked);
    unhighlight_word(list_word(0));
    list_word(0)->selected = 0;
    EXPECT_EQ(attribute_at(0, 0) & cell_state_mask, cell_open);
    EXPECT_EQ(attribute_at(1, 0), cell_marked | bar_left);   // still under "bd"

    std::string path = temp_path("w.txt");
    write_bytes(path, {'n', 'e', 'w', '\n'});
    list_from_text_file(path.c_str());
    EXPECT_EQ(attribute_at(1, 0), bar_left);
    EXPECT_EQ(grid.coverage[grid_cell(1, 1)], 0);
    EXPECT_EQ(grid.mark_col_a, -1);
    EXPECT_EQ(texts(), std::vector<std::string>{"new"});
}

TEST_F(ResultList, StopFlagIsSetAndClearedOnlyByItsOperations)
{
    EXPECT_EQ(stop_requested(), 0);
    set_stop();
    EXPECT_EQ(stop_requested(), 1);
    list_clear();
    EXPECT_EQ(stop_requested(), 1);
    clear_stop();
    EXPECT_EQ(stop_requested(), 0);
    set_stop_from_button();
    EXPECT_EQ(stop_requested(), 1);
    clear_stop();
}

TEST_F(ResultList, SolutionRowsOfAnyWidthKeepTheirShape)
{
    // A row of 14 codes is as long as a word record: the list must still
    // know that it holds solution codes.
    for (int columns : {1, 13, 14, 15, 256}) {
        SCOPED_TRACE(columns);
        list_clear();
        list_columns = columns;
        for (int row = 0; row < 3; row++)
            for (int p = columns - 1; p >= 0; p--)
                ASSERT_EQ(list_add_solution_code(static_cast<uint32_t>(row * 1000 + p), p), nullptr);
        ASSERT_EQ(grid.word_count, 3);
        ASSERT_NE(list_solution_row(2), nullptr);
        EXPECT_EQ(list_solution_row(2)[columns - 1], static_cast<uint32_t>(2000 + columns - 1));
        EXPECT_EQ(list_word(0), nullptr);
        list_remove(0);
        EXPECT_EQ(list_solution_row(0)[0], 1000u);
    }
    list_clear();
    list_columns = 1;
    ASSERT_EQ(list_add_word(-1, -1, -1, -1, "word"), nullptr);
    EXPECT_EQ(list_solution_row(0), nullptr);
    EXPECT_STREQ(list_word(0)->text, "word");
}
