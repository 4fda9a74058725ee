// Event-layer cases where a literal reading went wrong: the wheel over a
// pane without scroll bars, handlers that delete windows while the toolkit
// walks its window list, scroll bars in client-to-window sizes, thin
// forced redraws, combo box picks, menu entry tokens and shared hot keys.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "events_test_util.h"
#include "toolkit/events/menus.h"
#include "toolkit/messages/error.h"

namespace {

std::vector<std::string> seen;

class EventFaultsTest : public ::testing::Test {
protected:
    HWND w = nullptr;
    void SetUp() override
    {
        start_task();
        seen.clear();
    }
    void TearDown() override
    {
        if (w && IsWindow(w))
            window_delete(w);
        pump();
    }
    HWND make(int number, HWND parent, int x0, int y0, int x1, int y1)
    {
        HWND made;
        EXPECT_EQ(window_create(number, nullptr, parent, &made), nullptr);
        window_state s = {made, x0, y0, x1, y1, 0, 0, BEHIND_TOP, 0};
        EXPECT_EQ(window_open(&s), nullptr);
        pump();
        return made;
    }
};

int wheel_calls;
const error_block *count_wheel(HWND, void *, int, int, int, int *)
{
    wheel_calls++;
    return nullptr;
}

}  // namespace

// One notch over a pane without scroll bars, inside a window without them:
// the pane's handler runs once and the message does not bounce back up.
TEST_F(EventFaultsTest, TheWheelEndsAtAWindowWithoutBarsOrChildUnderThePointer)
{
    w = make(300, nullptr, 450, 300, 1050, 750);
    HWND pane = make(302, w, 600, 400, 900, 700);
    wheel_calls = 0;
    register_wheel(count_wheel, pane, nullptr);
    RECT r;
    GetClientRect(pane, &r);
    POINT p = {r.right - 4, r.bottom - 4};   // clear of the pane's label
    ClientToScreen(pane, &p);
    SendMessageA(pane, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(p.x, p.y));
    EXPECT_EQ(wheel_calls, 1);
    // Over the parent the wheel goes down to the pane under the pointer once.
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(p.x, p.y));
    EXPECT_EQ(wheel_calls, 2);
    deregister_wheel(count_wheel, pane, nullptr);
}

namespace {

HWND doomed[3];
// -23/-24 handler of child i: child 1 deletes itself and child 0.
const error_block *parent_gone(HWND window, void *value)
{
    int i = static_cast<int>(reinterpret_cast<intptr_t>(value));
    seen.push_back(std::to_string(i));
    if (window == doomed[1]) {
        window_delete(doomed[1]);
        window_delete(doomed[0]);
    }
    return nullptr;
}

}  // namespace

// A handler may delete its own window and others while the toolkit tells
// the children: a deleted child is not told, and nothing freed is read.
TEST_F(EventFaultsTest, ParentEventHandlersMayDeleteTheirOwnAndOtherWindows)
{
    for (int kind : {EV_PARENT_CLOSE, EV_PARENT_DELETE}) {
        seen.clear();
        w = make(300, nullptr, 450, 300, 1050, 750);
        for (int i = 0; i < 3; i++) {
            ASSERT_EQ(window_create(302, nullptr, w, &doomed[i]), nullptr);
            event_register(kind, 0, doomed[i], i, reinterpret_cast<any_handler>(parent_gone));
        }
        // The list runs newest first: 2, 1 (deletes 1 and 0), then 0 is gone.
        if (kind == EV_PARENT_CLOSE)
            EXPECT_EQ(window_close(w), nullptr);
        else
            EXPECT_EQ(window_delete(w), nullptr);
        EXPECT_EQ(seen, (std::vector<std::string>{"2", "1"}));
        EXPECT_EQ(window_data(doomed[0]), nullptr);
        EXPECT_EQ(window_data(doomed[1]), nullptr);
        for (int i = 0; i < 3; i++)
            event_deregister(kind, 0, doomed[i], i, reinterpret_cast<any_handler>(parent_gone));
        if (IsWindow(w))
            window_delete(w);
        pump();
    }
    w = nullptr;
}

// Scroll bars are part of the window around a client area: opening at a
// state reads the same state back, again and again, and a height in OS
// units gives that client height.
TEST_F(EventFaultsTest, ScrollBarsCountWhenAClientAreaBecomesAWindow)
{
    w = make(301, nullptr, 450, 300, 1050, 750);
    ASSERT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
    ASSERT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_HSCROLL);
    window_state s;
    for (int i = 0; i < 5; i++) {
        ASSERT_EQ(window_get_state(w, &s), nullptr);
        EXPECT_EQ(s.x0, 450);
        EXPECT_EQ(s.x1, 1050);
        EXPECT_EQ(s.y0, 300);
        EXPECT_EQ(s.y1, 750);
        s.behind = BEHIND_KEEP;
        ASSERT_EQ(window_open(&s), nullptr);
    }
    HWND tall;
    ASSERT_EQ(window_create_height(301, nullptr, nullptr, 360, &tall), nullptr);
    RECT r;
    GetClientRect(tall, &r);
    EXPECT_EQ(r.bottom, MulDiv(360, GetDeviceCaps(GetDC(nullptr), LOGPIXELSY), 180));
    window_delete(tall);
}

namespace {

int redraws;
const error_block *count_redraw(HWND window, void *)
{
    redraw_block b = {};
    b.window = window;
    if (const error_block *e = wimp_redraw_in(&b))
        return e;
    if (b.more)
        redraws++;
    wimp_redraw_end(&b);
    return nullptr;
}

}  // namespace

// A rectangle thinner than a pixel still marks (and updates) the pixel it
// touches.
TEST_F(EventFaultsTest, AThinRectangleIsRedrawnAndUpdated)
{
    w = make(301, nullptr, 450, 300, 1050, 750);
    window_set_extent(w, 0, -3000, 3000, 0);
    pump();
    ValidateRect(w, nullptr);
    redraws = 0;
    register_redraw(count_redraw, w, nullptr);
    ASSERT_EQ(window_force_redraw(w, 1, -100, 2, 0), nullptr);
    pump();
    EXPECT_EQ(redraws, 1);
    ASSERT_EQ(window_force_redraw(w, 0, -2, 100, -1), nullptr);
    pump();
    EXPECT_EQ(redraws, 2);
    redraw_block u = {};
    u.window = w;
    u.g0 = 1, u.g1 = -100, u.g2 = 2, u.g3 = 0;
    ASSERT_EQ(wimp_update(&u), nullptr);
    EXPECT_EQ(u.more, 2);
    RECT clip;
    GetClipBox(u.dc, &clip);
    EXPECT_EQ(clip.right - clip.left, 2);
    wimp_redraw_end(&u);
    deregister_redraw(count_redraw, w, nullptr);
}

namespace {

const error_block *text_changed(HWND window, int icon, void *)
{
    char text[64];
    icon_get_text(window, icon, text, sizeof text);
    seen.push_back(std::to_string(icon) + " " + text);
    return nullptr;
}

const error_block *hot(HWND, void *, int)
{
    seen.push_back("first");
    return nullptr;
}
const error_block *other_hot(HWND, void *, int)
{
    seen.push_back("other");
    return nullptr;
}

menu_record faults_menus[] = {
    {60, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
    {-1, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr},
};
menu_link faults_link;

}  // namespace

// Picking from a combo box's list raises one text change, with the picked
// text already in place for the handler.
TEST_F(EventFaultsTest, PickingFromAComboListRaisesOneTextChange)
{
    w = make(310, nullptr, 450, 300, 1050, 750);
    HWND combo = GetDlgItem(w, 40);
    ASSERT_NE(combo, nullptr);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Alpha"));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Beta"));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    pump();
    register_text_changed(text_changed, w, nullptr);
    HWND edit = GetWindow(combo, GW_CHILD);
    SendMessageA(edit ? edit : combo, WM_KEYDOWN, VK_DOWN, 0);
    pump();
    EXPECT_EQ(seen, (std::vector<std::string>{"40 Beta"}));
    deregister_text_changed(text_changed, w, nullptr);
}

// Menu entry texts take "{TOKEN}" references when set, as when added.
TEST_F(EventFaultsTest, MenuEntryTextsExpandTokensWhenSet)
{
    ASSERT_EQ(menu_register(faults_menus, &faults_link), nullptr);
    ASSERT_EQ(menu_build(60, 0, nullptr, nullptr), nullptr);
    ASSERT_EQ(menu_add(60, "{EDIT}", 0, 300), nullptr);
    int changed = -1;
    ASSERT_EQ(menu_set_text(60, 0, "{EDIT}", &changed), nullptr);
    EXPECT_EQ(changed, 0);
    ASSERT_EQ(menu_set_text(60, 0, "{ABOUT}...", &changed), nullptr);
    EXPECT_EQ(changed, 1);
    char text[64];
    int state;
    menu_get_text(60, 0, text, sizeof text, &state);
    EXPECT_STREQ(text, "About Quillmere...");
}

// Two entries for one window and hot-key id share the platform's hot key:
// removing one leaves the key registered for the other.
TEST_F(EventFaultsTest, HotKeyEntriesSharingAnIdKeepTheKeyUntilTheLast)
{
    w = make(300, nullptr, 450, 300, 1050, 750);
    const int key = KEY_CTRL | KEY_ALT | VK_F9;
    ASSERT_EQ(register_hotkey(hot, w, 7, key), nullptr);
    ASSERT_EQ(register_hotkey(other_hot, w, 7, key), nullptr);
    EXPECT_EQ(event_count(EV_HOTKEY), 2);
    deregister_hotkey(hot, w, 7, key);
    // Still held by the remaining entry: nobody else can take the key.
    EXPECT_FALSE(RegisterHotKey(nullptr, 0x7001, MOD_CONTROL | MOD_ALT, VK_F9));
    PostMessageA(w, WM_HOTKEY, 7, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F9));
    pump();
    EXPECT_EQ(seen, (std::vector<std::string>{"other"}));
    deregister_hotkey(other_hot, w, 7, key);
    EXPECT_EQ(event_count(EV_HOTKEY), 0);
    // The last one gone, the key is free again.
    EXPECT_TRUE(RegisterHotKey(nullptr, 0x7001, MOD_CONTROL | MOD_ALT, VK_F9));
    UnregisterHotKey(nullptr, 0x7001);
}
