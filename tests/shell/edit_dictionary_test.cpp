// The Edit Dictionary window in the real program, driven by the messages a
// user's typing, clicks, keys, drops and dialogue choices send; checked
// through the dictionary, the window's fields and the painted list.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/dictionary/dictionary_set.h"
#include "app/grid/grid.h"
#include "app/shell/shell.h"
#include "app/shell/word_list.h"
#include "toolkit/events/events.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/report.h"

namespace {

typedef std::vector<std::string> words_t;
const char *const start_words[] = {"apple", "cat", "dog", "mango", "zebra"};
std::string last_box, boxes;   // the last question; all of them, one a line
int box_reply = 3;   // Yes

int answer_box(int, int, const char *text) { return last_box = text, boxes += last_box + "\n", box_reply; }

std::string temp_dir()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    CreateDirectoryA((std::string(base) + "qm_edit_test").c_str(), nullptr);
    return std::string(base) + "qm_edit_test";
}

void write_file(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string read_file(const std::string &path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// The next file dialogue is answered with `path` and OK, by a timer that
// runs inside the dialogue's own loop.
std::string chosen;
BOOL CALLBACK find_dialog(HWND window, LPARAM result)
{
    char name[16];
    GetClassNameA(window, name, sizeof name);
    bool found = strcmp(name, "#32770") == 0 && IsWindowVisible(window);
    if (found)
        *reinterpret_cast<HWND *>(result) = window;
    return !found;
}
void CALLBACK choose_file(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_dialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(chosen.c_str()));
    SendMessageA(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(chosen.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}
void when_asked_choose(const std::string &path)
{
    chosen = path;
    SetTimer(nullptr, 0, 50, choose_file);
}

// A dropped file, as the shell hands it over (DROPFILES in global memory).
void drop(HWND window, const std::string &path)
{
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
    auto *d = static_cast<DROPFILES *>(GlobalLock(block));
    d->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char *>(d + 1), path.c_str(), path.size());
    GlobalUnlock(block);
    SendMessageA(window, WM_DROPFILES, (WPARAM)block, 0);
}

class EditDictionary : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static bool started = false;   // the program starts once per process
        if (started)
            return;
        started = true;
        message_box_answer = answer_box;
        std::string dir = temp_dir();
        DeleteFileA((dir + "\\Copy.dic").c_str());
        set_dictionary_directory(dir.c_str());
        ASSERT_EQ(shell_start_up(), nullptr);
        settle();
    }

    // Every test starts from the five words in MainDict's file.
    void SetUp() override
    {
        box_reply = 3;
        last_box.clear();
        if (edit_window_state().window)
            press(IDCANCEL);
        Dictionary d{};
        ASSERT_EQ(add_words_bulk(&d, start_words, 5), nullptr);
        ASSERT_EQ(save_dictionary(&d, temp_dir().c_str(), "MainDict"), nullptr);
        clear_dictionary(&d);
        ASSERT_EQ(discover_dictionaries(), nullptr);
        slot = find_slot("MainDict");
        ASSERT_GE(slot, 0);
        ASSERT_EQ(edit_slot(slot), nullptr);
        settle();
        view = edit_window_state();
        ASSERT_NE(view.window, nullptr);
    }

    void TearDown() override
    {
        box_reply = 3;
        if (edit_window_state().window)
            press(IDCANCEL);
    }

    static void settle()
    {
        MSG m;
        for (int i = 0; i < 200 && PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE); i++)
            poll_once();
    }
    static void press(int control)
    {
        HWND w = edit_window_state().window;
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), (LPARAM)GetDlgItem(w, control));
        settle();
    }
    void type(const char *text) { SetDlgItemTextA(view.window, 1017, text), settle(); }
    std::string field(int control = 1017)
    {
        char text[256] = "";
        GetDlgItemTextA(view.window, control, text, sizeof text);
        return text;
    }
    int selected() { return edit_window_state().selected; }
    // A key as the keyboard gives it to the window with the focus.
    void key(HWND to, int virtual_key)
    {
        PostMessageA(to, WM_KEYDOWN, virtual_key, 1);
        PostMessageA(to, WM_KEYUP, virtual_key, 0xC0000001);
        settle();
    }
    void click_row(int row)
    {
        int h = px_from_os_y(view.row_height);
        SendMessageA(view.pane, WM_LBUTTONDOWN, 0, MAKELPARAM(10, row * h + h / 2));
        SendMessageA(view.pane, WM_LBUTTONUP, 0, MAKELPARAM(10, row * h + h / 2));
        settle();
    }
    void dict_menu(int command, const std::string &file)
    {
        when_asked_choose(file);
        menu_set_current(MENU_DICT_SUB);
        SendMessageA(view.window, WM_COMMAND, command, 0);
        settle();
    }

    // The pane's pixels as they are on the screen now, and its width.
    std::vector<uint32_t> pixels(int *width = nullptr)
    {
        RECT r;
        GetClientRect(view.pane, &r);
        HDC dc = GetDC(view.pane), memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        std::vector<uint32_t> all((size_t)r.right * r.bottom);
        GetDIBits(memory, bitmap, 0, r.bottom, all.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(view.pane, dc);
        if (width)
            *width = r.right;
        return all;
    }

    // The share of dark pixels in a row's band where the list shows it.
    double dark_share(int row)
    {
        UpdateWindow(view.pane);
        int width, scroll = window_data(view.pane)->scroll_y, dark = 0, all = 0;
        std::vector<uint32_t> p = pixels(&width);
        int top = px_from_os_y(row * view.row_height + scroll), bottom = px_from_os_y((row + 1) * view.row_height + scroll);
        for (int y = top + 2; y < bottom - 2; y++)
            for (int x = 2; x < width - 2 && y >= 0 && (size_t)(y * width + x) < p.size(); x++, all++)
                dark += (p[y * width + x] & 0xFF) < 100;
        return all ? (double)dark / all : 0;
    }

    // What the window's own updates left on the screen is what a complete
    // repaint gives: nothing stale is left in sight.
    void expect_painted_as_new()
    {
        UpdateWindow(view.pane);
        std::vector<uint32_t> shown = pixels();
        InvalidateRect(view.pane, nullptr, FALSE);
        UpdateWindow(view.pane);
        EXPECT_TRUE(shown == pixels()) << "stale rows in sight";
    }

    Dictionary &dictionary() { return dictionary_set.slots[slot].dictionary; }

    words_t words()
    {
        words_t all;
        WordCursor c;
        if (word_at(&dictionary(), 0, &c))
            do
                all.push_back(c.text);
            while (next_word(&dictionary(), &c));
        return all;
    }

    int slot = -1;
    edit_window_view view{};
};

TEST_F(EditDictionary, OpensWithTitleCountAndAFieldThatFindsAsItIsTyped)
{
    char title[100];
    GetWindowTextA(view.window, title, sizeof title);
    EXPECT_STREQ(title, "Edit (MainDict)");
    EXPECT_EQ(field(1015), "5");
    EXPECT_EQ(view.selected, -1);

    type("man");
    EXPECT_EQ(selected(), -1) << "a prefix is not a word";
    type("mango");
    EXPECT_EQ(selected(), 3);
    EXPECT_GT(dark_share(3), 0.5) << "the selected row is filled";
    EXPECT_LT(dark_share(2), 0.2);

    // Typing Cat when the dictionary holds cat selects nothing; Add puts
    // Cat in cat's place, and the field then selects it.
    type("Cat");
    EXPECT_EQ(selected(), -1);
    press(1005);
    EXPECT_EQ(words(), (words_t{"apple", "Cat", "dog", "mango", "zebra"}));
    EXPECT_EQ(selected(), 1);
    EXPECT_EQ(field(1015), "5");
    EXPECT_EQ(dictionary_set.slots[slot].changed, 1);

    // A grid opened meanwhile may unload the dictionary: an edit reads it
    // again first rather than going into an empty store.
    ASSERT_EQ(save_changed_dictionaries(), nullptr);
    unload_slot(slot);
    ASSERT_EQ(dictionary().words, 0u);

    // Return in the word field adds too.
    type("eel");
    SetFocus(GetDlgItem(view.window, 1017));
    key(GetDlgItem(view.window, 1017), VK_RETURN);
    EXPECT_EQ(field(1015), "6");
    EXPECT_EQ(words(), (words_t{"apple", "Cat", "dog", "eel", "mango", "zebra"}));
    EXPECT_NE(edit_window_state().window, nullptr) << "Return in the field is not OK";
}

TEST_F(EditDictionary, DeleteNeedsASelectedRowThatClicksAndArrowsChoose)
{
    type("zzz");
    press(1013);
    EXPECT_EQ(words().size(), 5u) << "nothing selected";
    EXPECT_EQ(dictionary_set.slots[slot].changed, 0);

    click_row(1);
    EXPECT_EQ(selected(), 1);
    EXPECT_EQ(edit_window_state().focus, 1);
    EXPECT_EQ(field(), "cat");
    EXPECT_EQ(GetFocus(), view.pane);
    key(view.pane, VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(view.window, 1012)) << "Tab goes on from the list to OK";
    EXPECT_EQ(edit_window_state().focus, -1);
    SetFocus(view.pane);
    settle();
    EXPECT_EQ(edit_window_state().focus, 1) << "the focus row comes back on the selection";

    key(view.pane, VK_DOWN);
    EXPECT_EQ(selected(), 2);
    EXPECT_EQ(field(), "dog");
    for (int i = 0; i < 3; i++)
        key(view.pane, VK_UP);
    EXPECT_EQ(selected(), 0) << "clamped at the first word";
    EXPECT_EQ(field(), "apple");

    click_row(9);
    EXPECT_EQ(selected(), 0) << "below the last word nothing changes";

    press(1013);
    EXPECT_EQ(words(), (words_t{"cat", "dog", "mango", "zebra"}));
    EXPECT_EQ(field(1015), "4");
    EXPECT_EQ(selected(), -1);
    EXPECT_EQ(dictionary_set.slots[slot].changed, 1);

    // A letter typed on the list goes on the end of the word, in the
    // field, which takes the focus (and with it the focus row goes).
    click_row(2);
    EXPECT_EQ(field(), "mango");
    PostMessageA(view.pane, WM_CHAR, 's', 1);
    settle();
    EXPECT_EQ(field(), "mangos");
    EXPECT_EQ(GetFocus(), GetDlgItem(view.window, 1017));
    EXPECT_EQ(edit_window_state().focus, -1);
    EXPECT_EQ(selected(), -1);
}

TEST_F(EditDictionary, DroppedTextFilesImportOneWordPerLine)
{
    std::string path = temp_dir() + "\\words.txt";
    write_file(path, "one\r\n\r\nTwo\r\n\r\n\r\nNew York\r\n" + std::string(40, 'q') + "\r\nO'Neill\r\n\r\n");
    drop(view.pane, path);
    settle();
    EXPECT_EQ(words(), (words_t{"apple", "cat", "dog", "mango", "Newyork", "one", "Oneill", "Two",
                                                 "zebra"}));
    EXPECT_EQ(field(1015), "9");
    EXPECT_EQ(dictionary_set.slots[slot].changed, 1);

    std::string other = temp_dir() + "\\grid.qlx";
    write_file(other, "not words\r\n");
    drop(view.pane, other);
    settle();
    EXPECT_EQ(words().size(), 9u) << "only text files are taken";
}

// Only the rows in sight are drawn: typing a word far down the list
// scrolls to it and paints its row selected there.
TEST_F(EditDictionary, TypingScrollsALongListToTheWord)
{
    std::string text;
    for (char a = 'a'; a <= 'z'; a++)
        for (char b = 'a'; b <= 'z'; b++)
            for (char c = 'a'; c <= 'z'; c++)
                text += std::string("q") + a + b + c + "\r\n";
    std::string path = temp_dir() + "\\long.txt";
    write_file(path, text);
    drop(view.pane, path);
    settle();
    ASSERT_EQ(field(1015), std::to_string(5 + 26 * 26 * 26));

    EXPECT_LT(dark_share(0), 0.2) << "the top of the list, painted";
    type("qmno");
    int row = 4 + 12 * 26 * 26 + 13 * 26 + 14;   // after apple, cat, dog, mango
    ASSERT_EQ(selected(), row);
    EXPECT_LT(window_data(view.pane)->scroll_y, -row * view.row_height / 2) << "scrolled down";
    EXPECT_GT(dark_share(row), 0.5) << "painted selected where it shows";
    EXPECT_LT(dark_share(row - 1), 0.2);
    EXPECT_LT(dark_share(row + 1), 0.2);
    expect_painted_as_new();
    key(view.pane, VK_NEXT);
    EXPECT_GT(selected(), row + 5) << "Page Down";
    expect_painted_as_new();

    type("apple");
    EXPECT_EQ(window_data(view.pane)->scroll_y, 0);
    EXPECT_GT(dark_share(0), 0.5);
    EXPECT_LT(dark_share(1), 0.2);
    expect_painted_as_new();
}

// A long list in a huge font (a 10000-point dictionary font, as a choices
// file may hold): the rows stay within the work area's range, and End
// reaches the last word.
TEST_F(EditDictionary, ALongListInAHugeFontStillReachesItsLastWord)
{
    std::vector<std::string> words;
    for (char a = 'a'; a <= 'z' && words.size() < 120000; a++)
        for (char b = 'a'; b <= 'z'; b++)
            for (char c = 'a'; c <= 'z'; c++)
                for (char d = 'a'; d <= 'z'; d++)
                    words.push_back(std::string("q") + a + b + c + d);
    std::vector<const char *> texts;
    for (const std::string &w : words)
        texts.push_back(w.c_str());
    Dictionary *d = &dictionary_set.slots[slot].dictionary;
    clear_dictionary(d);
    ASSERT_EQ(add_words_bulk(d, texts.data(), (int)texts.size()), nullptr);
    mark_slot_changed(slot);
    font_spec kept = word_list_font;
    word_list_font.height = 160000;
    word_lists_font_changed();
    edit_window_slots_changed();
    view = edit_window_state();
    int extent[4];
    window_get_extent(view.pane, extent);
    EXPECT_LT(extent[1], 0) << "no wrap past the int range";
    EXPECT_EQ((int64_t)extent[1], -(int64_t)d->words * view.row_height);
    click_row(0);
    key(view.pane, VK_END);
    EXPECT_EQ(selected(), (int)d->words - 1);
    EXPECT_EQ(field(), words.back());
    EXPECT_LE(window_data(view.pane)->scroll_y, -((int)d->words - 2) * view.row_height) << "scrolled to the end";
    word_list_font = kept;
    word_lists_font_changed();
}

TEST_F(EditDictionary, ExportThenImportThroughTheDictMenuGivesTheWordsBack)
{
    type("McDonald");
    press(1005);
    type("ice cream");
    press(1005);
    std::string path = temp_dir() + "\\export.txt";
    DeleteFileA(path.c_str());
    dict_menu(40025, path);
    EXPECT_EQ(read_file(path), "apple\r\ncat\r\ndog\r\nice cream\r\nmango\r\nMcDonald\r\nzebra\r\n");

    press(1012);   // OK saves MainDict
    EXPECT_EQ(edit_window_state().window, nullptr);
    EXPECT_EQ(dictionary_set.slots[slot].changed, 0);

    DeleteFileA((temp_dir() + "\\Copy.dic").c_str());
    ASSERT_EQ(discover_dictionaries(), nullptr);
    ASSERT_EQ(create_dictionary("Copy"), nullptr);
    slot = find_slot("Copy");
    ASSERT_EQ(edit_slot(slot), nullptr);
    view = edit_window_state();
    dict_menu(40024, path);
    EXPECT_EQ(words(), (words_t{"apple", "cat", "dog", "icecream", "mango", "Mcdonald", "zebra"}));
    char title[100];
    GetWindowTextA(view.window, title, sizeof title);
    EXPECT_STREQ(title, "Edit (Copy)");
    EXPECT_EQ(field(1015), "7");

    // Deleting the dictionary being edited closes its window.
    ASSERT_EQ(delete_dictionary(slot), nullptr);
    EXPECT_EQ(edit_window_state().window, nullptr);
}

// OK with a dictionary file that another program holds open: the failure
// is reported and the window, the field and the edits stay.
TEST_F(EditDictionary, OkOnALockedFileKeepsTheWindowAndTheEdits)
{
    std::string file = temp_dir() + "\\MainDict.dic";
    std::string before = read_file(file);
    type("ant");
    press(1005);
    HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    last_box.clear();
    press(1012);   // OK
    CloseHandle(lock);
    EXPECT_FALSE(last_box.empty()) << "the failure is reported";
    ASSERT_NE(edit_window_state().window, nullptr);
    EXPECT_EQ(field(), "ant");
    EXPECT_EQ(dictionary_set.slots[slot].changed, 1);
    EXPECT_EQ(read_file(file), before);
    press(1012);
    EXPECT_EQ(edit_window_state().window, nullptr);
    EXPECT_NE(read_file(file), before);
}

TEST_F(EditDictionary, CancelAsksThenRestoresTheFilesWords)
{
    type("ant");
    press(1005);
    type("Zebra");
    press(1005);
    type("kiwi");
    box_reply = 4;   // No: nothing is lost
    press(IDCANCEL);
    EXPECT_NE(last_box.find("Discard the changes"), std::string::npos) << last_box;
    ASSERT_NE(edit_window_state().window, nullptr);
    EXPECT_EQ(field(), "kiwi");
    EXPECT_EQ(words().size(), 6u);

    box_reply = 3;
    press(IDCANCEL);
    EXPECT_EQ(edit_window_state().window, nullptr);
    EXPECT_EQ(words(), (words_t(start_words, start_words + 5)));
    EXPECT_EQ(dictionary_set.slots[slot].changed, 0);
    EXPECT_EQ(any_dictionary_changed(), 0);

    // Nothing changed: Escape closes without a question, from the field
    // and from the list alike.
    for (bool on_list : {false, true}) {
        ASSERT_EQ(edit_slot(slot), nullptr);
        view = edit_window_state();
        HWND target = on_list ? view.pane : GetDlgItem(view.window, 1017);
        SetFocus(target);
        last_box.clear();
        key(target, VK_ESCAPE);
        EXPECT_EQ(edit_window_state().window, nullptr) << on_list;
        EXPECT_EQ(last_box, "");
    }
}

// The close box keeps the edits in memory, unsaved: quitting asks about
// them after the grid's question, and No keeps the program and the edits.
TEST_F(EditDictionary, QuittingAsksAboutEditsTheCloseBoxLeftUnsaved)
{
    type("kiwi");
    press(1005);
    SendMessageA(view.window, WM_CLOSE, 0, 0);
    settle();
    ASSERT_EQ(edit_window_state().window, nullptr);
    ASSERT_EQ(any_dictionary_changed(), 1);

    const std::string grid_question = "Grid edited and not saved. Continue?\n";
    const std::string words_question = "Dictionaries changed and not saved. Continue?\n";
    MSG m;
    box_reply = 4;   // No
    mark_modified();
    boxes.clear();
    SendMessageA(main_window, WM_CLOSE, 0, 0);
    EXPECT_EQ(boxes, grid_question) << "No to the grid stops there";
    clear_modified();
    boxes.clear();
    SendMessageA(main_window, WM_CLOSE, 0, 0);
    EXPECT_EQ(boxes, words_question);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "No keeps the program";
    EXPECT_EQ(words().size(), 6u);

    // File > Exit asks both, in turn; Yes to both quits.
    box_reply = 3;
    mark_modified();
    boxes.clear();
    menu_set_current(MENU_FILE);
    SendMessageA(main_window, WM_COMMAND, 40007, 0);
    EXPECT_EQ(boxes, grid_question + words_question);
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program quits";
    clear_modified();
    revert_changed_dictionaries();

    // With nothing changed nothing is asked.
    boxes.clear();
    SendMessageA(main_window, WM_CLOSE, 0, 0);
    EXPECT_EQ(boxes, "");
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
