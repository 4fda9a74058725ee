// The confirm window under Wine: answered at once while `doconfirm` is 0,
// refusing to nest, and answered by the keys, clicks and close request
// that a person would give it (posted to the real window from a pre-poll
// handler while the confirm window runs its own polls).
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "events_test_util.h"
#include "toolkit/messages/confirm.h"
#include "toolkit/messages/report.h"

namespace {

enum action_kind { KEY, KEYDOWN, CLICK, CLOSE, TYPED };
struct action {
    action_kind kind;
    int value;
};

action next_action;
bool acted;
int nested_answer;
std::vector<int> icons_present;
std::string text_shown, caption;
bool owner_enabled_meanwhile;
HWND owner;

const error_block *drive(void *)
{
    HWND w = static_cast<HWND>(confirm_window());
    if (!w || acted)
        return nullptr;
    acted = true;
    icons_present.clear();
    for (int icon = 0; icon <= 12; icon++)
        if (GetDlgItem(w, icon))
            icons_present.push_back(icon);
    char text[256];
    GetDlgItemTextA(w, 12, text, sizeof text);
    text_shown = text;
    GetWindowTextA(w, text, sizeof text);
    caption = text;
    owner_enabled_meanwhile = owner && IsWindowEnabled(owner);
    confirm(nullptr, 0, &nested_answer, "nested");
    switch (next_action.kind) {
    case KEY: PostMessageA(w, WM_CHAR, next_action.value, 0); break;
    case KEYDOWN: PostMessageA(w, WM_KEYDOWN, next_action.value, 1); break;
    case CLICK:
        PostMessageA(w, WM_COMMAND, MAKEWPARAM(next_action.value, BN_CLICKED),
                     (LPARAM)GetDlgItem(w, next_action.value));
        break;
    case CLOSE: PostMessageA(w, WM_CLOSE, 0, 0); break;
    case TYPED: {
        // Real keyboard input, delivered to whatever has the focus.
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = (WORD)next_action.value;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        break;
    }
    }
    return nullptr;
}

class ConfirmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        start_task();
        set_doconfirm(1);
        register_prepoll(drive, nullptr);
        owner = nullptr;
    }
    void TearDown() override
    {
        deregister_prepoll(drive, nullptr);
        set_doconfirm(1);
    }
    int ask(int kind, action a)
    {
        next_action = a;
        acted = false;
        nested_answer = 99;
        int result = 99;
        const error_block *e = confirm(owner, kind, &result, "{FS10}");
        EXPECT_EQ(e, nullptr);
        EXPECT_TRUE(acted);
        EXPECT_EQ(confirm_window(), nullptr);
        return result;
    }
};

TEST_F(ConfirmTest, WithoutDoconfirmKindTwoAnswersZeroAtOnceAndOthersOne)
{
    set_doconfirm(0);
    log_mark();
    int result = 99;
    acted = false;
    ASSERT_EQ(confirm(nullptr, 2, &result, "Save?"), nullptr);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(confirm(nullptr, 0, &result, "Sure?"), nullptr);
    EXPECT_EQ(result, 1);
    ASSERT_EQ(confirm(nullptr, 1, &result, "Discard?"), nullptr);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(acted);
    EXPECT_NE(log_since_mark().find("force 0 doconfirm 0"), std::string::npos);

    // The force bit asks all the same.
    EXPECT_EQ(ask(2 | CONFIRM_FORCE, {KEY, 's'}), 1);
}

TEST_F(ConfirmTest, KindZeroShowsYesAndNoWithTheTextAndRefusesToNest)
{
    EXPECT_EQ(ask(0, {KEY, 'y'}), 1);
    EXPECT_EQ(nested_answer, -1);
    EXPECT_EQ(icons_present, (std::vector<int>{0, 7, 8, 9, 11, 12}));
    EXPECT_EQ(text_shown, "Grid edited and not saved. Continue?");
    EXPECT_EQ(caption, "Quillmere");
    EXPECT_EQ(ask(0, {KEY, 'N'}), 0);
    EXPECT_EQ(ask(0, {KEY, 13}), 1);
    EXPECT_EQ(ask(0, {KEY, 27}), -1);
    EXPECT_EQ(ask(0, {CLICK, 11}), 1);
    EXPECT_EQ(ask(0, {CLICK, 0}), 0);
    EXPECT_EQ(ask(0, {CLOSE, 0}), -1);
}

TEST_F(ConfirmTest, KindOneIsDiscardOrCancel)
{
    EXPECT_EQ(ask(1, {KEY, 'd'}), 1);
    EXPECT_EQ(icons_present, (std::vector<int>{3, 4, 7, 8, 9, 12}));
    EXPECT_EQ(ask(1, {KEY, 'C'}), -1);
    EXPECT_EQ(ask(1, {CLICK, 3}), 1);
    EXPECT_EQ(ask(1, {CLICK, 4}), -1);
}

TEST_F(ConfirmTest, KindTwoIsSaveDiscardOrCancelAndDisablesItsOwner)
{
    ASSERT_EQ(window_create(300, nullptr, nullptr, &owner), nullptr);
    EXPECT_EQ(ask(2, {KEY, 's'}), 1);
    EXPECT_FALSE(owner_enabled_meanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(icons_present, (std::vector<int>{3, 5, 6, 7, 8, 9, 12}));
    EXPECT_EQ(ask(2, {KEY, 'd'}), 0);
    EXPECT_EQ(ask(2, {KEY, 'c'}), -1);
    EXPECT_EQ(ask(2, {KEYDOWN, VK_RETURN}), 1);
    EXPECT_EQ(ask(2, {CLICK, 6}), 1);
    EXPECT_EQ(ask(2, {CLICK, 3}), 0);
    EXPECT_EQ(ask(2, {CLICK, 5}), -1);
    window_delete(owner);
    owner = nullptr;
}

TEST_F(ConfirmTest, TypedKeysReachTheConfirmWindow)
{
    EXPECT_EQ(ask(0, {TYPED, 'Y'}), 1);
    EXPECT_EQ(ask(0, {TYPED, 'N'}), 0);
    EXPECT_EQ(ask(2, {TYPED, 'D'}), 0);
    EXPECT_EQ(ask(2, {TYPED, VK_RETURN}), 1);
    EXPECT_EQ(ask(1, {TYPED, VK_ESCAPE}), -1);
}

int hook(int icon, int buttons, const char *) { return icon == 3 && buttons == 2 ? 4 : 1; }

TEST_F(ConfirmTest, TheMessageBoxHookAnswersWithoutAWindow)
{
    message_box_answer = hook;
    int result = 99;
    acted = false;
    confirm(nullptr, 0, &result, "Sure?");
    message_box_answer = nullptr;
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(acted);
}

}  // namespace
