// The Spell Check window in the running shell: Words > Spell Check on a
// real grid, the window's buttons, combo box, field and list driven by the
// messages a user's actions send, and the dictionaries and files checked
// afterwards.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/spell_check.h"
#include "app/grid/grid.h"
#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/window.h"
#include "toolkit/messages/report.h"

namespace {

std::vector<std::string> boxes;
int box_reply = 3;   // Yes

int answer_box(int, int, const char *text)
{
    boxes.push_back(text);
    return box_reply;
}

std::string dir;

void save_words(const char *name, std::vector<const char *> words)
{
    Dictionary d{};
    ASSERT_EQ(add_words_bulk(&d, words.data(), (int)words.size()), nullptr);
    ASSERT_EQ(save_dictionary(&d, dir.c_str(), name), nullptr);
    clear_dictionary(&d);
}

void settle()
{
    MSG m;
    for (int i = 0; i < 200 && PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE); i++)
        poll_once();
}

void press(HWND window, int control)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), (LPARAM)GetDlgItem(window, control));
    settle();
}

std::string text_of(HWND window, int control = -1)
{
    char text[300] = "";
    if (control < 0)
        GetWindowTextA(window, text, sizeof text);
    else
        GetDlgItemTextA(window, control, text, sizeof text);
    return text;
}

bool holds(int slot, const char *word)
{
    const Dictionary *d = &dictionary_set.slots[slot].dictionary;
    WordCursor c;
    return d->words > 0 && find_word(d, word, &c, nullptr) == 1 && strcmp(c.text, word) == 0;
}

void put_across(int c, int r, const char *text)
{
    for (int i = 0; text[i]; i++) {
        uint8_t &a = grid.attributes[grid_cell(c + i, r)];
        if (text[i] == '#')
            a = (uint8_t)((a & ~cell_state_mask) | cell_filled);
        else
            grid.letters[grid_cell(c + i, r)] = (uint8_t)text[i];
    }
}

class SpellWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        message_box_answer = answer_box;
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        dir = std::string(base) + "qm_spell_window_test";
        CreateDirectoryA(dir.c_str(), nullptr);
        save_words("MainDict", {"apple", "cat", "mango", "wonder", "wonderful", "zebra", "zest"});
        save_words("Other", {"aardvark", "wombat"});
        set_dictionary_directory(dir.c_str());
        ASSERT_EQ(shell_start_up(), nullptr);
        settle();
    }

    // A 5 x 5 grid of three across words between two filled rows:
    //   m a _ g o     incomplete: never reported
    //   # # # # #
    //   Z E B R A     known: differs from "zebra" only in case
    //   # # # # #
    //   w o n d r     unknown
    void SetUp() override
    {
        box_reply = 3;
        clear_modified();
        new_grid();
        set_size(5, 5);
        put_across(0, 0, "ma go");
        put_across(0, 1, "#####");
        put_across(0, 2, "ZEBRA");
        put_across(0, 3, "#####");
        put_across(0, 4, "wondr");
        clear_modified();
        boxes.clear();
        other = find_slot("Other");
        ASSERT_GE(other, 0);
    }

    void TearDown() override
    {
        if (spell_check_window()) {
            box_reply = 4;
            close_spell_check();
        }
        revert_changed_dictionaries();
        clear_modified();
    }

    static void spell_check()
    {
        menu_set_current(MENU_WORDS);
        SendMessageA(main_window, WM_COMMAND, 40017, 0);
        settle();
    }

    static void choose_dictionary(int position)
    {
        HWND w = spell_check_window();
        SendDlgItemMessageA(w, 1022, CB_SETCURSEL, position, 0);
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(1022, CBN_SELCHANGE), (LPARAM)GetDlgItem(w, 1022));
        settle();
    }

    // Opens the window in Guess mode (the mode is kept between checks).
    static HWND open_in_guess_mode()
    {
        spell_check();
        HWND w = spell_check_window();
        if (w && SendDlgItemMessageA(w, 1021, BM_GETCHECK, 0, 0) == BST_CHECKED)
            press(w, 1021);
        return w;
    }

    int other = -1;
};

TEST_F(SpellWindow, ShowsOnlyTheUnknownCompleteWordWithItsSuggestionsThenCloses)
{
    HWND w = open_in_guess_mode();
    ASSERT_NE(w, nullptr) << "opened on the first unknown word";
    EXPECT_TRUE(boxes.empty());
    // "ma go" (an empty cell) and "ZEBRA" (known in lower case) were passed.
    EXPECT_EQ(text_of(w, 1019), "wondr");
    EXPECT_EQ(text_of(w), "Spell Check (Guess)");
    EXPECT_EQ(SendDlgItemMessageA(w, 1022, CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(text_of(w, 1022), "MainDict");
    ASSERT_GE(spell_guess.words, 1u);
    EXPECT_STREQ(word_text(&spell_guess, 0), "wonder");
    EXPECT_EQ(spell_check_selected_row(), -1);

    // Return in the field (Continue): no unknown word is left, nothing
    // changed: the window closes without a question.
    EXPECT_EQ(GetFocus(), GetDlgItem(w, 1019));
    PostMessageA(GetDlgItem(w, 1019), WM_KEYDOWN, VK_RETURN, 0);
    settle();
    EXPECT_EQ(spell_check_window(), nullptr);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SpellWindow, NoNewWordsWhenEveryCompleteWordIsKnown)
{
    put_across(0, 4, "Mango");
    spell_check();
    EXPECT_EQ(spell_check_window(), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "No new words!");
}

TEST_F(SpellWindow, AddInGuessModeGoesToTheChosenDictionaryAndClosingAsksToRetain)
{
    for (int slot : {find_slot("MainDict"), other}) {   // MainDict, Other
        if (!document_list_contains(slot)) {
            ASSERT_EQ(toggle_in_document(slot), nullptr);
        }
    }
    HWND w = open_in_guess_mode();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(SendDlgItemMessageA(w, 1022, CB_GETCOUNT, 0, 0), 2);
    uint32_t guesses = spell_guess.words;
    choose_dictionary(1);
    EXPECT_EQ(text_of(w), "Spell Check (Guess)") << "the list still shows the suggestions";
    press(w, 1024);   // Add
    EXPECT_TRUE(holds(other, "wondr"));
    EXPECT_FALSE(holds(find_slot("MainDict"), "wondr"));
    EXPECT_EQ(spell_guess.words, guesses) << "not added to the Guess list";
    EXPECT_TRUE(dictionary_set.slots[other].changed);
    EXPECT_EQ(spell_check_window(), w) << "a plain Add does not go on";

    // Browse shows the chosen dictionary with the added word selected.
    press(w, 1021);
    EXPECT_EQ(text_of(w), "Spell Check (Other)");
    EXPECT_EQ(spell_check_selected_row(), 2) << "aardvark, wombat, wondr";

    // Continue: nothing is left, the question comes; No reverts.
    box_reply = 4;
    press(w, 1025);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Dictionaries changed. Retain changes?");
    EXPECT_EQ(spell_check_window(), nullptr);
    EXPECT_FALSE(holds(other, "wondr"));
    EXPECT_FALSE(dictionary_set.slots[other].changed);

    // Again, with Add by the other button (adds, then goes on) and Yes:
    // the word is in the file. Browse mode was kept.
    spell_check();
    w = spell_check_window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(text_of(w), "Spell Check (MainDict)");
    EXPECT_EQ(SendDlgItemMessageA(w, 1021, BM_GETCHECK, 0, 0), BST_CHECKED);
    choose_dictionary(1);
    EXPECT_EQ(text_of(w), "Spell Check (Other)") << "Browse follows the combo box";
    boxes.clear();
    box_reply = 3;
    HWND add = GetDlgItem(w, 1024);
    SendMessageA(add, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageA(add, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    settle();
    EXPECT_EQ(spell_check_window(), nullptr) << "Add, then on to the end";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(dictionary_set.slots[other].changed);
    Dictionary saved{};
    ASSERT_EQ(load_dictionary(&saved, dir.c_str(), "Other"), nullptr);
    EXPECT_EQ(saved.words, 3u);
    EXPECT_STREQ(word_text(&saved, 2), "wondr");
    clear_dictionary(&saved);
    save_words("Other", {"aardvark", "wombat"});
    ASSERT_EQ(toggle_in_document(other), nullptr);
    unload_slot(other);
}

// The Words menu stays usable while the window is open: a dictionary
// joining the document ahead of the chosen one must not turn Add towards
// another dictionary than the one the combo box shows.
TEST_F(SpellWindow, AddFollowsTheChosenDictionaryWhenTheDocumentsListChanges)
{
    int main_dict = find_slot("MainDict");
    for (int slot : {main_dict, other})
        if (!document_list_contains(slot)) {
            ASSERT_EQ(toggle_in_document(slot), nullptr);
        }
    HWND w = open_in_guess_mode();
    ASSERT_NE(w, nullptr);
    choose_dictionary(1);   // Other
    ASSERT_EQ(create_dictionary("Aaa"), nullptr);
    int added = find_slot("Aaa");
    other = find_slot("Other");
    main_dict = find_slot("MainDict");
    ASSERT_EQ(toggle_in_document(added), nullptr);   // now Aaa, MainDict, Other
    press(w, 1024);   // Add
    EXPECT_TRUE(holds(other, "wondr"));
    EXPECT_FALSE(holds(main_dict, "wondr")) << "the dictionary now at the chosen position";
    EXPECT_EQ(SendDlgItemMessageA(w, 1022, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(text_of(w, 1022), "Other");

    // The chosen dictionary leaves the document: nothing is added.
    ASSERT_EQ(toggle_in_document(other), nullptr);
    press(w, 1024);
    EXPECT_FALSE(holds(main_dict, "wondr"));
    EXPECT_FALSE(holds(added, "wondr"));
    EXPECT_EQ(SendDlgItemMessageA(w, 1022, CB_GETCOUNT, 0, 0), 2);

    box_reply = 4;
    close_spell_check();
    ASSERT_EQ(toggle_in_document(added), nullptr);
    ASSERT_EQ(delete_dictionary(find_slot("Aaa")), nullptr);
    other = find_slot("Other");
    unload_slot(other);
}

// A word pasted into the field whole, never cut to what a dictionary
// holds: Add then refuses it rather than storing its first 31 letters.
TEST_F(SpellWindow, APastedOverLongWordIsNotCutAndAdded)
{
    HWND w = open_in_guess_mode();
    ASSERT_NE(w, nullptr);
    const std::string long_word(40, 'q');
    HWND field = GetDlgItem(w, 1019);
    SendMessageA(field, EM_SETSEL, 0, -1);
    SendMessageA(field, EM_REPLACESEL, TRUE, (LPARAM)long_word.c_str());
    settle();
    EXPECT_EQ(text_of(w, 1019), long_word);
    press(w, 1024);   // Add
    int main_dict = find_slot("MainDict");
    EXPECT_FALSE(holds(main_dict, long_word.substr(0, 31).c_str()));
    EXPECT_FALSE(dictionary_set.slots[main_dict].changed);
}

TEST_F(SpellWindow, TypingClicksAndArrowsMoveTheSelectionThatIsDrawnInverted)
{
    HWND w = open_in_guess_mode();
    ASSERT_NE(w, nullptr);
    press(w, 1021);   // Browse: MainDict
    EXPECT_EQ(spell_check_selected_row(), -1) << "wondr is not in MainDict";
    SetDlgItemTextA(w, 1019, "Zebra");
    settle();
    EXPECT_EQ(spell_check_selected_row(), -1) << "a match differing in case is no match";
    SetDlgItemTextA(w, 1019, "zebra");
    settle();
    EXPECT_EQ(spell_check_selected_row(), 5);

    // A click on the second row puts its word in the field; Down moves on.
    HWND list = spell_check_list();
    RECT client;
    GetClientRect(list, &client);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(10, 2));
    settle();
    EXPECT_EQ(spell_check_selected_row(), 0);
    EXPECT_EQ(text_of(w, 1019), "apple");
    PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    settle();
    EXPECT_EQ(spell_check_selected_row(), 2);
    EXPECT_EQ(text_of(w, 1019), "mango");

    // The selected row is black across the pane, the others white.
    UpdateWindow(list);
    HDC dc = GetDC(list);
    int selected_black = 0, other_white = 0;
    for (int y = 0; y < client.bottom; y++) {
        COLORREF c = GetPixel(dc, client.right - 3, y);
        selected_black += c == RGB(0, 0, 0);
        other_white += c == RGB(255, 255, 255);
    }
    ReleaseDC(list, dc);
    EXPECT_GT(selected_black, 5);
    EXPECT_GT(other_white, selected_black);

    // Tab leaves the list for the next control.
    SetFocus(list);
    PostMessageA(list, WM_KEYDOWN, VK_TAB, 0);
    settle();
    EXPECT_EQ(GetFocus(), GetDlgItem(w, 1022));

    press(w, 1021);   // back to Guess
    EXPECT_EQ(text_of(w), "Spell Check (Guess)");
    EXPECT_EQ(spell_check_selected_row(), -1);
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
    settle();
    EXPECT_EQ(spell_check_window(), nullptr) << "Escape closes";
}

}  // namespace
