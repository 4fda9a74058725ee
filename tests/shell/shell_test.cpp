// The shell in one process: start-up with the program's own resources,
// then the real windows driven by the messages a user's actions send
// (menu opening, menu commands, button clicks, mouse drags, keys, dropped
// files), checked through the grid, the windows and painted pixels.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/search.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_pane.h"
#include "app/grid/parts.h"
#include "app/grid/result_list.h"
#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/report.h"

namespace {

std::string last_box;
int box_reply = 3;   // Yes

int answer_box(int, int, const char *text)
{
    last_box = text;
    return box_reply;
}

std::string temp_dir()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    std::string dir = std::string(base) + "qm_shell_test";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

// A MainDict in a directory of its own, made of a few words.
void make_dictionaries(const std::string &dir)
{
    static const char *const words[] = {"apple", "mango", "zebra", "stone", "notes", "tones", "onset",
                                        "listen", "silent", "enlist", "cat", "act", "tac", "bird"};
    Dictionary d{};
    ASSERT_EQ(add_words_bulk(&d, words, sizeof words / sizeof *words), nullptr);
    ASSERT_EQ(save_dictionary(&d, dir.c_str(), "MainDict"), nullptr);
}

class Shell;
class Shell : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        message_box_answer = answer_box;
        std::string dir = temp_dir();
        make_dictionaries(dir);
        set_dictionary_directory(dir.c_str());
        ASSERT_EQ(shell_start_up(), nullptr);
        ASSERT_NE(main_window, nullptr);
        settle();
    }

    void SetUp() override
    {
        box_reply = 3;
        clear_modified();
        if (grid.grid_type != 0)
            command_set_grid_type(0);
        new_grid();
        set_size(16, 16);
        clear_modified();
        set_title();
        last_box.clear();
    }

    // Handles what is waiting, without blocking.
    static void settle()
    {
        MSG m;
        for (int i = 0; i < 200 && PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE); i++)
            poll_once();
    }

    static void choose(int menu, int command)
    {
        menu_set_current(menu);
        SendMessageA(main_window, WM_COMMAND, command, 0);
        settle();
    }

    static int menu_state(int menu, int command)
    {
        HMENU h = menu_find(menu)->handle;
        UINT s = GetMenuState(h, command, MF_BYCOMMAND);
        return (s & MF_CHECKED ? MENU_TICKED : 0) | (s & MF_GRAYED ? MENU_GREYED : 0);
    }

    static void open_menu(int menu, int position)
    {
        SendMessageA(main_window, WM_INITMENUPOPUP, (WPARAM)menu_find(menu)->handle, MAKELPARAM(position, FALSE));
    }

    static void press(HWND window, int control)
    {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), (LPARAM)GetDlgItem(window, control));
    }

    // Polls until the job scheduled by a button has run and the normal bar
    // is back; `during` runs once while the job runs (from an idle handler,
    // which also keeps every poll from waiting).
    static void (*during_job)();
    static const error_block *watch(void *)
    {
        if (job_running() && during_job) {
            void (*once)() = during_job;
            during_job = nullptr;
            once();
        }
        return nullptr;
    }
    static void run_job(void (*during)() = nullptr)
    {
        int before = jobs_ended();
        during_job = during;
        register_null(watch, nullptr);
        for (int i = 0; i < 2000000 && jobs_ended() == before; i++)
            poll_once();
        deregister_null(watch, nullptr);
        ASSERT_EQ(jobs_ended(), before + 1) << "the job never ran";
        settle();
    }

    static std::string title()
    {
        char text[300];
        GetWindowTextA(main_window, text, sizeof text);
        return text;
    }

    static void mark_across(int c0, int c1, int r)
    {
        for (int c = c0; c <= c1; c++)
            grid.attributes[grid_cell(c, r)] = (grid.attributes[grid_cell(c, r)] & ~cell_state_mask) | cell_marked;
        recompute_marked_area();
    }

    static void put(int c, int r, const char *text)
    {
        for (int i = 0; text[i]; i++)
            grid.letters[grid_cell(c + i, r)] = (uint8_t)text[i];
    }
};

void (*Shell::during_job)() = nullptr;

TEST_F(Shell, TitleShowsTheLeafNameAndAStarWhenModified)
{
    EXPECT_EQ(title(), "Quillmere");
    set_grid_file_name("C:\\puzzles\\weekly\\week1.qlx");
    EXPECT_EQ(title(), "Quillmere - week1.qlx");
    mark_modified();
    EXPECT_EQ(title(), "Quillmere - week1.qlx*");
    set_grid_file_name("");
    clear_modified();
    set_title();
    EXPECT_EQ(title(), "Quillmere");
}

TEST_F(Shell, MenusGreyAndTickAsTheyOpen)
{
    open_menu(MENU_FILE, 0);
    EXPECT_EQ(menu_state(MENU_FILE, 40028), MENU_GREYED) << "Save before a first save";
    std::string path = temp_dir() + "\\menus.qlx";
    set_grid_file_name(path.c_str());
    open_menu(MENU_FILE, 0);
    EXPECT_EQ(menu_state(MENU_FILE, 40028), 0);

    open_menu(MENU_WORDS, 1);
    EXPECT_EQ(menu_state(MENU_WORDS, 40017), 0) << "Spell Check for a crossword";
    EXPECT_EQ(menu_state(MENU_WORDS, 40020), 0);
    open_menu(MENU_GRID, 2);
    EXPECT_EQ(menu_state(MENU_REFLECT, 40009), 0);
    EXPECT_EQ(menu_state(MENU_GRIDTYPE, 40030), MENU_TICKED);

    choose(MENU_GRIDTYPE, 40031);
    open_menu(MENU_WORDS, 1);
    EXPECT_EQ(menu_state(MENU_WORDS, 40017), MENU_GREYED) << "Spell Check for a Wordsquare";
    open_menu(MENU_GRID, 2);
    for (int id : {40009, 40010, 40023, 40011})
        EXPECT_EQ(menu_state(MENU_REFLECT, id), MENU_GREYED) << id;
    EXPECT_EQ(menu_state(MENU_GRIDTYPE, 40031), MENU_TICKED);
    EXPECT_EQ(menu_state(MENU_GRIDTYPE, 40030), 0);

    choose(MENU_GRID, 40013);
    open_menu(MENU_GRID, 2);
    EXPECT_EQ(menu_state(MENU_GRID, 40013), MENU_TICKED);
    EXPECT_EQ(menu_state(MENU_GRID, 40014), 0);
    choose(MENU_GRID, 40013);
    EXPECT_EQ(grid.case_mode, 0);
}

TEST_F(Shell, GridTypeCommands)
{
    put(0, 0, "abc");
    std::string path = temp_dir() + "\\type.qlx";
    set_grid_file_name(path.c_str());
    choose(MENU_GRIDTYPE, 40030);   // already a crossword: nothing changes
    EXPECT_EQ(grid.letters[grid_cell(1, 0)], 'b');
    EXPECT_STREQ(grid.grid_file_name, path.c_str());
    ASSERT_NE(GetDlgItem(button_bar, BAR_SOLVE), nullptr);

    choose(MENU_GRIDTYPE, 40031);
    EXPECT_EQ(grid.grid_type, 1);
    EXPECT_EQ(grid.letters[grid_cell(1, 0)], ' ');
    EXPECT_STREQ(grid.grid_file_name, "");
    EXPECT_NE(GetDlgItem(button_bar, BAR_WORD), nullptr) << "the Wordsquare bar";
    EXPECT_EQ(title(), "Quillmere");
}

TEST_F(Shell, GridSizeKeepsValuesOutsideTwoTo127)
{
    auto resize = [](const char *w, const char *h, bool ok) {
        choose(MENU_GRID, 40008);
        HWND d = grid_size_dialog();
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(IsWindowEnabled(main_window));
        SetDlgItemTextA(d, 1008, w);
        SetDlgItemTextA(d, 1010, h);
        press(d, ok ? IDOK : IDCANCEL);
        settle();
        EXPECT_EQ(grid_size_dialog(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(main_window));
    };
    set_size(16, 16);
    resize("1", "127", true);
    EXPECT_EQ(grid.width, 16);
    EXPECT_EQ(grid.height, 127);
    resize("200", "128", true);
    EXPECT_EQ(grid.width, 16);
    EXPECT_EQ(grid.height, 127);
    resize("12", "9", false);
    EXPECT_EQ(grid.width, 16) << "Cancel";
    resize("12", "9", true);
    EXPECT_EQ(grid.width, 12);
    EXPECT_EQ(grid.height, 9);
    set_size(16, 16);
}

TEST_F(Shell, DividerDragIsClampedAndPanesFollow)
{
    RECT client, pane;
    GetClientRect(main_window, &client);
    auto drag_to = [](int x) {
        RECT r;
        GetWindowRect(solutions_pane, &r);
        POINT gap = {r.right + 2, (r.top + r.bottom) / 2};
        SetCursorPos(gap.x, gap.y);
        ScreenToClient(main_window, &gap);
        SendMessageA(main_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(gap.x, gap.y));
        SendMessageA(main_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(gap.x + 1, gap.y));
        SendMessageA(main_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((short)x, gap.y));
        SendMessageA(main_window, WM_LBUTTONUP, 0, MAKELPARAM((short)x, gap.y));
        settle();
    };
    drag_to(-400);
    EXPECT_EQ(grid.split_fraction, 3276);
    GetWindowRect(solutions_pane, &pane);
    EXPECT_LE(pane.right - pane.left, client.right * 3276 / 65536);
    drag_to(5000);
    EXPECT_EQ(grid.split_fraction, 62259);
    drag_to(client.right / 2);
    EXPECT_NEAR(grid.split_fraction, 32768, 400);
    GetWindowRect(solutions_pane, &pane);
    EXPECT_NEAR(pane.right - pane.left, client.right / 2 - 2, 2);
    grid.split_fraction = 20480;
    layout_now();
}

TEST_F(Shell, SolveListsAndAClickAppliesASolution)
{
    press(button_bar, BAR_SOLVE);
    EXPECT_EQ(std::string(last_box).find("Need marked word!") != std::string::npos, true) << last_box;

    mark_across(0, 4, 2);
    press(button_bar, BAR_SOLVE);
    run_job();
    ASSERT_EQ(grid.word_count, 7) << "the five-letter words";
    EXPECT_STREQ(solution_text(list_solution_row(0)[0]), "apple");
    ASSERT_NE(GetDlgItem(button_bar, BAR_SOLVE), nullptr) << "the normal bar is back";

    // A click on the second row of the pane writes its word.
    SendMessageA(solutions_pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, px_from_os_y(metrics.line_height) + 4));
    SendMessageA(solutions_pane, WM_LBUTTONUP, 0, MAKELPARAM(10, px_from_os_y(metrics.line_height) + 4));
    settle();
    char word[8] = {};
    for (int c = 0; c < 5; c++)
        word[c] = (char)grid.letters[grid_cell(c, 2)];
    EXPECT_STREQ(word, "mango");
    EXPECT_TRUE(is_modified());

    // The grid pane paints the letters: dark pixels inside the cells.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    int w = px_from_os_x(grid.width * grid.square_size) + 2, h = px_from_os_y(grid.height * grid.square_size) + 2;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    SelectObject(dc, bitmap);
    grid_pane_paint(dc, 0, 0, 0, -grid.height * grid.square_size, grid.width * grid.square_size, 0);
    int sq = px_from_os_x(grid.square_size), dark_in_word = 0, dark_in_empty = 0;
    for (int x = 3; x < sq - 3; x++)
        for (int y = 3; y < sq - 3; y++) {
            dark_in_word += GetRValue(GetPixel(dc, 0 * sq + x, 2 * sq + y)) < 100;
            dark_in_empty += GetRValue(GetPixel(dc, 0 * sq + x, 5 * sq + y)) < 100;
        }
    EXPECT_GT(dark_in_word, 5) << "the letter s";
    EXPECT_EQ(dark_in_empty, 0);
    DeleteDC(dc);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
}

TEST_F(Shell, AnagramErrorsAndResults)
{
    auto anagram = [](const char *letters) {
        SetDlgItemTextA(button_bar, BAR_ANAGRAM_TEXT, letters);
        last_box.clear();
        press(button_bar, BAR_ANAGRAM);
    };
    mark_across(0, 2, 0);
    mark_across(0, 2, 2);
    anagram("");
    EXPECT_NE(last_box.find("An anagram must be a single marked word!"), std::string::npos) << last_box;
    new_grid();
    mark_across(0, 3, 0);
    anagram("abc");
    EXPECT_NE(last_box.find("same number of characters"), std::string::npos) << last_box;
    put(0, 0, "ca");
    anagram("");
    EXPECT_NE(last_box.find("Can't have space in anagram"), std::string::npos) << last_box;

    new_grid();
    mark_across(0, 5, 0);
    anagram("tinsel");
    run_job();
    EXPECT_EQ(grid.word_count, 3) << "enlist, listen, silent";
    char text[40] = "";
    GetDlgItemTextA(button_bar, BAR_ANAGRAM_TEXT, text, sizeof text);
    EXPECT_STREQ(text, "tinsel") << "the letters survive the Stop bar";
}

void press_stop() { PostMessageA(button_bar, WM_COMMAND, MAKEWPARAM(BAR_STOP, BN_CLICKED), (LPARAM)GetDlgItem(button_bar, BAR_STOP)); }

TEST_F(Shell, WordsquareWordsNewSolveAndStop)
{
    choose(MENU_GRIDTYPE, 40031);
    set_size(8, 8);
    for (const char *w : {"zebra", "apple", "Mango"}) {
        SetDlgItemTextA(button_bar, BAR_WORD, w);
        SetFocus(GetDlgItem(button_bar, BAR_WORD));
        SendMessageA(button_bar, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);   // Return in the field
    }
    ASSERT_EQ(grid.word_count, 3);
    char field[40] = "x";
    GetDlgItemTextA(button_bar, BAR_WORD, field, sizeof field);
    EXPECT_STREQ(field, "");

    // Select one, Ctrl-less Select on it again keeps it; Adjust drops it.
    int row_px = px_from_os_y(metrics.line_height);
    auto click_row = [&](int row, UINT down, UINT up) {
        SendMessageA(solutions_pane, down, 0, MAKELPARAM(10, row * row_px + row_px / 2 + 1));
        SendMessageA(solutions_pane, up, 0, MAKELPARAM(10, row * row_px + row_px / 2 + 1));
        settle();
    };
    click_row(1, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_EQ(list_word(1)->selected, 1u);
    click_row(1, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_EQ(list_word(1)->selected, 1u);
    click_row(1, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(list_word(1)->selected, 0u);
    click_row(0, WM_LBUTTONDOWN, WM_LBUTTONUP);
    press(button_bar, BAR_DELETE);
    EXPECT_EQ(grid.word_count, 2);

    // New, stopped as soon as it runs: the normal bar comes back.
    press(button_bar, BAR_NEW);
    run_job(press_stop);
    EXPECT_NE(GetDlgItem(button_bar, BAR_NEW), nullptr);
    EXPECT_EQ(stop_requested(), 0);

    // Solve finds words placed in the grid, sorted.
    clear_wordsquare_area();
    put(0, 0, "stone");
    put(0, 3, "zebra");
    grid.min_word_length = 5;
    press(button_bar, BAR_WORDSQUARE_SOLVE);
    run_job();
    ASSERT_EQ(grid.word_count, 2);
    EXPECT_STREQ(list_word(0)->text, "stone");
    EXPECT_STREQ(list_word(grid.word_count - 1)->text, "zebra");
}

// A dropped file, as the shell hands it over (DROPFILES in global memory).
void drop(HWND window, const std::string &path)
{
    size_t size = sizeof(DROPFILES) + path.size() + 2;
    HGLOBAL block = GlobalAlloc(GHND, size);
    auto *d = static_cast<DROPFILES *>(GlobalLock(block));
    d->pFiles = sizeof(DROPFILES);
    d->pt = {20, 20};
    memcpy(reinterpret_cast<char *>(d) + sizeof(DROPFILES), path.c_str(), path.size());
    GlobalUnlock(block);
    SendMessageA(window, WM_DROPFILES, (WPARAM)block, 0);
}

TEST_F(Shell, TextDropsOnlyOnAWordsquare)
{
    std::string path = temp_dir() + "\\list.txt";
    FILE *f = fopen(path.c_str(), "wb");
    fputs("Tree\nbig house\n", f);
    fclose(f);
    drop(grid_pane, path);
    settle();
    EXPECT_EQ(grid.word_count, 0) << "refused on a crossword";
    choose(MENU_GRIDTYPE, 40031);
    drop(solutions_pane, path);
    settle();
    ASSERT_EQ(grid.word_count, 2);
    EXPECT_STREQ(list_word(0)->text, "Tree");
    EXPECT_STREQ(list_word(1)->text, "bighouse");
}

TEST_F(Shell, QuittingAsksOnlyForAnUnsavedGrid)
{
    box_reply = 4;   // No
    mark_modified();
    last_box.clear();
    EXPECT_EQ(confirm_quit(), 1);
    EXPECT_NE(last_box.find("Grid edited and not saved. Continue?"), std::string::npos);
    box_reply = 3;
    EXPECT_EQ(confirm_quit(), 0);
    clear_modified();
    last_box.clear();
    EXPECT_EQ(confirm_quit(), 0);
    EXPECT_EQ(last_box, "") << "nothing asked for an unmodified grid";
}

}  // namespace
