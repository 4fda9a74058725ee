// The Choices and Customise windows in the running shell: opened from
// their menu commands, typed into, pressed and clicked as a user would,
// checked through the choices, the grid, the choices file and the pixels
// of their samples. The platform's choosers are replaced by stand-ins that
// pick known values, except in the one test that opens the real ones.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/spell_check.h"
#include "app/dictionary/search.h"
#include "app/grid/grid.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/grid_pane.h"
#include "app/shell/choices.h"
#include "app/shell/shell.h"
#include "app/shell/word_list.h"
#include "toolkit/events/events.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/report.h"

namespace {

std::string last_box;
int answer_box(int, int, const char *text) { return last_box = text, 1; }

std::string temp_dir(const char *leaf)
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    std::string dir = std::string(base) + leaf;
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\";
}

std::string folder, choices_file;   // the choices folder of these tests, the user's file

// Stand-ins for the choosers: the next colour and font picked.
uint32_t next_colour;
font_spec next_font;
int picks;
bool fake_colour(HWND, uint32_t *colour) { return picks++, *colour = next_colour, true; }
bool fake_font(HWND, font_spec *font) { return picks++, *font = next_font, true; }

font_spec font(const char *face, int height, int weight, int italic)
{
    font_spec f{height, 0, {}, 0, (uint32_t)weight, (uint32_t)italic};
    strcpy(f.face, face);
    return f;
}

// A control as it paints itself, in a memory bitmap.
struct control_pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> px;
    COLORREF middle() const { return px[(size_t)(height / 2 * width + width / 2)]; }
    // Pixels within `within` of `c` in each of red, green and blue (text
    // may be smoothed at its edges).
    int count_near(COLORREF c, int within = 1) const
    {
        auto close_to = [within](int a, int b) { return a - b < within && b - a < within; };
        int n = 0;
        for (COLORREF p : px)
            n += close_to(GetRValue(p), GetRValue(c)) && close_to(GetGValue(p), GetGValue(c)) &&
                 close_to(GetBValue(p), GetBValue(c));
        return n;
    }
};

control_pixels paint_of(HWND window, int icon)
{
    control_pixels p;
    HWND c = GetDlgItem(window, icon);
    RECT r;
    GetClientRect(c, &r);
    p.width = r.right;
    p.height = r.bottom;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP b = CreateCompatibleBitmap(screen, p.width, p.height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, b);
    SendMessageA(c, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT | PRF_ERASEBKGND);
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++)
            p.px.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(b);
    DeleteDC(dc);
    return p;
}

std::vector<unsigned char> file_bytes(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

int32_t word_in(const std::vector<unsigned char> &b, size_t at)
{
    return (int32_t)(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24);
}

// The text height the solutions pane should get from a font record.
int char_height_of(const font_spec &f)
{
    HDC screen = GetDC(nullptr);
    HFONT h = choices_make_font(f, screen);
    HGDIOBJ old = SelectObject(screen, h);
    TEXTMETRICA tm;
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, old);
    DeleteObject(h);
    ReleaseDC(nullptr, screen);
    return os_from_px_y(tm.tmHeight);
}

class Choices : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        message_box_answer = answer_box;
        folder = temp_dir("qm_choices_test");
        choices_folder = folder.c_str();
        char user[257];
        ASSERT_EQ(grid_ui_login_name(user, sizeof user), 0);
        choices_file = folder + user + ".dat";
        DeleteFileA(choices_file.c_str());
        std::string dicts = temp_dir("qm_choices_test_dicts");
        static const char *const words[] = {"apple", "wonder"};
        Dictionary d{};
        ASSERT_EQ(add_words_bulk(&d, words, 2), nullptr);
        ASSERT_EQ(save_dictionary(&d, dicts.c_str(), "MainDict"), nullptr);
        clear_dictionary(&d);
        set_dictionary_directory(dicts.c_str());
        ASSERT_EQ(shell_start_up(), nullptr);
        settle();
    }

    void SetUp() override
    {
        pick_colour = fake_colour;
        pick_font = fake_font;
        picks = 0;
        last_box.clear();
        clear_modified();   // so that the type changes without a question
        if (grid.grid_type != 0)
            command_set_grid_type(0);
        restore_defaults();
        update_square_size();
        clear_modified();
    }

    static void settle()
    {
        MSG m;
        for (int i = 0; i < 200 && PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE); i++)
            poll_once();
    }

    // A button pressed; a sample clicked (pressed and released over it); a
    // check box clicked (it ticks itself, then tells its window); a field
    // typed into.
    static void press(HWND w, int id)
    {
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(w, id));
        settle();
    }
    static void click(HWND w, int id)
    {
        SendDlgItemMessageA(w, id, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        SendDlgItemMessageA(w, id, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        settle();
    }
    static void tick(HWND w, int id)
    {
        SendDlgItemMessageA(w, id, BM_CLICK, 0, 0);
        settle();
    }
    static void type(HWND w, int id, const char *text)
    {
        SetDlgItemTextA(w, id, text);
        settle();
    }
    static std::string text_of(HWND w, int id)
    {
        char text[64] = "";
        GetDlgItemTextA(w, id, text, sizeof text);
        return text;
    }

    // The window from its menu command; the main window is disabled.
    static HWND open(int menu, int command, HWND (*window)())
    {
        menu_set_current(menu);
        SendMessageA(main_window, WM_COMMAND, command, 0);
        settle();
        EXPECT_NE(window(), nullptr);
        EXPECT_FALSE(IsWindowEnabled(main_window));
        return window();
    }
    static HWND open_choices() { return open(MENU_HELP, 40027, choices_window); }
    static HWND open_customise() { return open(MENU_GRID, 40026, customise_window); }
};

TEST_F(Choices, BuiltInWithoutAFileMaxSolutionsClampedAndSaveSurvivesARestart)
{
    // A start: the built-in values, then the file is read; the fonts are
    // set again before it, whatever they held.
    DeleteFileA(choices_file.c_str());
    choices = choices_built_in();
    strcpy(choices.solutions_font.face, "Courier New");
    choices.dictionary_font.height = 300;
    read_choices();
    for (const font_spec *f : {&choices.solutions_font, &choices.dictionary_font}) {
        EXPECT_STREQ(f->face, "Arial");
        EXPECT_EQ(f->height, 128);
        EXPECT_EQ(f->width, 0);
        EXPECT_EQ(f->weight, 400u);
    }
    EXPECT_EQ(metrics.char_height, char_height_of(font("Arial", 128, 400, 0)));
    auto enter = [](const char *text, int button) {
        HWND w = open_choices();
        type(w, 1022, text);
        press(w, button);
        EXPECT_EQ(choices_window(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(main_window));
    };
    EXPECT_EQ(text_of(open_choices(), 1022), "1000");
    press(choices_window(), IDCANCEL);
    enter("5", IDOK);
    EXPECT_EQ(maximum_solutions, 20);
    EXPECT_EQ(text_of(open_choices(), 1022), "20");
    press(choices_window(), IDCANCEL);
    enter("2000000", IDOK);
    EXPECT_EQ(maximum_solutions, 1000000);
    enter("many", IDOK);
    EXPECT_EQ(maximum_solutions, 1000000) << "text that is no number";
    next_colour = 0x00FF0000u;
    click(open_choices(), 1016);
    enter("300", IDCANCEL);
    EXPECT_EQ(maximum_solutions, 1000000);
    EXPECT_EQ(choices.cursor_colour, 0xFFBB0000u) << "Cancel drops the colour picked";
    EXPECT_EQ(GetFileAttributesA(choices_file.c_str()), INVALID_FILE_ATTRIBUTES) << "only Save writes";

    // Pick both colours (the sample or its button) and both fonts; the
    // samples show them.
    HWND w = open_choices();
    next_colour = 0x00FF0000u;   // green
    click(w, 1016);
    next_colour = 0xFF000000u;   // blue
    press(w, 1012);
    next_font = font("Courier New", 160, 700, 0);
    press(w, 1011);
    next_font = font("Times New Roman", 320, 400, 1);
    click(w, 1018);
    EXPECT_EQ(picks, 5);
    EXPECT_EQ(paint_of(w, 1016).middle(), RGB(0, 255, 0));
    EXPECT_EQ(paint_of(w, 1019).middle(), RGB(0, 0, 255));
    control_pixels sample = paint_of(w, 1018);
    EXPECT_GT(sample.count_near(RGB(0, 0, 0), 60), 20) << "the sample text, black";
    EXPECT_GT(sample.count_near(RGB(255, 255, 255)), sample.width * sample.height / 3) << "on white";
    type(w, 1022, "4321");
    grid.split_fraction = 30000;
    press(w, 3);   // Save
    EXPECT_EQ(choices_window(), nullptr) << last_box;
    EXPECT_EQ(grid_pane_cursor_colour, 0x00FF0000u);
    int height = char_height_of(choices.solutions_font);
    EXPECT_EQ(metrics.char_height, height);
    EXPECT_GT(height, 40) << "20 point";

    // The file, at its fields.
    std::vector<unsigned char> b = file_bytes(choices_file);
    ASSERT_EQ(b.size(), 184u);
    EXPECT_EQ(word_in(b, 0), 160);
    EXPECT_STREQ((const char *)&b[8], "Courier New");
    EXPECT_EQ(word_in(b, 76), 700);
    EXPECT_EQ(word_in(b, 84), 320);
    EXPECT_STREQ((const char *)&b[92], "Times New Roman");
    EXPECT_EQ(word_in(b, 164), 1);
    EXPECT_EQ((uint32_t)word_in(b, 168), 0x00FF0000u);
    EXPECT_EQ((uint32_t)word_in(b, 172), 0xFF000000u);
    EXPECT_EQ(word_in(b, 176), 30000);
    EXPECT_EQ(word_in(b, 180), 4321);

    // A restart with the built-in values reads them all back.
    choices = choices_built_in();
    grid.split_fraction = 0;
    read_choices();
    EXPECT_STREQ(choices.dictionary_font.face, "Courier New");
    EXPECT_EQ(choices.dictionary_font.weight, 700u);
    EXPECT_EQ(choices.solutions_font.italic, 1u);
    EXPECT_EQ(choices.cursor_colour, 0x00FF0000u);
    EXPECT_EQ(choices.selected_colour, 0xFF000000u);
    EXPECT_EQ(grid.split_fraction, 30000);
    EXPECT_EQ(maximum_solutions, 4321);
    EXPECT_EQ(metrics.char_height, height);

    // A save that cannot be written is reported, keeps the window open and
    // leaves the old file as it was.
    HANDLE lock = CreateFileA(choices_file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    w = open_choices();
    type(w, 1022, "999");
    press(w, 3);
    EXPECT_NE(last_box.find("could not be saved"), std::string::npos) << last_box;
    EXPECT_EQ(choices_window(), w);
    CloseHandle(lock);
    EXPECT_EQ(file_bytes(choices_file), b);
    press(w, IDCANCEL);
    DeleteFileA(choices_file.c_str());
    read_choices();
}

// A damaged file: a divider position and a maximum outside their ranges
// are not taken (a negative maximum would stop every search at once).
TEST_F(Choices, ADamagedFileKeepsTheDividerAndMaximumInRange)
{
    std::vector<unsigned char> b(184, 0);
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++)
            b[at + i] = (unsigned char)(v >> (8 * i));
    };
    put(0, 160);
    memcpy(&b[8], "Arial", 5);
    put(76, 400);
    put(84, 320);
    memcpy(&b[92], "Arial", 5);
    put(160, 400);
    put(176, 0x7FFFFFFFu);
    put(180, (uint32_t)-5);
    {
        std::ofstream f(choices_file, std::ios::binary);
        f.write((const char *)b.data(), (std::streamsize)b.size());
    }
    choices = choices_built_in();
    grid.split_fraction = 20480;
    read_choices();
    EXPECT_EQ(grid.split_fraction, 20480);
    EXPECT_EQ(maximum_solutions, 1000);
    EXPECT_EQ(choices.dictionary_font.height, 160);
    DeleteFileA(choices_file.c_str());
    read_choices();
}

TEST_F(Choices, CustomiseClampsTheSquareAndOnlyOkModifiesTheGrid)
{
    HWND w = open_customise();
    ASSERT_NE(GetDlgItem(w, 1011), nullptr) << "the crossword form";
    EXPECT_EQ(text_of(w, 1007), "180");
    type(w, 1007, "100");
    next_colour = 0x0000FF00u;
    click(w, 1009);
    press(w, IDCANCEL);
    EXPECT_EQ(customise_window(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main_window));
    EXPECT_EQ(grid.square_percent, 180);
    EXPECT_EQ(grid.grid_colour, 0u);
    EXPECT_FALSE(is_modified()) << "Cancel";

    w = open_customise();
    type(w, 1007, "100");
    next_colour = 0x0000FF00u;
    click(w, 1009);               // grid colour: red
    next_colour = 0x00FF0000u;
    press(w, 1019);               // text colour: green
    next_colour = 0x00000000u;
    press(w, 1020);               // background: black
    control_pixels text = paint_of(w, 1013), clue = paint_of(w, 1016);
    EXPECT_GT(text.count_near(RGB(0, 255, 0), 60), 20) << "the font sample in the text colour";
    EXPECT_GT(text.count_near(RGB(0, 0, 0)), text.width * text.height / 3) << "on the background";
    // The clue number font's 4-point text on black is mostly smoothed.
    EXPECT_GT(clue.count_near(RGB(0, 255, 0), 160), 10);
    EXPECT_LT(clue.count_near(RGB(0, 255, 0), 160), text.count_near(RGB(0, 255, 0), 160));
    next_font = font("Times New Roman", 256, 400, 0);
    press(w, 1018);
    press(w, IDOK);
    EXPECT_EQ(customise_window(), nullptr);
    EXPECT_EQ(grid.square_percent, 150) << "100 becomes 150";
    EXPECT_EQ(grid.grid_colour, 0x0000FF00u);
    EXPECT_EQ(grid.text_colour, 0x00FF0000u);
    EXPECT_EQ(grid.background_colour, 0u);
    EXPECT_EQ(grid.grid_font.height, 256);
    EXPECT_EQ(grid.square_size, 256 * 180 * 150 / 115200);
    int extent[4];
    window_get_extent(grid_pane, extent);
    EXPECT_EQ(extent[2] - extent[0], grid.width * grid.square_size);
    EXPECT_EQ(extent[3] - extent[1], grid.height * grid.square_size);
    EXPECT_TRUE(is_modified());

    // OK marks the grid modified even when nothing changed; 1000 is 400.
    clear_modified();
    press(open_customise(), IDOK);
    EXPECT_TRUE(is_modified());
    type(open_customise(), 1007, "1000");
    press(customise_window(), IDOK);
    EXPECT_EQ(grid.square_percent, 400);
}

TEST_F(Choices, CustomiseForAWordsquareSetsLengthDirectionsAndSolutions)
{
    command_set_grid_type(1);
    grid.fill_directions = 0;   // counts as the first four
    grid.min_word_length = 5;
    grid.show_solutions = 1;
    clear_modified();
    HWND w = open_customise();
    ASSERT_NE(GetDlgItem(w, 1032), nullptr) << "the Wordsquare form";
    EXPECT_EQ(GetDlgItem(w, 1011), nullptr);
    EXPECT_EQ(text_of(w, 1008), "5");
    EXPECT_EQ(IsDlgButtonChecked(w, 1032), BST_CHECKED);
    for (int icon : {1030, 1034, 1033, 1029, 1028, 1031, 1036, 1035})
        EXPECT_EQ(IsDlgButtonChecked(w, icon), icon == 1030 || icon == 1034 || icon == 1033 || icon == 1029) << icon;
    tick(w, 1030);   // Left off
    tick(w, 1031);   // Right on
    tick(w, 1035);   // Up+Right on
    tick(w, 1032);   // Show solutions off
    type(w, 1008, "40");
    type(w, 1007, "149");
    press(w, IDOK);
    EXPECT_EQ(grid.fill_directions, 15u - 1 + 32 + 128);
    EXPECT_EQ(grid.show_solutions, 0);
    EXPECT_EQ(grid.min_word_length, 12);
    EXPECT_EQ(grid.square_percent, 150);
    EXPECT_TRUE(is_modified());
    type(open_customise(), 1008, "0");
    press(customise_window(), IDOK);
    EXPECT_EQ(grid.min_word_length, 1);
}

TEST_F(Choices, NewFontsReachAnOpenSpellCheckList)
{
    set_size(5, 5);
    for (int c = 0; c < 5; c++)
        grid.letters[grid_cell(c, 0)] = (uint8_t)"wondr"[c];
    menu_set_current(MENU_WORDS);
    SendMessageA(main_window, WM_COMMAND, 40017, 0);
    settle();
    ASSERT_NE(spell_check_window(), nullptr) << "opened on \"wondr\"";
    int before[4], after[4];
    window_get_extent(spell_check_list(), before);
    next_font = font("Arial", 400, 400, 0);   // 25 point
    press(open_choices(), 1011);
    press(choices_window(), IDOK);
    EXPECT_STREQ(word_list_font.face, "Arial");
    EXPECT_EQ(word_list_font.height, 400);
    window_get_extent(spell_check_list(), after);
    EXPECT_GT(after[2] - after[0], 2 * (before[2] - before[0])) << "32 wider characters";
    EXPECT_GT(after[3] - after[1], 2 * (before[3] - before[1])) << "taller rows";
    close_spell_check();
    clear_modified();
    read_choices();
}

// The real choosers, each answered with OK as soon as it shows.
HWND chooser_seen;
BOOL CALLBACK find_chooser(HWND w, LPARAM)
{
    char name[16];
    GetClassNameA(w, name, sizeof name);
    if (strcmp(name, "#32770") || !IsWindowVisible(w))
        return TRUE;
    chooser_seen = w;
    return FALSE;
}
void CALLBACK answer_chooser(HWND, UINT, UINT_PTR id, DWORD)
{
    chooser_seen = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_chooser, 0);
    if (!chooser_seen)
        return;
    KillTimer(nullptr, id);
    PostMessageA(chooser_seen, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(chooser_seen, IDOK));
}

TEST_F(Choices, TheRealChoosersOpenOnTheWorkingCopies)
{
    pick_colour = platform_pick_colour;
    pick_font = platform_pick_font;
    choices.cursor_colour = 0x3366CC00u;
    HWND w = open_choices();
    SetTimer(nullptr, 0, 20, answer_chooser);
    press(w, 1033);
    ASSERT_NE(chooser_seen, nullptr) << "the colour chooser showed";
    EXPECT_FALSE(IsWindow(chooser_seen));
    EXPECT_EQ(paint_of(w, 1016).middle(), RGB(0xCC, 0x66, 0x33)) << "started on the colour, which OK kept";
    SetTimer(nullptr, 0, 20, answer_chooser);
    press(w, 1011);
    ASSERT_NE(chooser_seen, nullptr) << "the font chooser showed";
    EXPECT_FALSE(IsWindow(chooser_seen));
    press(w, IDOK);
    EXPECT_EQ(choices.cursor_colour, 0x3366CC00u);
    EXPECT_EQ(choices.dictionary_font.height, 128) << "8 point through the chooser's pixels";
    EXPECT_EQ(choices.dictionary_font.width, 0);
    read_choices();
}

}  // namespace
