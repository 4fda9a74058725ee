// Menus under Wine: tables and chains, entry numbers across separators,
// ticks and greys by command number, entry text, run-time menus, and the
// selection paths that real menu messages produce.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "events_test_util.h"
#include "toolkit/events/menus.h"

namespace {

std::vector<std::vector<int>> chosen, opened;
std::vector<int> own_choices;

std::vector<int> path_of(const int *path)
{
    std::vector<int> v;
    for (int i = 0; i < MENU_PATH_MAX; i++) {
        v.push_back(path[i]);
        if (path[i] == -1)
            break;
    }
    return v;
}

const error_block *select_main(const int *path, HWND) { chosen.push_back(path_of(path)); return nullptr; }
const error_block *preopen_main(const int *path, HMENU, HWND) { opened.push_back(path_of(path)); return nullptr; }
const error_block *select_own(const int *path, HWND)
{
    own_choices = path_of(path);
    return nullptr;
}

// Tag, resource, handle, word, separators, parent, position, word, select, preopen.
menu_record table[] = {
    {1, "TestBar", nullptr, 0, 0, 0, 0, 0, select_main, preopen_main},
    {2, nullptr, nullptr, 0, 0, 1, 0, 0, nullptr, nullptr},    // File
    {3, nullptr, nullptr, 0, 0, 1, 1, 0, nullptr, nullptr},    // Edit: Cut, -, Copy, More
    {4, nullptr, nullptr, 0, 0, 3, 2, 0, nullptr, nullptr},    // More
    {5, nullptr, nullptr, 0, 0, 4, 1, 0, nullptr, nullptr},    // Deeper
    {7, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},    // run-time
    {8, "TestPop", nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
    {9, nullptr, nullptr, 0, 0, 8, 0, 0, select_own, nullptr},
    {-1, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
};
menu_link link;

// A submenu record before its parent.
menu_record early[] = {
    {20, nullptr, nullptr, 0, 0, 21, 0, 0, nullptr, nullptr},
    {21, "TestPop", nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
    {-1, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
};
menu_link early_link;

class MenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        start_task();
        ASSERT_EQ(menu_register(table, &link), nullptr);
        ASSERT_EQ(menu_register(early, &early_link), nullptr);
    }
    void SetUp() override
    {
        chosen.clear();
        opened.clear();
        own_choices.clear();
    }
};

TEST_F(MenuTest, RegisteringFindsResourcesAndSubmenusButNotASubmenuBeforeItsParent)
{
    for (int tag : {1, 2, 3, 4, 5, 8, 9})
        EXPECT_NE(menu_find(tag)->handle, nullptr) << tag;
    EXPECT_EQ(menu_find(7)->handle, nullptr);
    EXPECT_EQ(menu_find(20)->handle, nullptr);
    EXPECT_NE(menu_find(21)->handle, nullptr);
    EXPECT_EQ(menu_find(3)->separators, 0x2u);
    EXPECT_EQ(menu_find(2)->separators, 0x4u);
    EXPECT_EQ(menu_find_handle(menu_find(4)->handle)->tag, 4);
    EXPECT_EQ(menu_find(99), nullptr);
    EXPECT_EQ(menu_tick(99, 1, 1), nullptr);
}

TEST_F(MenuTest, EntryNumbersSkipSeparatorsAndTicksGoByCommandNumber)
{
    ASSERT_EQ(menu_build(7, 0, nullptr, nullptr), nullptr);
    ASSERT_EQ(menu_add(7, "First", 0, 300), nullptr);
    ASSERT_EQ(menu_add(7, "Second", MENU_SEPARATOR_AFTER, 301), nullptr);
    ASSERT_EQ(menu_add(7, "Third", MENU_TICKED, 302), nullptr);
    ASSERT_EQ(menu_add(7, "Fourth", MENU_GREYED, 303), nullptr);
    const menu_record *m = menu_find(7);
    EXPECT_EQ(m->separators, 0x4u);
    EXPECT_EQ(menu_position_of(m, 2), 3);
    EXPECT_EQ(menu_entry_of(m, 3), 2);
    char text[64];
    int state;
    menu_get_text(7, 2, text, sizeof text, &state);
    EXPECT_STREQ(text, "Third");
    EXPECT_EQ(state, MENU_TICKED);
    menu_get_text(7, 3, text, sizeof text, &state);
    EXPECT_EQ(state, MENU_GREYED);

    menu_tick(7, 302, 0);
    menu_tick(7, 300, 1);
    menu_grey(7, 303, 1);
    menu_get_text(7, 2, text, sizeof text, &state);
    EXPECT_EQ(state, 0);
    menu_get_text(7, 0, text, sizeof text, &state);
    EXPECT_EQ(state, MENU_TICKED);
    menu_get_text(7, 3, text, sizeof text, &state);
    EXPECT_EQ(state, 0);

    // In a resource menu: "Copy" follows a separator.
    ASSERT_EQ(menu_tick(3, 111, 1), nullptr);
    menu_get_text(3, 1, text, sizeof text, &state);
    EXPECT_STREQ(text, "&Copy");
    EXPECT_EQ(state, MENU_TICKED);
    menu_tick(3, 111, 0);

    // Emptying clears the separators.
    ASSERT_EQ(menu_remove_all(7), nullptr);
    EXPECT_EQ(GetMenuItemCount(menu_find(7)->handle), 0);
    EXPECT_EQ(menu_find(7)->separators, 0u);
}

TEST_F(MenuTest, EntryTextChangesOnlyWhenItDiffers)
{
    ASSERT_EQ(menu_build(7, 0, nullptr, nullptr), nullptr);
    menu_add(7, "Solve", 0, 300);
    int changed = -1;
    ASSERT_EQ(menu_set_text(7, 0, "Solve", &changed), nullptr);
    EXPECT_EQ(changed, 0);
    ASSERT_EQ(menu_set_text(7, 0, "Stop", &changed), nullptr);
    EXPECT_EQ(changed, 1);
    char text[64];
    int state;
    menu_get_text(7, 0, text, sizeof text, &state);
    EXPECT_STREQ(text, "Stop");
    // A menu not yet built ignores changes.
    EXPECT_EQ(menu_set_text(20, 0, "x", &changed), nullptr);
    EXPECT_EQ(changed, 0);
}

TEST_F(MenuTest, ChoicesBuildPathsFromTheRootThroughEachOpenedSubmenu)
{
    HWND w;
    ASSERT_EQ(window_create(300, nullptr, nullptr, &w), nullptr);
    ASSERT_EQ(menu_set_bar(w, 1), nullptr);
    EXPECT_EQ(GetMenu(w), menu_find(1)->handle);
    HMENU edit = menu_find(3)->handle, more = menu_find(4)->handle, deeper = menu_find(5)->handle;

    // Opening Edit (position 1 of the bar), then More (position 3 of Edit,
    // entry 2 after its separator), then Deeper; the pointer ends in More.
    PostMessageA(w, WM_INITMENUPOPUP, (WPARAM)edit, MAKELPARAM(1, 0));
    PostMessageA(w, WM_INITMENUPOPUP, (WPARAM)more, MAKELPARAM(3, 0));
    PostMessageA(w, WM_MENUSELECT, MAKEWPARAM(120, MF_HILITE), (LPARAM)more);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(120, 0), 0);
    pump();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], (std::vector<int>{1, -1}));
    EXPECT_EQ(opened[1], (std::vector<int>{1, 2, -1}));
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0], (std::vector<int>{1, 2, 120, -1}));
    EXPECT_EQ(menu_current(), 4);

    // Three levels down; the closing report leaves the current menu alone.
    PostMessageA(w, WM_INITMENUPOPUP, (WPARAM)deeper, MAKELPARAM(4, 0));
    PostMessageA(w, WM_INITMENUPOPUP, (WPARAM)deeper, MAKELPARAM(1, 0));
    PostMessageA(w, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(131, 0), 0);
    pump();
    EXPECT_EQ(opened.back(), (std::vector<int>{1, 2, 1, -1}));
    EXPECT_EQ(chosen.back(), (std::vector<int>{1, 2, 1, 131, -1}));

    // Dialog commands 1 and 2 are Return and Escape, not choices.
    chosen.clear();
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(1, 0), 0);
    pump();
    EXPECT_TRUE(chosen.empty());

    // A pop-up submenu with its own handler gets its own choices.
    menu_set_current(9);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(201, 0), 0);
    pump();
    EXPECT_EQ(own_choices, (std::vector<int>{201, -1}));
    EXPECT_TRUE(chosen.empty());

    // F1 on an entry only logs the path it would take.
    log_mark();
    HELPINFO help = {sizeof help, HELPINFO_MENUITEM, 131, (HANDLE)deeper, 0, {0, 0}};
    SendMessageA(w, WM_HELP, 0, (LPARAM)&help);
    std::string log = log_since_mark();
    EXPECT_NE(log.find("help menucommand root"), std::string::npos) << log;
    EXPECT_NE(log.find("tag 5 s[0] 1 s[1] 2"), std::string::npos) << log;
    EXPECT_TRUE(chosen.empty());

    ASSERT_EQ(menu_remove_bar(w), nullptr);
    EXPECT_EQ(GetMenu(w), nullptr);
    window_delete(w);
}

TEST_F(MenuTest, ARunTimeMenuHungInAnotherIsReachedThroughIt)
{
    HWND w;
    ASSERT_EQ(window_create(300, nullptr, nullptr, &w), nullptr);
    menu_set_bar(w, 1);
    ASSERT_EQ(menu_build(7, 0, nullptr, nullptr), nullptr);
    menu_add(7, "Recent one", 0, 256);
    menu_add(7, "Recent two", 0, 257);
    ASSERT_EQ(menu_attach(7, 2, 1), nullptr);   // under File > Open...
    EXPECT_EQ(GetSubMenu(menu_find(2)->handle, 1), menu_find(7)->handle);
    PostMessageA(w, WM_INITMENUPOPUP, (WPARAM)menu_find(7)->handle, MAKELPARAM(1, 0));
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(257, 0), 0);
    pump();
    EXPECT_EQ(opened.back(), (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(chosen.back(), (std::vector<int>{0, 1, 257, -1}));

    // Rebuilding it unhooks it from File without destroying File.
    ASSERT_EQ(menu_remove_all(2), nullptr);
    EXPECT_TRUE(IsMenu(menu_find(7)->handle));
    EXPECT_EQ(menu_find(7)->parent, 0);
    menu_remove_bar(w);
    window_delete(w);
}

}  // namespace
