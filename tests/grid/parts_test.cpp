// Dividing the marked area into parts and reading and writing them.
#include "tests/grid/grid_test_support.h"

#include "app/grid/parts.h"

using Parts = GridTest;

namespace {

void expect_part(int p, int col, int row, int direction, int length)
{
    SCOPED_TRACE(p);
    EXPECT_EQ(parts[p].col, col);
    EXPECT_EQ(parts[p].row, row);
    EXPECT_EQ(parts[p].direction, direction);
    EXPECT_EQ(parts[p].length, length);
}

}  // namespace

TEST_F(Parts, ACrossShapedMarkGivesTheDownPartFirst)
{
    // Middle row and middle column of a 3 x 3 rectangle.
    for (int i = 0; i < 3; i++) {
        attribute_at(1, i) = cell_marked;
        attribute_at(i, 1) = cell_marked;
    }
    grid.mark_col_a = 0;
    grid.mark_row_a = 0;
    grid.mark_col_b = 2;
    grid.mark_row_b = 2;
    divide_marked_area();
    ASSERT_EQ(part_count, 2);
    EXPECT_EQ(list_columns, 2);
    expect_part(0, 1, 0, 1, 3);
    expect_part(1, 0, 1, 0, 3);
    EXPECT_EQ(parts_bounds.col1, 2);
}

TEST_F(Parts, BarsSplitRunsAndSingleCellsAreNoParts)
{
    mark_rectangle(2, 5, 7, 5);          // one row of six cells
    attribute_at(5, 5) |= bar_left;      // bar between columns 4 and 5
    attribute_at(7, 5) |= bar_left;      // leaves column 7 alone
    divide_marked_area();
    ASSERT_EQ(part_count, 2);
    expect_part(0, 2, 5, 0, 3);
    expect_part(1, 5, 5, 0, 2);

    unmark();
    mark_rectangle(4, 0, 4, 5);          // one column of six cells
    attribute_at(4, 3) |= bar_top;
    divide_marked_area();
    ASSERT_EQ(part_count, 2);
    expect_part(0, 4, 0, 1, 3);
    expect_part(1, 4, 3, 1, 3);
}

TEST_F(Parts, FilledCellsEndRunsAndTheWorkBitsAreReset)
{
    attribute_at(3, 0) = cell_filled;
    attribute_at(0, 0) = across_numbered | down_numbered;   // left over from numbering
    mark_rectangle(0, 0, 5, 0);
    divide_marked_area();
    ASSERT_EQ(part_count, 2);
    expect_part(0, 0, 0, 0, 3);
    expect_part(1, 4, 0, 0, 2);
}

TEST_F(Parts, MoreThan256PartsYieldTheFirst256InReadingOrder)
{
    set_size(40, 40);
    mark_rectangle(0, 0, 39, 39);
    for (int c = 0; c < 40; c++)
        for (int r = 0; r < 40; r++) {
            if (c % 2 == 0)
                attribute_at(c, r) |= bar_left;   // across runs of two cells
            if (r % 2 == 0)
                attribute_at(c, r) |= bar_top;    // down runs of two cells
        }
    divide_marked_area();
    ASSERT_EQ(part_count, max_parts);
    EXPECT_EQ(list_columns, max_parts);
    // Even rows start 20 across and 40 down parts, odd rows 20 across: rows
    // 0-5 hold 240 parts, and row 6 goes across, down (column 0), down
    // (column 1), ... so part 255 is the across part at column 10.
    expect_part(0, 0, 0, 0, 2);
    expect_part(1, 0, 0, 1, 2);
    expect_part(2, 1, 0, 1, 2);
    for (int p = 1; p < part_count; p++) {
        const part &a = parts[p - 1], &b = parts[p];
        ASSERT_TRUE(a.row < b.row || (a.row == b.row && a.col <= b.col)) << p;
    }
    expect_part(240, 0, 6, 0, 2);
    expect_part(255, 10, 6, 0, 2);
}

TEST_F(Parts, ReadAndWritePartLetters)
{
    mark_rectangle(1, 2, 4, 2);
    put_letter(2, 2, 'x');
    divide_marked_area();
    ASSERT_EQ(part_count, 1);
    char buffer[8];
    read_part(0, buffer);
    EXPECT_STREQ(buffer, " x  ");

    grid.case_mode = 1;
    write_part(0, "a b");     // spaces in the text use no cell
    read_part(0, buffer);
    EXPECT_STREQ(buffer, "AB  ");
    write_part(0, "wordy");   // stops after the part's length
    read_part(0, buffer);
    EXPECT_STREQ(buffer, "WORD");
    EXPECT_EQ(letter_at(5, 2), ' ');
    restore_part(0, " x  ");
    read_part(0, buffer);
    EXPECT_STREQ(buffer, " x  ");

    // A cell holding a NUL byte (a foreign file can give one) does not cut
    // the restore short: every cell gets back what it held.
    put_letter(2, 2, '\0');
    char before[8];
    read_part(0, before);
    write_part(0, "WXYZ");
    restore_part(0, before);
    read_part(0, buffer);
    EXPECT_EQ(memcmp(buffer, before, 5), 0);
    EXPECT_EQ(letter_at(4, 2), ' ');
}
