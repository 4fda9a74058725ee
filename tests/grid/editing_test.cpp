// Editing: typing and its advance, Backspace, cursor moves, clicks, drag
// marking, the reflections and the case commands.
#include "app/grid/editing.h"

#include "tests/grid/grid_test_support.h"

namespace {

class EditingTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        set_size(15, 15);
    }
    static void fill(int c, int r) { attribute_at(c, r) = (attribute_at(c, r) & ~cell_state_mask) | cell_filled; }
    static bool is_filled(int c, int r) { return (attribute_at(c, r) & cell_state_mask) == cell_filled; }
    static bool is_marked(int c, int r) { return (attribute_at(c, r) & cell_state_mask) == cell_marked; }
    static void expect_cursor(int c, int r)
    {
        EXPECT_EQ(grid.cursor_col, c);
        EXPECT_EQ(grid.cursor_row, r);
    }
};

TEST_F(EditingTest, TypingAfterAClickBeepsAndAfterOneRightArrowGoesRight)
{
    select_click(3, 3, false);
    type_character('a');
    EXPECT_EQ(letter_at(3, 3), 'a');
    EXPECT_EQ(ui.beeps, 1);           // both ways open, no previous direction
    expect_cursor(3, 3);
    cursor_right();
    expect_cursor(4, 3);
    EXPECT_EQ(ui.shown_col, 4);
    type_character('b');
    type_character('c');
    expect_cursor(6, 3);
    EXPECT_EQ(letter_at(5, 3), 'c');
    EXPECT_EQ(ui.beeps, 1);

    // Downwards keeps going down; a bar on the next cell's top turns it right.
    select_click(8, 0, false);
    cursor_down();
    type_character('d');
    expect_cursor(8, 2);
    attribute_at(8, 3) |= bar_top;
    type_character('e');
    expect_cursor(9, 2);              // down closed, right open

    // Only one way open: no previous direction is needed.
    select_click(14, 5, false);       // right edge: only down
    type_character('f');
    expect_cursor(14, 6);
    fill(1, 14);
    select_click(0, 14, false);       // bottom row, right cell filled: nowhere
    type_character('g');
    expect_cursor(0, 14);
    EXPECT_EQ(ui.beeps, 2);
}

TEST_F(EditingTest, TypingConvertsCaseAndIgnoresOtherCharacters)
{
    grid.case_mode = 1;
    select_click(14, 14, false);
    type_character('a');
    EXPECT_EQ(letter_at(14, 14), 'A');
    type_character(0xE9);             // e acute, a letter of the code page
    EXPECT_EQ(static_cast<unsigned char>(letter_at(14, 14)), 0xC9);
    int count = grid.modified_count;
    type_character('1');
    type_character('-');
    EXPECT_EQ(static_cast<unsigned char>(letter_at(14, 14)), 0xC9);
    EXPECT_EQ(grid.modified_count, count);
    type_character('*');
    EXPECT_EQ(letter_at(14, 14), '*');

    remove_cursor();                  // no cursor: nothing is stored anywhere
    type_character('z');
    for (int i = 0; i < grid_plane_bytes; i++)
        ASSERT_NE(grid.letters[i], 'z');
}

TEST_F(EditingTest, BackspaceClearsAndRetreats)
{
    select_click(0, 0, false);
    put_letter(0, 0, 'q');
    delete_character();
    EXPECT_EQ(letter_at(0, 0), ' ');
    EXPECT_EQ(ui.beeps, 1);           // top-left: nowhere to go
    expect_cursor(0, 0);
    EXPECT_TRUE(is_modified());

    // After moving left, Backspace keeps going left though up is open too.
    select_click(6, 6, false);
    cursor_left();
    put_letter(5, 6, 'x');
    put_letter(4, 6, 'y');
    delete_character();
    delete_character();
    expect_cursor(3, 6);
    EXPECT_EQ(letter_at(5, 6), ' ');
    EXPECT_EQ(letter_at(4, 6), ' ');

    // Bars do not stop it; a filled cell does.
    select_click(10, 0, false);
    attribute_at(10, 0) |= bar_left;
    delete_character();
    expect_cursor(9, 0);
    fill(8, 0);
    delete_character();
    expect_cursor(9, 0);
    EXPECT_EQ(ui.beeps, 2);
}

TEST_F(EditingTest, CursorMovesSkipFilledCellsAndStopAtTheEdge)
{
    select_click(5, 5, false);
    fill(6, 5);
    fill(7, 5);
    cursor_right();
    expect_cursor(8, 5);
    EXPECT_EQ(grid.last_col, 5);
    fill(5, 4);
    fill(5, 3);
    fill(5, 2);
    fill(5, 1);
    fill(5, 0);
    select_click(5, 5, false);
    cursor_up();                      // every cell above is filled
    expect_cursor(5, 5);
    cursor_down();
    expect_cursor(5, 6);
    for (int i = 0; i < 20; i++)
        cursor_left();
    expect_cursor(0, 6);
}

TEST_F(EditingTest, ClicksPlaceTheCursorFillOpenAndToggleBars)
{
    fill(2, 2);
    select_click(2, 2, false);
    EXPECT_EQ(ui.beeps, 1);
    select_click(15, 0, false);       // outside the grid
    adjust_click(0, 15, false, false);
    EXPECT_EQ(ui.beeps, 3);

    select_click(4, 4, false);
    adjust_click(4, 4, true, false);  // Shift: left bar, stays open
    EXPECT_EQ(attribute_at(4, 4) & (bar_left | cell_state_mask), bar_left);
    adjust_click(4, 4, true, false);
    EXPECT_EQ(attribute_at(4, 4) & bar_left, 0);
    adjust_click(4, 4, false, true);  // Ctrl: top bar
    EXPECT_EQ(attribute_at(4, 4) & (bar_top | cell_state_mask), bar_top);
    put_letter(4, 4, 'k');
    adjust_click(4, 4, false, false); // fills, letter hidden, cursor stays
    EXPECT_TRUE(is_filled(4, 4));
    EXPECT_EQ(letter_at(4, 4), 'k');
    expect_cursor(4, 4);
    attribute_at(4, 4) |= bar_left | 0x30;
    adjust_click(4, 4, false, false); // opens: letter and bars go, bits 4-7 stay
    EXPECT_EQ(attribute_at(4, 4), 0x30);
    EXPECT_EQ(letter_at(4, 4), ' ');

    grid.grid_type = 1;               // Wordsquare: Adjust does nothing
    adjust_click(6, 6, false, false);
    EXPECT_EQ(attribute_at(6, 6), 0);
}

TEST_F(EditingTest, DragMarksARectangleAndAdjustUnmarksItsMiddle)
{
    select_click(2, 5, false);
    drag_start(2, 5);
    drag_update(2, 5);                // still on the start cell: the cursor
    expect_cursor(2, 5);
    EXPECT_FALSE(grid_has_mark());
    drag_update(4, 5);
    drag_update(6, 5);
    drag_end();
    for (int c = 0; c < 15; c++)
        EXPECT_EQ(is_marked(c, 5), c >= 2 && c <= 6) << c;
    EXPECT_EQ(marked_length(), 5);
    ASSERT_FALSE(ui.marked_length.empty());
    EXPECT_EQ(ui.marked_length.back(), "5");
    expect_cursor(-1, -1);

    adjust_click(4, 5, false, false);
    EXPECT_FALSE(is_marked(4, 5));
    EXPECT_FALSE(is_filled(4, 5));
    EXPECT_EQ(grid.mark_col_a, 2);
    EXPECT_EQ(grid.mark_col_b, 6);
    EXPECT_EQ(marked_length(), 5);

    // A Ctrl drag keeps the old marks and toggles the cells it covers.
    drag_start(6, 5);
    drag_update(6, 7);
    drag_end();
    EXPECT_TRUE(is_marked(2, 5));
    EXPECT_FALSE(is_marked(6, 5));    // marked before, toggled off
    EXPECT_TRUE(is_marked(6, 7));
    EXPECT_EQ(grid.mark_row_b, 7);

    // Shrinking the rectangle unmarks what it leaves; filled cells stay.
    select_click(0, 0, false);        // unmarks everything
    EXPECT_FALSE(grid_has_mark());
    fill(1, 1);
    drag_start(0, 0);
    drag_update(3, 3);
    EXPECT_TRUE(is_filled(1, 1));
    EXPECT_TRUE(is_marked(3, 3));
    drag_update(1, 2);
    drag_end();
    EXPECT_FALSE(is_marked(3, 3));
    EXPECT_TRUE(is_marked(0, 2));
    EXPECT_TRUE(is_filled(1, 1));
    EXPECT_EQ(marked_length(), 2);

    // A Select click with Ctrl keeps the mark; a plain one removes it.
    select_click(9, 9, true);
    EXPECT_TRUE(grid_has_mark());
}

TEST_F(EditingTest, ReflectionsCopyAttributesAndMoveBars)
{
    put_letter(2, 7, 'm');
    fill(2, 7);
    put_letter(12, 7, 'n');
    attribute_at(2, 3) |= bar_left;   // edge 1|2 mirrors to edge 12|13
    reflect_horizontal();
    EXPECT_TRUE(is_filled(12, 7));
    EXPECT_EQ(letter_at(12, 7), 'n');
    EXPECT_EQ(letter_at(2, 7), 'm');
    EXPECT_TRUE(attribute_at(13, 3) & bar_left);
    EXPECT_FALSE(attribute_at(12, 3) & bar_left);
    EXPECT_TRUE(is_modified());

    grid_init();
    set_size(15, 15);
    fill(0, 0);
    attribute_at(1, 1) |= bar_top | bar_left;
    reflect_diagonal_slash();
    EXPECT_TRUE(is_filled(14, 14));
    EXPECT_TRUE(attribute_at(13, 14) & bar_top);    // below the target (13, 13)
    EXPECT_TRUE(attribute_at(14, 13) & bar_left);   // right of the target
    EXPECT_FALSE(attribute_at(13, 13) & (bar_top | bar_left));

    fill(14, 0);
    reflect_diagonal_backslash();
    EXPECT_TRUE(is_filled(0, 14));

    // Even heights leave the two middle rows: 16 rows mirror rows 0-6.
    grid_init();
    fill(3, 7);
    fill(3, 0);
    attribute_at(5, 2) |= bar_top;
    reflect_vertical();
    EXPECT_TRUE(is_filled(3, 15));
    EXPECT_FALSE(is_filled(3, 8));
    EXPECT_TRUE(attribute_at(5, 14) & bar_top);     // edge 1|2 to edge 13|14

    // Every reflection unmarks first: a marked cell never spreads.
    mark_rectangle(0, 0, 1, 1);
    reflect_horizontal();
    EXPECT_FALSE(grid_has_mark());
    for (int i = 0; i < grid_plane_bytes; i++)
        ASSERT_NE(grid.attributes[i] & cell_state_mask, cell_marked);
}

TEST_F(EditingTest, CaseCommandsToggleTheirModeAndConvertOpenCells)
{
    put_letter(0, 0, 'a');
    put_letter(1, 0, 'b');
    fill(1, 0);
    put_letter(127, 127, 'c');        // beyond the grid: the whole plane converts
    upper_case_command();
    EXPECT_EQ(grid.case_mode, 1);
    EXPECT_EQ(letter_at(0, 0), 'A');
    EXPECT_EQ(letter_at(1, 0), 'b');  // filled cells keep theirs
    EXPECT_EQ(letter_at(127, 127), 'C');
    upper_case_command();
    EXPECT_EQ(grid.case_mode, 0);
    EXPECT_EQ(letter_at(0, 0), 'A');

    upper_case_command();
    lower_case_command();             // switches upper off
    EXPECT_EQ(grid.case_mode, 2);
    EXPECT_EQ(letter_at(0, 0), 'a');
    grid.case_mode = 3;               // only a file can hold this
    upper_case_command();
    EXPECT_EQ(grid.case_mode, 0);
}

TEST_F(EditingTest, ShrinkingTheGridTakesAwayACursorBeyondTheEdge)
{
    select_click(12, 3, false);
    resize_grid(10, 10);
    expect_cursor(-1, -1);
    type_character('a');
    EXPECT_EQ(letter_at(12, 3), ' ');
}

TEST_F(EditingTest, WordsquareClickRemovesHighlightsButKeepsTheList)
{
    set_grid_type(1);
    set_size(15, 15);
    ASSERT_EQ(list_add_word(0, 0, 1, 0, "cat"), nullptr);
    list_word(0)->selected = 1;
    highlight_word(list_word(0));
    recompute_marked_area();
    ASSERT_TRUE(grid_has_mark());
    select_click(5, 5, false);
    EXPECT_EQ(grid.word_count, 1);
    EXPECT_EQ(list_word(0)->selected, 0u);
    EXPECT_FALSE(is_marked(0, 0));
    EXPECT_EQ(grid.coverage[grid_cell(0, 0)], 0);
    expect_cursor(5, 5);
}

}  // namespace
