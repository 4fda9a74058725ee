// Toolkit windows under Wine: creation from templates, events raised by
// real messages (clicks, keys, close requests, scrolling, the wheel),
// placing and stacking, the clamp/centre rule, the redraw protocol,
// icons, the caret, drags and the information window.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

#include "events_test_util.h"
#include "toolkit/messages/error.h"

namespace {

std::vector<std::string> seen;
std::vector<mouse_block> clicks;

class WindowTest : public ::testing::Test {
protected:
    HWND w = nullptr;
    void SetUp() override
    {
        start_task();
        seen.clear();
        clicks.clear();
    }
    void TearDown() override
    {
        if (w && IsWindow(w))
            window_delete(w);
        pump();
    }
    // Creates a window from a template and opens it with its client area
    // at (x0, y0)-(x1, y1) screen OS units, on top.
    HWND make(int number, int x0 = 450, int y0 = 450, int x1 = 1050, int y1 = 900)
    {
        HWND made;
        const error_block *e = window_create(number, nullptr, nullptr, &made);
        EXPECT_EQ(e, nullptr) << (e ? e->errmess : "");
        window_state s = {made, x0, y0, x1, y1, 0, 0, BEHIND_TOP, 0};
        EXPECT_EQ(window_open(&s), nullptr);
        pump();
        return made;
    }
};

TEST_F(WindowTest, AnUnknownTemplateNumberGivesErrorTwentyOne)
{
    HWND made = (HWND)1;
    const error_block *e = window_create(999, nullptr, nullptr, &made);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 21);
    EXPECT_STREQ(e->errmess, "Bad template tag 999.");
    EXPECT_EQ(made, nullptr);

    log_mark();
    w = make(300);
    EXPECT_NE(log_since_mark().find("create win parent 0 tempno=12c"), std::string::npos);
    ASSERT_NE(window_data(w), nullptr);
    EXPECT_TRUE(is_task_window(w));
}

TEST_F(WindowTest, AnIllegalWindowHandleIsLoggedWithTheOperation)
{
    log_mark();
    EXPECT_EQ(window_get_flags((HWND)0x1234), 0);
    int extent[4];
    window_get_extent((HWND)0x1234, extent);
    std::string log = log_since_mark();
    EXPECT_NE(log.find("illegal window handle 1234 at get flags"), std::string::npos) << log;
    EXPECT_NE(log.find("illegal window handle 1234 at get extent"), std::string::npos) << log;
}

const error_block *closing(HWND, void *) { seen.push_back("close"); return nullptr; }

TEST_F(WindowTest, ACloseRequestWithoutHandlerHidesTheWindowAndKeepsIt)
{
    w = make(300);
    ASSERT_TRUE(IsWindowVisible(w));
    register_close(closing, w, nullptr);
    PostMessageA(w, WM_CLOSE, 0, 0);
    pump();
    EXPECT_EQ(seen, std::vector<std::string>{"close"});
    EXPECT_TRUE(IsWindowVisible(w));
    deregister_close(closing, w, nullptr);

    PostMessageA(w, WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(IsWindow(w));
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_NE(window_data(w), nullptr);
}

std::vector<int> keys;
const error_block *first_key(HWND, void *value, int, int *key)
{
    keys.push_back(*key);
    if (value && *key == (int)(intptr_t)value)
        *key = -1;
    return nullptr;
}
const error_block *second_key(HWND, void *, int, int *key) { keys.push_back(1000000000 + *key); return nullptr; }

void post_key(HWND w, int vk)
{
    LPARAM lparam = 1 | (MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16);
    PostMessageA(w, WM_KEYDOWN, vk, lparam);
    PostMessageA(w, WM_KEYUP, vk, lparam | 0xC0000000);
}

TEST_F(WindowTest, AClaimedKeyStopsLaterHandlersAndThePlatformsProcessing)
{
    w = make(300);
    keys.clear();
    register_key(first_key, w, nullptr);
    register_key(second_key, w, nullptr);
    post_key(w, 'A');
    pump();
    // The key-down, then the character that translating it queued.
    EXPECT_EQ(keys, (std::vector<int>{0x4000041, 1000000000 + 0x4000041, 'a', 1000000000 + 'a'}));
    deregister_key(first_key, w, nullptr);
    deregister_key(second_key, w, nullptr);

    keys.clear();
    register_key(first_key, w, (void *)0x4000041);
    register_key(second_key, w, nullptr);
    post_key(w, 'A');
    pump();
    EXPECT_EQ(keys, std::vector<int>{0x4000041});

    // Return goes to dialog navigation when unclaimed: it comes back as 13.
    keys.clear();
    post_key(w, VK_RETURN);
    pump();
    EXPECT_EQ(keys, (std::vector<int>{0x400000D, 1000000000 + 0x400000D, 13, 1000000000 + 13}));
    deregister_key(first_key, w, (void *)0x4000041);
    deregister_key(second_key, w, nullptr);
}

TEST_F(WindowTest, KeyCodesCarryTheModifierBits)
{
    w = make(300);
    keys.clear();
    register_key(first_key, w, nullptr);
    BYTE state[256] = {};
    GetKeyboardState(state);
    BYTE saved[256];
    memcpy(saved, state, sizeof saved);
    state[VK_SHIFT] = state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    PostMessageA(w, WM_KEYDOWN, VK_F5, 1);
    pump();
    SetKeyboardState(saved);
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys[0], VK_F5 | KEY_VIRTUAL | KEY_SHIFT | KEY_CTRL);
    deregister_key(first_key, w, nullptr);
}

const error_block *clicked(HWND, void *, mouse_block *m) { clicks.push_back(*m); return nullptr; }
const error_block *pointed(HWND, void *, mouse_block *) { seen.push_back("pointer"); return nullptr; }

TEST_F(WindowTest, ButtonsGiveTheirCodesAndAMoveAfterAPressStartsADrag)
{
    w = make(300);
    register_click(clicked, w, nullptr);
    register_pointer(pointed, w, nullptr);
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, client_point(260, 200));
    PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, client_point(262, 201));
    PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, client_point(264, 202));
    PostMessageA(w, WM_LBUTTONUP, 0, client_point(264, 202));
    PostMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, client_point(260, 200));
    PostMessageA(w, WM_MOUSEMOVE, MK_RBUTTON, client_point(261, 200));
    PostMessageA(w, WM_RBUTTONUP, 0, client_point(261, 200));
    PostMessageA(w, WM_LBUTTONDBLCLK, MK_LBUTTON, client_point(260, 200));
    PostMessageA(w, WM_LBUTTONUP, 0, client_point(260, 200));
    PostMessageA(w, WM_RBUTTONDBLCLK, MK_RBUTTON, client_point(260, 200));
    PostMessageA(w, WM_RBUTTONUP, 0, client_point(260, 200));
    PostMessageA(w, WM_MOUSEMOVE, 0, client_point(270, 200));
    pump();
    std::vector<int> codes;
    for (const mouse_block &m : clicks)
        codes.push_back(m.buttons);
    EXPECT_EQ(codes, (std::vector<int>{4, 64, 1, 16, 1024, 256}));
    EXPECT_EQ(seen, std::vector<std::string>{"pointer"});

    // OS units: 180 to the inch, from the bottom of the screen upwards; the
    // drag reports the pressed position.
    POINT p = {260, 200};
    ClientToScreen(w, &p);
    int height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_FALSE(clicks.empty());
    EXPECT_EQ(clicks[0].x, p.x * 180 / 96);
    EXPECT_EQ(clicks[0].y, (height - p.y) * 180 / 96);
    EXPECT_EQ(clicks[1].x, clicks[0].x);
    EXPECT_EQ(clicks[0].window, w);
    EXPECT_EQ(clicks[0].icon, -1);
    EXPECT_EQ(GetCapture(), nullptr);

    // Over a control the icon is the control's identifier.
    clicks.clear();
    RECT r;
    GetWindowRect(GetDlgItem(w, 12), &r);
    POINT c = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(w, &c);
    PostMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, client_point(c.x, c.y));
    PostMessageA(w, WM_RBUTTONUP, 0, client_point(c.x, c.y));
    pump();
    // A push button's click arrives as its notification, icon = its identifier.
    SendMessageA(GetDlgItem(w, 10), BM_CLICK, 0, 0);
    pump();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].icon, 12);
    EXPECT_EQ(clicks[0].buttons, 1);
    EXPECT_EQ(clicks[1].icon, 10);
    EXPECT_EQ(clicks[1].buttons, 4);
    deregister_click(clicked, w, nullptr);
    deregister_pointer(pointed, w, nullptr);
}

std::vector<int> hooked;
const error_block *hook(void *, void *, HWND, void *, int message, intptr_t *)
{
    hooked.push_back(message);
    return nullptr;
}

TEST_F(WindowTest, ARealClickReachesTheClickHandlerAndTheMouseHook)
{
    w = make(300);
    register_click(clicked, w, nullptr);
    register_mouse_hook(hook, nullptr, nullptr);
    hooked.clear();
    POINT p = {260, 200};
    ClientToScreen(w, &p);
    SetCursorPos(p.x, p.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    for (int i = 0; i < 50 && clicks.empty(); i++) {
        pump();
        Sleep(10);
    }
    deregister_mouse_hook(hook, nullptr, nullptr);
    deregister_click(clicked, w, nullptr);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].buttons, BUTTON_SELECT);
    EXPECT_EQ(clicks[0].x, p.x * 180 / 96);
    EXPECT_EQ(clicks[0].y, (GetSystemMetrics(SM_CYSCREEN) - p.y) * 180 / 96);
    EXPECT_NE(std::find(hooked.begin(), hooked.end(), WM_LBUTTONDOWN), hooked.end());
}

std::vector<window_state> opens;
const error_block *opened(HWND, void *, window_state *s) { opens.push_back(*s); return nullptr; }

TEST_F(WindowTest, OpenPlacesTheClientAreaAndStateReadsItBack)
{
    w = make(300, 450, 300, 1200, 750);
    window_state s;
    ASSERT_EQ(window_get_state(w, &s), nullptr);
    EXPECT_EQ(s.x0, 450);
    EXPECT_EQ(s.y0, 300);
    EXPECT_EQ(s.x1, 1200);
    EXPECT_EQ(s.y1, 750);
    EXPECT_EQ(s.flags & 0x80010000u, 0x80010000u);

    // The toolkit's own open raises no open event; a move by others does.
    opens.clear();
    register_open(opened, w, nullptr);
    s.x0 += 150;
    s.x1 += 150;
    window_open(&s);
    pump();
    EXPECT_TRUE(opens.empty());
    SetWindowPos(w, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump();
    ASSERT_FALSE(opens.empty());
    EXPECT_EQ(opens.back().window, w);
    EXPECT_EQ(opens.back().flags & WS_FLAG_OPENING, 0u);
    deregister_open(opened, w, nullptr);

    // Behind -6 hides the window.
    window_get_state(w, &s);
    s.behind = BEHIND_HIDE;
    window_open(&s);
    window_get_state(w, &s);
    EXPECT_EQ(s.flags & WS_FLAG_SHOWN, 0u);
    EXPECT_NE(s.flags & WS_FLAG_ALWAYS, 0u);
    s.behind = BEHIND_TOP;
    window_open(&s);
    window_get_state(w, &s);
    EXPECT_NE(s.flags & WS_FLAG_SHOWN, 0u);
}

TEST_F(WindowTest, ASmallWorkAreaIsCentredWithFlag0x200AndAtTheLeftWithout)
{
    w = make(300, 450, 300, 1050, 750);
    window_state s;
    window_get_state(w, &s);
    int width = s.x1 - s.x0, height = s.y1 - s.y0;
    window_set_extent(w, 0, -150, 300, 0);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_x, 0);
    EXPECT_EQ(s.scroll_y, 0);

    window_flags(w, WF_CENTRE, 0);
    EXPECT_EQ(window_get_flags(w), WF_CENTRE);
    window_open(&s);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_x, -(width - 300) / 2);
    EXPECT_EQ(s.scroll_y, (height - 150) / 2);

    // A larger extent clamps the offsets inside it.
    window_set_extent(w, 0, -3000, 3000, 0);
    s.scroll_x = 5000;
    s.scroll_y = 100;
    window_open(&s);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_x, 3000 - width);
    EXPECT_EQ(s.scroll_y, 0);
    int extent[4];
    window_get_extent(w, extent);
    EXPECT_EQ(extent[0], 0);
    EXPECT_EQ(extent[1], -3000);
    EXPECT_EQ(extent[2], 3000);
    EXPECT_EQ(extent[3], 0);
}

TEST_F(WindowTest, NewScrollOffsetsMoveTheControlsWithFlag0x40)
{
    w = make(300, 450, 300, 1050, 750);
    window_flags(w, WF_SCROLL_CHILDREN, 0);
    window_set_extent(w, 0, -3000, 3000, 0);
    RECT before, after;
    GetWindowRect(GetDlgItem(w, 10), &before);
    window_state s;
    window_get_state(w, &s);
    s.scroll_x = 90;    // 48 pixels
    s.scroll_y = -180;  // 96 pixels
    window_open(&s);
    GetWindowRect(GetDlgItem(w, 10), &after);
    EXPECT_EQ(after.left, before.left - 48);
    EXPECT_EQ(after.top, before.top - 96);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_x, 90);
    EXPECT_EQ(s.scroll_y, -180);
}

int wheel_claims = 0;
const error_block *wheel(HWND, void *, int, int, int, int *claimed)
{
    *claimed = wheel_claims;
    return nullptr;
}

TEST_F(WindowTest, ScrollBarsMoveByTenthsAndPagesAndTheWheelAccumulates)
{
    w = make(301, 450, 300, 1050, 750);
    window_set_extent(w, 0, -3000, 3000, 0);
    window_state s;
    RECT client;
    GetClientRect(w, &client);
    int height = client.bottom * 180 / 96;
    opens.clear();
    register_open(opened, w, nullptr);
    SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_y, -(height / 10));
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].scroll_y, s.scroll_y);
    SendMessageA(w, WM_VSCROLL, SB_PAGEDOWN, 0);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_y, -(height / 10) - height);
    SendMessageA(w, WM_VSCROLL, SB_TOP, 0);
    SendMessageA(w, WM_VSCROLL, SB_LINEUP, 0);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_y, 0);
    deregister_open(opened, w, nullptr);

    // 30 + 30 units: one line; a change of direction restarts the count.
    POINT centre = {100, 100};
    ClientToScreen(w, &centre);
    LPARAM at = MAKELPARAM(centre.x, centre.y);
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -30), at);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_y, 0);
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -30), at);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_y, -(height / 10));
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 30), at);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_y, -(height / 10));
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), at);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_y, 0);

    // A wheel handler that claims keeps the window still.
    wheel_claims = 1;
    register_wheel(wheel, w, nullptr);
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), at);
    window_get_state(w, &s);
    EXPECT_EQ(s.scroll_y, 0);
    deregister_wheel(wheel, w, nullptr);
}

std::vector<redraw_block> redraws;
const error_block *redraw(HWND w, void *)
{
    redraw_block b = {};
    b.window = w;
    if (const error_block *e = wimp_redraw_in(&b))
        return e;
    if (b.more) {
        RECT r;
        GetClipBox(b.dc, &r);
        FillRect(b.dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
    }
    redraws.push_back(b);
    wimp_redraw_end(&b);
    redraws.back().more = b.more * 10 + redraws.back().more;
    return nullptr;
}

TEST_F(WindowTest, RedrawHandlersGetTheForcedRectangleInWorkAreaUnits)
{
    w = make(301, 450, 300, 1050, 750);
    window_set_extent(w, 0, -3000, 3000, 0);
    pump();
    redraws.clear();
    register_redraw(redraw, w, nullptr);
    window_force_redraw(w, 90, -180, 180, -90);
    pump();
    ASSERT_EQ(redraws.size(), 1u);
    const redraw_block &b = redraws[0];
    EXPECT_EQ(b.more, 1);   // 1 while drawing, 0 after the end
    EXPECT_LE(b.g0, 89);
    EXPECT_GE(b.g2, 181);
    EXPECT_LE(b.g1, -181);
    EXPECT_GE(b.g3, -89);
    EXPECT_EQ(b.x0, 0);
    EXPECT_EQ(b.y1, 0);

    // No update region: nothing to draw.
    redraw_block none = {};
    none.window = w;
    ASSERT_EQ(wimp_redraw_in(&none), nullptr);
    EXPECT_EQ(none.more, 0);

    // Updating draws at once, clipped to the given rectangle.
    redraw_block u = {};
    u.window = w;
    u.g0 = 0;
    u.g1 = -90;
    u.g2 = 90;
    u.g3 = 0;
    ASSERT_EQ(wimp_update(&u), nullptr);
    EXPECT_EQ(u.more, 2);
    RECT clip;
    GetClipBox(u.dc, &clip);
    EXPECT_EQ(clip.right - clip.left, 48);
    wimp_redraw_end(&u);
    EXPECT_EQ(u.more, 0);
    deregister_redraw(redraw, w, nullptr);
}

TEST_F(WindowTest, IconsTakeTextStateAndTheCaret)
{
    w = make(300);
    char text[64];
    ASSERT_EQ(icon_set_text(w, 11, "pattern"), nullptr);
    icon_get_text(w, 11, text, sizeof text);
    EXPECT_STREQ(text, "pattern");
    icon_select(w, 14, 1);
    EXPECT_EQ(icon_selected(w, 14), 1);
    icon_select(w, 14, 0);
    EXPECT_EQ(icon_selected(w, 14), 0);
    icon_enable(w, 10, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, 10)));
    ASSERT_EQ(icon_delete(w, 12), nullptr);
    EXPECT_EQ(GetDlgItem(w, 12), nullptr);
    const error_block *e = icon_set_text(w, 12, "gone");
    ASSERT_NE(e, nullptr);
    EXPECT_NE(strstr(e->errmess, "(GetDlgItem)"), nullptr) << e->errmess;

    SetForegroundWindow(w);
    ASSERT_EQ(caret_set(w, 11, 1, 4), nullptr);
    caret_block c;
    caret_get(&c);
    EXPECT_EQ(c.window, w);
    EXPECT_EQ(c.icon, 11);
    EXPECT_EQ(c.selection_start, 1);
    EXPECT_EQ(c.selection_end, 4);
}

std::vector<int> drag_report;
void drag_moved(intptr_t a, intptr_t, int x, int) { drag_report.push_back((int)a * 0 + x); }
void drag_ended(intptr_t a, intptr_t b, int x0, int y0, int x1, int y1)
{
    drag_report.insert(drag_report.end(), {(int)a, (int)b, x0, y0, x1, y1});
}
const error_block *start_bar(HWND w, void *, mouse_block *m)
{
    if (m->buttons != BUTTON_SELECT_DRAG)
        return nullptr;
    drag_block b = {w, 8, m->x, m->y - 90, m->x, m->y + 90, {0, 0, 0, 0}};
    drag_set_callbacks(drag_ended, 7, 8, drag_moved);
    return drag_start(&b);
}

TEST_F(WindowTest, ABarDragFollowsThePointerAndEndsWithTheFinalBox)
{
    w = make(300);
    drag_report.clear();
    register_click(start_bar, w, nullptr);
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, client_point(100, 100));
    PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, client_point(101, 100));
    PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, client_point(140, 120));
    PostMessageA(w, WM_LBUTTONUP, 0, client_point(140, 120));
    pump();
    EXPECT_FALSE(drag_active());
    POINT start = {100, 100}, end = {140, 120};
    ClientToScreen(w, &start);
    ClientToScreen(w, &end);
    int x = end.x * 180 / 96, y = (GetSystemMetrics(SM_CYSCREEN) - start.y) * 180 / 96;
    ASSERT_EQ(drag_report.size(), 7u);
    EXPECT_EQ(drag_report[0], x);
    // A vertical bar moves sideways only.
    EXPECT_EQ(std::vector<int>(drag_report.begin() + 1, drag_report.end()),
              (std::vector<int>{7, 8, x, y - 90, x, y + 90}));

    // Cancelling calls no end callback.
    drag_report.clear();
    drag_block b = {w, 5, 0, 0, 90, 90, {0, 0, 0, 0}};
    drag_start(&b);
    EXPECT_TRUE(drag_active());
    drag_start(nullptr);
    EXPECT_FALSE(drag_active());
    EXPECT_TRUE(drag_report.empty());
    deregister_click(start_bar, w, nullptr);
}

const error_block *parent_event(HWND w, void *value)
{
    seen.push_back(std::string((const char *)value) + (IsWindow(w) ? " alive" : " gone"));
    return nullptr;
}

TEST_F(WindowTest, ChildrenHearWhenTheirParentClosesOrIsDeleted)
{
    w = make(300);
    HWND child;
    ASSERT_EQ(window_create(302, nullptr, w, &child), nullptr);
    register_parent_close(parent_event, child, (void *)"closed");
    register_parent_delete(parent_event, child, (void *)"deleted");
    window_close(w);
    EXPECT_FALSE(IsWindowVisible(w));
    window_delete(w);
    EXPECT_EQ(seen, (std::vector<std::string>{"closed alive", "deleted alive"}));
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(window_data(w), nullptr);
    EXPECT_EQ(window_data(child), nullptr);
    deregister_parent_close(parent_event, child, (void *)"closed");
    deregister_parent_delete(parent_event, child, (void *)"deleted");
    w = nullptr;
}

TEST_F(WindowTest, TheInformationWindowShowsVersionAndNameAndEscapeRemovesIt)
{
    ASSERT_EQ(info_window(nullptr, 123, "7 Dec 2026", nullptr), nullptr);
    HWND info = info_window_handle();
    ASSERT_NE(info, nullptr);
    char text[64];
    GetWindowTextA(info, text, sizeof text);
    EXPECT_STREQ(text, "About Quillmere");
    icon_get_text(info, 1013, text, sizeof text);
    EXPECT_STREQ(text, "1.23 7 Dec 2026");
    icon_get_text(info, 1012, text, sizeof text);
    EXPECT_STREQ(text, "Quillmere");
    // A second request brings the same window forward.
    ASSERT_EQ(info_window(nullptr, 123, "7 Dec 2026", nullptr), nullptr);
    EXPECT_EQ(info_window_handle(), info);
    PostMessageA(info, WM_CHAR, 27, 0);
    pump();
    EXPECT_EQ(info_window_handle(), nullptr);
    EXPECT_FALSE(IsWindow(info));
}

}  // namespace
