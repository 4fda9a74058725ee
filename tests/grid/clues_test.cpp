// Clue numbering and the clue and word list files, byte for byte.
#include "app/grid/clues.h"

#include <vector>

#include "app/grid/editing.h"
#include "tests/grid/grid_test_support.h"
#include "toolkit/messages/error.h"

namespace {

class CluesTest : public GridTest {
protected:
    // Rows of text: '#' a filled cell, '.' an empty one.
    void layout(const std::vector<std::string> &rows)
    {
        set_size(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
        for (int r = 0; r < grid.height; r++)
            for (int c = 0; c < grid.width; c++) {
                char ch = rows[r][c];
                put_letter(c, r, ch == '#' || ch == '.' ? ' ' : ch);
                attribute_at(c, r) = ch == '#' ? cell_filled : 0;
            }
    }
    std::string clues()
    {
        std::string path = temp_path("clues.txt");
        EXPECT_EQ(save_clues(path.c_str()), nullptr);
        std::vector<unsigned char> bytes = read_bytes(path);
        return std::string(bytes.begin(), bytes.end());
    }
    static std::vector<numbered_cell> numbers()
    {
        std::vector<numbered_cell> out;
        number_grid([](const numbered_cell *cell, void *to) {
            static_cast<std::vector<numbered_cell> *>(to)->push_back(*cell);
        }, &out);
        return out;
    }
};

TEST_F(CluesTest, TheThreeByThreeExampleByteForByte)
{
    layout({"abc", "d#e", "fgh"});
    EXPECT_EQ(clues(),
              "Clues across.\r\n1. abc\n3. fgh\n\nClues down.\n\n1. adf\n2. ceh\n");
    std::vector<numbered_cell> n = numbers();
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[1].col, 2);
    EXPECT_EQ(n[1].across_length, 0);
    EXPECT_EQ(n[1].down_length, 3);
    // The work bits stay in the grid.
    const uint8_t both = across_numbered | down_numbered;
    EXPECT_EQ(attribute_at(0, 0) & both, both);
    EXPECT_EQ(attribute_at(1, 0) & both, across_numbered);
    EXPECT_EQ(attribute_at(0, 1) & both, down_numbered);
    EXPECT_EQ(attribute_at(1, 1) & both, both);   // filled
}

TEST_F(CluesTest, BarsEndRunsAndEmptyCellsAreSpaces)
{
    layout({"ab.d", "####", "wxyz"});
    attribute_at(1, 0) |= bar_left;   // the cell right of (0, 0): no entry from it
    attribute_at(2, 2) |= bar_left;   // (2, 2) starts its own entry
    EXPECT_EQ(clues(), "Clues across.\r\n1. b d\n2. wx\n3. yz\n\n");
    std::vector<numbered_cell> n = numbers();
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[0].col, 1);           // (0, 0) starts nothing: not numbered

    // A bar on the top edge ends a down run the same way.
    layout({"a#", "b#", "c#"});
    attribute_at(0, 1) |= bar_top;
    EXPECT_EQ(clues(), "Clues down.\n\n1. bc\n");
}

TEST_F(CluesTest, DownOnlyAndEmptyGrids)
{
    layout({"a#b", "c#d"});
    EXPECT_EQ(clues(), "Clues down.\n\n1. ac\n2. bd\n");
    layout({"##", "##"});
    EXPECT_EQ(clues(), "");
    EXPECT_TRUE(numbers().empty());
}

TEST_F(CluesTest, WordsquareWritesItsWordList)
{
    set_grid_type(1);
    EXPECT_EQ(clues(), "");
    ASSERT_EQ(list_add_word(-1, -1, -1, -1, "cat"), nullptr);
    ASSERT_EQ(list_add_word(2, 3, 1, 1, "giraffe"), nullptr);
    EXPECT_EQ(clues(), "cat\ngiraffe\n");
}

// A file that cannot be written is an error, and an old file stays whole.
TEST_F(CluesTest, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    layout({"ab", "cd"});
    std::string missing = temp_path("no_such_directory") + "/clues.txt";
    EXPECT_NE(write_clues(missing.c_str()), nullptr);
    std::string path = temp_path("old.txt");
    write_bytes(path, {'o', 'l', 'd'});
    fs_stream s{};
    ASSERT_EQ(stream_open_safe(path.c_str(), 256, &s), nullptr);
    ASSERT_EQ(write_clues_stream(&s), nullptr);
    stream_close(&s, make_error(30, "test"));   // a failure before the end
    EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{'o', 'l', 'd'}));
}

}  // namespace
