// Undo and Redo against the grid file's bytes, and the modified state.
#include "app/grid/history.h"

#include <cstdlib>

#include "app/grid/editing.h"
#include "tests/grid/grid_test_support.h"

namespace {

class HistoryTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        set_size(12, 9);
        clear_modified();
        history_clear();
    }

    // One random user action of every kind that changes cells or settings,
    // with clicks, drags and cursor moves in between that change none.
    void random_action(unsigned &seed)
    {
        auto next = [&seed](int n) {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
        };
        int c = next(grid.width), r = next(grid.height);
        switch (next(13)) {
        case 0: select_click(c, r, false); type_character("abcXYZ *"[next(8)]); break;
        case 1:   // a handler bracketing two commands: one step
            history_begin();
            select_click(c, r, false);
            cursor_right();
            type_character('q');
            type_character('r');
            history_end();
            break;
        case 2: select_click(c, r, false); delete_character(); break;
        case 3: adjust_click(c, r, next(2), next(2)); break;
        case 4: reflect_horizontal(); break;
        case 5: reflect_vertical(); break;
        case 6: reflect_diagonal_slash(); break;
        case 7: reflect_diagonal_backslash(); break;
        case 8: next(2) ? upper_case_command() : lower_case_command(); break;
        case 9: new_words(); break;
        case 10: resize_grid(4 + next(12), 4 + next(12)); break;
        case 11:   // marking changes no content and makes no step
            select_click(c, r, false);
            drag_start(c, r);
            drag_update(next(grid.width), next(grid.height));
            drag_end();
            adjust_click(c, r, false, false);
            break;
        default: cursor_down(); cursor_left(); break;
        }
    }
};

TEST_F(HistoryTest, RandomEditsUndoneGiveTheFirstFileAndRedoneTheLast)
{
    for (unsigned run = 1; run <= 6; run++) {
        grid_init();
        set_size(12, 9);
        put_letter(3, 3, 'w');
        attribute_at(5, 5) = cell_filled | bar_top;
        history_clear();
        unsigned seed = run * 7919;
        std::vector<unsigned char> first = saved_bytes();
        std::vector<std::vector<unsigned char>> after;   // the file after each step
        for (int i = 0; i < 60; i++) {
            int steps = history_step_count();
            random_action(seed);
            unmark();
            if (history_step_count() != steps)
                after.push_back(saved_bytes());
        }
        ASSERT_GT(after.size(), 20u);
        std::vector<unsigned char> last = saved_bytes();
        for (size_t k = after.size(); k-- > 0;) {
            std::vector<unsigned char> now = saved_bytes();
            size_t at = 0;
            while (at < now.size() && at < after[k].size() && now[at] == after[k][at])
                at++;
            ASSERT_EQ(now, after[k]) << "run " << run << " step " << k << " of " << after.size() << " first difference at " << at;
            ASSERT_TRUE(history_undo());
        }
        EXPECT_FALSE(history_undo());
        EXPECT_EQ(saved_bytes(), first) << "run " << run;
        while (history_redo()) {
        }
        EXPECT_EQ(saved_bytes(), last) << "run " << run;
    }
}

TEST_F(HistoryTest, OneStepPerActionAndANewEditEndsTheRedoBranch)
{
    reflect_horizontal();             // nothing filled: no cell changes, no step
    EXPECT_EQ(history_step_count(), 0);
    select_click(0, 0, false);
    cursor_right();
    type_character('a');
    EXPECT_EQ(history_step_count(), 1);
    upper_case_command();             // mode and 16384 letters: one step
    EXPECT_EQ(history_step_count(), 2);
    EXPECT_TRUE(history_undo());
    EXPECT_EQ(grid.case_mode, 0);
    EXPECT_EQ(letter_at(1, 0), 'a');
    EXPECT_TRUE(history_can_redo());
    type_character('z');
    EXPECT_FALSE(history_can_redo());
    EXPECT_EQ(history_step_count(), 2);

    // Undo brings the cursor back to where the action found it.
    EXPECT_TRUE(history_undo());
    EXPECT_EQ(grid.cursor_col, 2);
    EXPECT_EQ(letter_at(1, 0), 'a');

    // A handler bracketing several commands makes one step.
    history_begin();
    type_character('x');
    reflect_vertical();
    history_end();
    EXPECT_EQ(history_step_count(), 2);
    EXPECT_FALSE(history_recording());

    new_grid();
    EXPECT_EQ(history_step_count(), 0);
    EXPECT_FALSE(history_can_undo());
}

TEST_F(HistoryTest, KeepsTheLatestStepsBeyondTheLimit)
{
    select_click(0, 0, false);
    for (int i = 0; i < history_limit + 50; i++) {
        adjust_click(i % 12, (i / 12) % 9, true, false);   // toggles a left bar
    }
    EXPECT_EQ(history_step_count(), history_limit);
    int undone = 0;
    while (history_undo())
        undone++;
    EXPECT_EQ(undone, history_limit);
    EXPECT_GE(undone, 100);
}

TEST_F(HistoryTest, TheModifiedStateFollowsUndoBackToTheSave)
{
    std::string path = temp_path("saved.qlx");
    select_click(0, 0, false);
    adjust_click(4, 4, false, false);
    ASSERT_EQ(save_grid_file(path.c_str()), nullptr);
    clear_modified();                 // what Save does after writing
    int titles = ui.retitle;
    adjust_click(5, 5, false, false);
    EXPECT_TRUE(is_modified());
    EXPECT_GT(ui.retitle, titles);
    titles = ui.retitle;
    history_undo();
    EXPECT_FALSE(is_modified());
    EXPECT_GT(ui.retitle, titles);    // the title loses its "*"
    history_undo();
    EXPECT_TRUE(is_modified());       // before the save
    history_redo();
    EXPECT_FALSE(is_modified());
    EXPECT_EQ(saved_bytes(), read_bytes(path));
    history_redo();
    EXPECT_TRUE(is_modified());

    // A change no step holds (a settings change) makes the save unreachable.
    history_undo();
    EXPECT_FALSE(is_modified());
    grid.text_colour = 0x0000FF00;
    mark_modified();
    history_redo();
    history_undo();
    EXPECT_TRUE(is_modified());

    // A new edit after undoing past the save drops it from reach as well.
    clear_modified();
    history_undo();
    adjust_click(7, 7, false, false);
    history_undo();
    EXPECT_TRUE(is_modified());
}

}  // namespace
