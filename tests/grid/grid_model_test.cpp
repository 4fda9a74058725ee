// The grid model: start values, size, marks, case, clearing, document state.
#include "tests/grid/grid_test_support.h"

#include "app/grid/random.h"

using GridModel = GridTest;

TEST_F(GridModel, StartsAsASixteenSquareCrosswordWithTheStartSettings)
{
    EXPECT_EQ(grid.width, 16);
    EXPECT_EQ(grid.height, 16);
    EXPECT_EQ(grid.grid_type, 0);
    EXPECT_EQ(grid.fill_directions, 15u);
    EXPECT_EQ(grid.show_solutions, 1);
    EXPECT_EQ(grid.min_word_length, 5);
    EXPECT_EQ(grid.split_fraction, 20480);
    EXPECT_EQ(grid.background_colour, 0xFFFFFF00u);
    EXPECT_EQ(grid.square_percent, 180);
    EXPECT_EQ(grid.grid_font.height, 128);
    EXPECT_EQ(grid.clue_font.height, 64);
    EXPECT_STREQ(grid.grid_font.face, "Arial");
    EXPECT_EQ(grid.grid_font.charset, 400u);
    EXPECT_EQ(grid.square_size, 36);   // 8 points at 180%
    EXPECT_EQ(grid.cursor_col, -1);
    EXPECT_EQ(grid.mark_col_a, -1);
    EXPECT_EQ(letter_at(127, 127), ' ');
    EXPECT_EQ(memcmp(&grid_defaults.grid_font, &grid.grid_font, sizeof(font_spec)), 0);
}

TEST_F(GridModel, ShrinkingAndGrowingShowsTheOuterLettersAgain)
{
    set_size(20, 20);
    put_letter(15, 17, 'q');
    attribute_at(15, 17) = cell_filled | bar_left;
    set_size(10, 10);
    EXPECT_EQ(grid.width, 10);
    set_size(20, 20);
    EXPECT_EQ(letter_at(15, 17), 'q');
    EXPECT_EQ(attribute_at(15, 17), cell_filled | bar_left);
    EXPECT_EQ(ui.extent_width, 20 * 36);
    EXPECT_EQ(grid.modified_count, 3);
    EXPECT_EQ(ui.retitle, 1);   // only the first change from unmodified retitles
}

TEST_F(GridModel, SizeIsKeptWithinTwoTo127)
{
    set_size(200, 5);
    EXPECT_EQ(grid.width, 127);
    EXPECT_EQ(grid.height, 5);
    set_size(0, -3);
    EXPECT_EQ(grid.width, 2);
    EXPECT_EQ(grid.height, 2);
}

TEST_F(GridModel, SetSizeDiscardsTheWordListAndUnmarks)
{
    ASSERT_EQ(list_add_word(-1, -1, -1, -1, "tree"), nullptr);
    mark_rectangle(1, 1, 3, 1);
    set_size(12, 12);
    EXPECT_EQ(grid.word_count, 0);
    EXPECT_EQ(ui.refresh_solutions, 1);
    EXPECT_EQ(grid.mark_col_a, -1);
    EXPECT_EQ(attribute_at(2, 1) & cell_state_mask, cell_open);

    // A mark beyond the new edge is cleared too: it must not come back
    // marked when the grid grows again.
    mark_rectangle(8, 3, 10, 3);
    set_size(6, 6);
    set_size(12, 12);
    EXPECT_EQ(attribute_at(9, 3) & cell_state_mask, cell_open);
}

TEST_F(GridModel, MarkedLengthCountsColumnsFirst)
{
    EXPECT_EQ(marked_length(), 0);
    grid.mark_col_a = grid.mark_col_b = 4;
    grid.mark_row_a = 7;
    grid.mark_row_b = 3;
    EXPECT_EQ(marked_length(), 5);
    grid.mark_col_a = 5;
    grid.mark_col_b = 2;
    grid.mark_row_a = grid.mark_row_b = 0;
    EXPECT_EQ(marked_length(), 4);
    grid.mark_col_a = 0;
    grid.mark_col_b = 2;
    grid.mark_row_a = 0;
    grid.mark_row_b = 1;
    EXPECT_EQ(marked_length(), 3);
}

TEST_F(GridModel, MarkedLengthDisplayWritesOnlyChanges)
{
    mark_rectangle(0, 0, 0, 4);
    marked_length_display();
    marked_length_display();
    unmark();
    unmark();
    ASSERT_EQ(ui.marked_length.size(), 2u);
    EXPECT_EQ(ui.marked_length[0], "5");
    EXPECT_EQ(ui.marked_length[1], "");
}

TEST_F(GridModel, ConvertCaseFollowsTheCaseMode)
{
    const unsigned char e_acute = 0xE9, E_acute = 0xC9;
    EXPECT_EQ(convert_case('a'), 'a');
    grid.case_mode = 1;
    EXPECT_EQ(convert_case('a'), 'A');
    EXPECT_EQ(convert_case(e_acute), E_acute);
    grid.case_mode = 2;
    EXPECT_EQ(convert_case('Q'), 'q');
    EXPECT_EQ(convert_case(E_acute), e_acute);
    grid.case_mode = 3;   // only a file can give this
    EXPECT_EQ(convert_case('a'), 'a');
    EXPECT_EQ(convert_case('Q'), 'Q');
}

TEST_F(GridModel, ClearingKeepsWhatEachClearMustKeep)
{
    memset(grid.attributes, 0xFF, sizeof grid.attributes);
    memset(grid.letters, 'x', sizeof grid.letters);
    clear_grid();
    for (int i = 0; i < grid_plane_bytes; i++) {
        ASSERT_EQ(grid.attributes[i], 0xF0) << i;
        ASSERT_EQ(grid.letters[i], ' ') << i;
    }

    put_letter(0, 0, 'o');
    put_letter(1, 0, 'm');
    attribute_at(1, 0) = cell_marked;
    put_letter(2, 0, 'f');
    attribute_at(2, 0) = cell_filled;
    put_letter(127, 127, 'z');
    clear_letters();
    EXPECT_EQ(letter_at(0, 0), ' ');
    EXPECT_EQ(letter_at(1, 0), 'm');
    EXPECT_EQ(letter_at(2, 0), 'f');
    EXPECT_EQ(letter_at(127, 127), ' ');

    put_letter(3, 3, 'w');
    attribute_at(3, 3) = cell_marked | bar_top | across_numbered;
    grid.coverage[grid_cell(3, 3)] = 2;
    put_letter(20, 3, 'k');   // outside the 16 x 16 grid
    clear_wordsquare_area();
    EXPECT_EQ(letter_at(3, 3), ' ');
    EXPECT_EQ(attribute_at(3, 3), bar_top | across_numbered);
    EXPECT_EQ(grid.coverage[grid_cell(3, 3)], 0);
    EXPECT_EQ(letter_at(20, 3), 'k');
}

TEST_F(GridModel, FillBlanksDrawsOneLetterPerEmptyCellColumnByColumn)
{
    set_size(3, 2);
    put_letter(0, 1, 'Q');
    random_seed(12345);
    int first = random_draw(), second = random_draw();
    random_seed(12345);
    fill_blanks_randomly();
    EXPECT_EQ(letter_at(0, 0), 'a' + first % 26);
    EXPECT_EQ(letter_at(0, 1), 'Q');
    EXPECT_EQ(letter_at(1, 0), 'a' + second % 26);
    EXPECT_EQ(letter_at(3, 0), ' ');   // outside the grid
    for (int c = 0; c < 3; c++)
        for (int r = 0; r < 2; r++)
            EXPECT_NE(letter_at(c, r), ' ');
}

TEST_F(GridModel, UnmarkClearsOnlyMarkedCellsOfTheRectangle)
{
    attribute_at(2, 2) = cell_filled;
    mark_rectangle(1, 1, 3, 3);
    attribute_at(9, 9) = cell_marked;   // outside the rectangle: left alone
    unmark();
    EXPECT_EQ(attribute_at(1, 1), cell_open);
    EXPECT_EQ(attribute_at(2, 2), cell_filled);
    EXPECT_EQ(attribute_at(9, 9), cell_marked);
    EXPECT_EQ(grid.mark_col_a, -1);
    EXPECT_EQ(grid.mark_row_b, -1);

    recompute_marked_area();
    EXPECT_EQ(grid.mark_col_a, 9);
    EXPECT_EQ(grid.mark_row_b, 9);
    attribute_at(4, 12) = cell_marked;
    recompute_marked_area();
    EXPECT_EQ(grid.mark_col_a, 4);
    EXPECT_EQ(grid.mark_col_b, 9);
    EXPECT_EQ(grid.mark_row_a, 9);
    EXPECT_EQ(grid.mark_row_b, 12);
}

TEST_F(GridModel, ChangingTheGridTypeStartsAFreshDocument)
{
    put_letter(1, 1, 'a');
    attribute_at(1, 1) = bar_left | 0x30;
    grid.cursor_col = grid.cursor_row = 1;
    set_grid_file_name("old.qlx");
    mark_modified();
    set_grid_type(0);   // same type: nothing happens
    EXPECT_EQ(letter_at(1, 1), 'a');
    set_grid_type(1);
    EXPECT_EQ(grid.grid_type, 1);
    EXPECT_EQ(letter_at(1, 1), ' ');
    EXPECT_EQ(attribute_at(1, 1), 0x30);
    EXPECT_EQ(grid.cursor_col, -1);
    EXPECT_EQ(grid.modified_count, 0);
    EXPECT_STREQ(grid.grid_file_name, "");
    ASSERT_EQ(ui.button_bars.size(), 1u);
    EXPECT_EQ(ui.button_bars[0], 1);

    put_letter(2, 2, 'b');
    set_grid_type_light(0);
    EXPECT_EQ(grid.grid_type, 0);
    EXPECT_EQ(letter_at(2, 2), 'b');
    EXPECT_EQ(ui.button_bars.size(), 2u);
}

TEST_F(GridModel, NewGridAndNewWordsKeepWhatTheyShould)
{
    set_size(6, 7);
    put_letter(0, 0, 'a');
    put_letter(1, 0, 'b');
    attribute_at(1, 0) = cell_filled | bar_top;
    set_grid_file_name("x.qlx");
    new_words();
    EXPECT_EQ(letter_at(0, 0), ' ');
    EXPECT_EQ(letter_at(1, 0), 'b');
    EXPECT_TRUE(is_modified());
    new_grid();
    EXPECT_EQ(letter_at(1, 0), ' ');
    EXPECT_EQ(attribute_at(1, 0), 0);
    EXPECT_FALSE(is_modified());
    EXPECT_STREQ(grid.grid_file_name, "");
    EXPECT_EQ(grid.width, 6);
}

TEST_F(GridModel, DefaultsAreSnapshotAndRestored)
{
    grid.text_colour = 0x0000FF00;
    grid.square_percent = 300;
    strcpy(grid.grid_font.face, "Courier New");
    snapshot_defaults();
    grid.text_colour = 0;
    grid.square_percent = 150;
    restore_defaults();
    update_square_size();
    EXPECT_EQ(grid.text_colour, 0x0000FF00u);
    EXPECT_STREQ(grid.grid_font.face, "Courier New");
    EXPECT_EQ(grid.square_size, 128 * 180 * 300 / 115200);
}

TEST_F(GridModel, SquareSizeNeverOverflowsOrReachesZero)
{
    grid.grid_font.height = 0x7FFFFFFF;
    grid.square_percent = 0x7FFFFFFF;
    update_square_size();
    EXPECT_GT(grid.square_size, 0);
    EXPECT_LE(static_cast<int64_t>(grid.square_size) * 127, 0x7FFFFFFF);
    grid.grid_font.height = -5;
    update_square_size();
    EXPECT_EQ(grid.square_size, 1);
}
