// The "abx" control: its validation strings, its text and state messages,
// what it paints (read back from memory bitmaps), and its mouse behaviour
// driven by the platform's mouse messages.
#include "events_test_util.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/drawing/drawing_test_util.h"
#include "toolkit/events/abx.h"
#include "toolkit/events/abx_internal_win.h"
#include "toolkit/events/sprites.h"

namespace {

const COLORREF magenta = RGB(255, 0, 255), red = RGB(255, 0, 0), black = RGB(0, 0, 0);

TEST(AbxString, CommandsReadAndSetTheirFirstOccurrence)
{
    std::string v = "Lead\\E3\\sSecond\\k-1\\E1";
    std::string value;
    EXPECT_TRUE(abx_read_command(v, 's', &value));
    EXPECT_EQ(value, "Lead");   // text before the first backslash is `s`
    EXPECT_TRUE(abx_read_command(v, 'E', &value));
    EXPECT_EQ(value, "3");
    EXPECT_TRUE(abx_read_command(v, 'k', &value));
    EXPECT_EQ(value, "-1");
    EXPECT_FALSE(abx_read_command(v, 'K', &value));
    EXPECT_EQ(value, "");

    EXPECT_TRUE(abx_write_command(&v, 'E', "2"));
    EXPECT_EQ(v, "Lead\\E2\\sSecond\\k-1\\E1");
    EXPECT_FALSE(abx_write_command(&v, 'g', "0x1"));
    EXPECT_EQ(v, "Lead\\E2\\sSecond\\k-1\\E1");

    // A doubled backslash is one backslash of the value, in both directions.
    std::string d = "\\C\\sa\\\\b\\V";
    EXPECT_TRUE(abx_read_command(d, 's', &value));
    EXPECT_EQ(value, "a\\b");
    EXPECT_TRUE(abx_read_command(d, 'V', &value));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(abx_write_command(&d, 's', "x\\y\\"));
    EXPECT_EQ(d, "\\C\\sx\\\\y\\\\\\V");
    EXPECT_TRUE(abx_read_command(d, 's', &value));
    EXPECT_EQ(value, "x\\y\\");

    // Emptying the leading text keeps an `s` to set later.
    std::string e = "Lead\\K1";
    EXPECT_TRUE(abx_write_command(&e, 's', ""));
    EXPECT_TRUE(abx_write_command(&e, 's', "Back"));
    EXPECT_TRUE(abx_read_command(e, 's', &value));
    EXPECT_EQ(value, "Back");
    EXPECT_TRUE(abx_read_command(e, 'K', &value));
    EXPECT_EQ(value, "1");
}

struct click {
    int icon, buttons;
};
std::vector<click> clicks;
std::vector<int> pointers;

const error_block *on_click(HWND, void *, mouse_block *m)
{
    clicks.push_back({m->icon, m->buttons});
    return nullptr;
}

const error_block *on_pointer(HWND, void *, mouse_block *m)
{
    pointers.push_back(m->icon);
    return nullptr;
}

class AbxTest : public ::testing::Test {
protected:
    HWND w = nullptr;
    std::vector<HWND> made;
    void SetUp() override
    {
        start_task();
        clicks.clear();
        pointers.clear();
        ASSERT_EQ(window_create(300, nullptr, nullptr, &w), nullptr);
        window_state s = {w, 450, 450, 1050, 900, 0, 0, BEHIND_TOP, 0};
        window_open(&s);
        register_click(on_click, w, nullptr);
        register_pointer(on_pointer, w, nullptr);
        pump();
    }
    void TearDown() override
    {
        deregister_click(on_click, w, nullptr);
        deregister_pointer(on_pointer, w, nullptr);
        if (IsWindow(w))
            window_delete(w);
        pump();
    }
    HWND make(const char *validation, int id = 50, int width = 60, int height = 24, DWORD style = 0)
    {
        HWND c = CreateWindowExA(0, "abx", validation, WS_CHILD | WS_VISIBLE | style, 4, 4, width, height, w,
                                 reinterpret_cast<HMENU>((intptr_t)id), GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(c, nullptr);
        return c;
    }
    // Paints the control into a bitmap that starts magenta.
    static void paint(HWND c, test_bitmap &b, bool erase = true)
    {
        SendMessageA(c, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(b.dc), PRF_CLIENT | (erase ? PRF_ERASEBKGND : 0));
        GdiFlush();
    }
    static std::string validation(HWND c)
    {
        std::string v;
        abx_get_validation(GetParent(c), GetDlgCtrlID(c), &v);
        return v;
    }
};

TEST_F(AbxTest, TextMessagesReadAndSetTheSCommand)
{
    HWND field = make("\\E3\\K3\\V\\C\\s", 51);
    char text[64];
    SetWindowTextA(field, "Found 12");
    EXPECT_EQ(validation(field), "\\E3\\K3\\V\\C\\sFound 12");
    GetWindowTextA(field, text, sizeof text);
    EXPECT_STREQ(text, "Found 12");
    EXPECT_EQ(GetWindowTextLengthA(field), 8);

    // The toolkit's icon operations go through the same messages.
    ASSERT_EQ(icon_set_text(w, 51, "C:\\dict"), nullptr);
    EXPECT_EQ(validation(field), "\\E3\\K3\\V\\C\\sC:\\\\dict");
    ASSERT_EQ(icon_get_text(w, 51, text, sizeof text), nullptr);
    EXPECT_STREQ(text, "C:\\dict");

    // A doubled backslash in the template's string shows as one.
    HWND doubled = make("\\sa\\\\b", 52);
    GetWindowTextA(doubled, text, sizeof text);
    EXPECT_STREQ(text, "a\\b");

    // Without an `s` command the string stays as it was.
    HWND swatch = make("\\k-1\\F\\KR1", 53);
    SetWindowTextA(swatch, "ignored");
    EXPECT_EQ(validation(swatch), "\\k-1\\F\\KR1");
    GetWindowTextA(swatch, text, sizeof text);
    EXPECT_STREQ(text, "");

    // A short buffer gets a terminated start of the text.
    GetWindowTextA(field, text, 4);
    EXPECT_STREQ(text, "C:\\");

    // Replacing commands: a colour written as "0x%x"; an absent command is
    // left absent.
    ASSERT_EQ(abx_set_colour(w, 53, 'k', 0x0000FF01), nullptr);
    EXPECT_EQ(validation(swatch), "\\k0xff01\\F\\KR1");
    ASSERT_EQ(abx_set_command(w, 53, 'g', "0x1"), nullptr);
    EXPECT_EQ(validation(swatch), "\\k0xff01\\F\\KR1");
    EXPECT_NE(abx_set_command(w, 99, 'g', "0x1"), nullptr);   // no such icon
}

TEST_F(AbxTest, StateBitsFollowCheckEnableAndFocus)
{
    HWND c = make("\\E2\\V\\C\\arindent\\K1", 54, 24, 24, WS_TABSTOP);
    EXPECT_EQ(GetWindowLongA(c, 0), 0);
    ASSERT_EQ(icon_select(w, 54, 1), nullptr);
    EXPECT_EQ(GetWindowLongA(c, 0), ABX_SELECTED);
    EXPECT_EQ(icon_selected(w, 54), 1);
    icon_enable(w, 54, 0);
    EXPECT_EQ(GetWindowLongA(c, 0), ABX_SELECTED | ABX_DISABLED);
    icon_enable(w, 54, 1);
    icon_select(w, 54, 0);
    EXPECT_EQ(GetWindowLongA(c, 0), 0);
    SetFocus(c);
    EXPECT_EQ(GetWindowLongA(c, 0), ABX_FOCUS);
    SetFocus(w);
    EXPECT_EQ(GetWindowLongA(c, 0), 0);
    // A click gives the focus to a control in the tab order only.
    HWND display = make("\\E3\\K1", 56);
    SendMessageA(display, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(display, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_NE(GetFocus(), display);
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(GetFocus(), c);
    EXPECT_EQ(GetWindowLongA(c, 0), ABX_FOCUS);
    SetFocus(w);
    clicks.clear();
    HWND off = make("\\sOff", 55, 60, 24, WS_DISABLED);
    EXPECT_EQ(GetWindowLongA(off, 0), ABX_DISABLED);

    // In dialog navigation it is a button: Space or its button message
    // reports a click.
    EXPECT_EQ(SendMessageA(c, WM_GETDLGCODE, 0, 0), DLGC_BUTTON);
    SendMessageA(c, BM_CLICK, 0, 0);
    SendMessageA(c, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(GetWindowLongA(c, 0) & ABX_PRESSED, ABX_PRESSED);
    SendMessageA(c, WM_KEYUP, VK_SPACE, 0xC0000000);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].icon, 54);
    EXPECT_EQ(clicks[0].buttons, BUTTON_SELECT);
    EXPECT_EQ(GetWindowLongA(c, 0) & ABX_PRESSED, 0);
}

TEST_F(AbxTest, FillsWithTheKColourAndNoColourLeavesTheBackground)
{
    test_bitmap none(40, 20, magenta), filled(40, 20, magenta), sunken(40, 20, magenta);
    paint(make("\\k-1\\F", 56, 40, 20), none);
    EXPECT_EQ(none.count_of(magenta), 40 * 20);   // -1 reads as code 255: no colour

    paint(make("\\k0x0000FF01\\F", 57, 40, 20), filled);
    EXPECT_EQ(filled.count_of(red), 40 * 20);

    // Toolkit colours: palette entries from code 2, system colours from
    // 18 (43 to 45 skip to system colours 26 to 28), nothing from 46.
    struct {
        const char *validation;
        COLORREF fill;
    } colours[] = {
        {"\\k13\\F", RGB(0xDD, 0, 0)},
        {"\\k2\\F", RGB(255, 255, 255)},
        {"\\k23\\F", GetSysColor(COLOR_WINDOW)},
        {"\\k43\\F", GetSysColor(COLOR_HOTLIGHT)},
        {"\\k46\\F", magenta},
        {"\\k0\\F", magenta},
    };
    int id = 100;
    for (const auto &c : colours) {
        test_bitmap b(10, 10, magenta);
        paint(make(c.validation, id++, 10, 10), b);
        EXPECT_EQ(b.count_of(c.fill), 100) << c.validation;
    }

    // A `k` under a false condition does not count while erasing: the fill
    // keeps the button face.
    test_bitmap gated(40, 20, magenta);
    paint(make("\\OS\\k0x0000FF01\\O1\\F", 58, 40, 20), gated);
    EXPECT_EQ(gated.count_of(GetSysColor(COLOR_BTNFACE)), 40 * 20);

    // The sunken display area: a two-pixel edge, the inside untouched.
    paint(make("\\E3\\k-1\\F", 59, 40, 20), sunken);
    EXPECT_EQ(sunken.at(0, 0), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(sunken.at(39, 19), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(sunken.at(20, 10), magenta);
    EXPECT_EQ(sunken.at(2, 2), magenta);
    test_bitmap after(40, 20, magenta);
    paint(make("\\k-1\\F\\E3", 60, 40, 20), after);
    EXPECT_EQ(after.count_of(magenta), sunken.count_of(magenta));

    // The frame (`E4`) is drawn in the text colour.
    test_bitmap framed(40, 20, magenta);
    paint(make("\\g0x0000FF01\\E4", 61, 40, 20), framed);
    EXPECT_EQ(framed.count_of(red), 2 * 40 + 2 * 18);
}

TEST_F(AbxTest, SpritesDrawFromThePoolAndUnknownOnesDrawNothing)
{
    // "rindent": a black triangle 7 wide and 14 high, rows 1..7, 7..1.
    test_bitmap b(40, 30, magenta);
    paint(make("\\arindent", 62, 40, 30), b, false);
    EXPECT_EQ(b.count_of(black), 56);
    RECT r = b.box_unlike(magenta);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 7);
    EXPECT_EQ(r.bottom, 14);
    EXPECT_EQ(b.at(0, 0), black);
    EXPECT_EQ(b.at(1, 0), magenta);
    EXPECT_EQ(b.at(6, 6), black);

    // Names are compared without regard to case; `t` moves right; the
    // position advances past a sprite; alignment places it.
    test_bitmap two(40, 30, magenta);
    paint(make("\\t3\\aRINDENT\\arindent", 63, 40, 30), two, false);
    EXPECT_EQ(two.count_of(black), 112);
    r = two.box_unlike(magenta);
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.right, 17);
    test_bitmap corner(40, 30, magenta);
    paint(make("\\R\\B\\arindent", 64, 40, 30), corner, false);
    r = corner.box_unlike(magenta);
    EXPECT_EQ(r.right, 40);
    EXPECT_EQ(r.bottom, 30);
    test_bitmap middle(40, 30, magenta);
    paint(make("\\V\\C\\arindent", 65, 40, 30), middle, false);
    r = middle.box_unlike(magenta);
    EXPECT_EQ(r.left, 20 - 3);
    EXPECT_EQ(r.top, 15 - 7);

    // An unknown sprite ("warning" is not in the pool) draws nothing and
    // does not move the position.
    test_bitmap with(60, 24, magenta), without(60, 24, magenta);
    paint(make("\\awarning\\arindent", 66, 60, 24), with, false);
    paint(make("\\arindent", 67, 60, 24), without, false);
    EXPECT_EQ(memcmp(with.bits, without.bits, 60 * 24 * 4), 0);
    test_bitmap nothing(40, 30, magenta);
    paint(make("\\C\\V\\awarning\\KD1", 68, 40, 30), nothing, false);
    EXPECT_EQ(nothing.count_of(magenta), 40 * 30);

    // A sprite whose image lies outside it draws nothing and does not move
    // the position either.
    unsigned char broken[64] = {};
    auto put = [&](int at, int32_t v) { memcpy(broken + at, &v, 4); };
    put(0, 1);      // count
    put(4, 16);     // first sprite
    put(8, 68);     // free space
    put(12, 52);    // next
    memcpy(broken + 16, "broken", 6);
    put(32, 1);     // two rows
    put(40, 7);     // last bit
    put(44, 1000);  // image
    put(48, 1000);  // mask
    put(52, 25);    // mode
    ASSERT_EQ(sprites_add(broken, sizeof broken), nullptr);
    test_bitmap bad(60, 24, magenta);
    paint(make("\\abroken\\arindent", 99, 60, 24), bad, false);
    EXPECT_EQ(memcmp(bad.bits, without.bits, 60 * 24 * 4), 0);

    // Disabled: greyed, unless a condition tested G.
    test_bitmap grey(40, 30, magenta), normal(40, 30, magenta);
    paint(make("\\arindent", 69, 40, 30, WS_DISABLED), grey, false);
    EXPECT_EQ(grey.count_of(black), 0);
    EXPECT_EQ(grey.count_unlike(magenta), 56);
    paint(make("\\OG+1\\arindent", 70, 40, 30, WS_DISABLED), normal, false);
    EXPECT_EQ(normal.count_of(black), 56);
}

TEST_F(AbxTest, IconsAndImageListsDrawAtTheirSizesAndAdvance)
{
    // The test program's "testicon" is red at 32 pixels and blue at 16.
    test_bitmap big(60, 40, magenta), small(60, 40, magenta);
    paint(make("\\t2\\Itesticon\\arindent", 89, 60, 40), big, false);
    EXPECT_EQ(big.count_of(red), 32 * 32);
    RECT r = big.box_unlike(magenta);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right, 2 + 32 + 7);   // the sprite follows the icon
    paint(make("\\itesticon\\Imissing\\arindent", 90, 60, 40), small, false);
    EXPECT_EQ(small.count_of(RGB(0, 0, 255)), 16 * 16);
    EXPECT_EQ(small.box_unlike(magenta).right, 16 + 7);

    // `l`: image 1 of list 3, centred vertically.
    HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32, 2, 0);
    for (COLORREF c : {RGB(0, 255, 0), red}) {
        test_bitmap tile(8, 8, c);
        HBITMAP b = CreateCompatibleBitmap(tile.dc, 8, 8);
        HDC copy = CreateCompatibleDC(tile.dc);
        HGDIOBJ old = SelectObject(copy, b);
        BitBlt(copy, 0, 0, 8, 8, tile.dc, 0, 0, SRCCOPY);
        SelectObject(copy, old);
        DeleteDC(copy);
        ImageList_Add(list, b, nullptr);
        DeleteObject(b);
    }
    abx_set_image_list(3, list);
    test_bitmap listed(40, 20, magenta);
    paint(make("\\t4\\l3,1", 91, 40, 20), listed, false);
    EXPECT_EQ(listed.count_of(red), 64);
    r = listed.box_unlike(magenta);
    EXPECT_EQ(r.left, 4);
    EXPECT_EQ(r.top, 6);
    abx_set_image_list(3, nullptr);
    ImageList_Destroy(list);
}

TEST_F(AbxTest, ConditionsGateTextAndDisabledTextIsEmbossed)
{
    auto ink = [&](HWND c) {
        test_bitmap b(60, 24, magenta);
        paint(c, b, false);
        return b.count_unlike(magenta);
    };
    HWND unselected = make("\\O!S\\sText", 71);
    HWND either = make("\\OS+P\\sText", 72);
    EXPECT_GT(ink(unselected), 10);
    EXPECT_EQ(ink(either), 0);
    icon_select(w, 71, 1);
    icon_select(w, 72, 1);
    EXPECT_EQ(ink(unselected), 0);
    EXPECT_GT(ink(either), 10);
    icon_select(w, 72, 0);
    SendMessageA(either, BM_SETSTATE, 1, 0);   // pressed
    EXPECT_GT(ink(either), 10);
    SendMessageA(either, BM_SETSTATE, 0, 0);
    EXPECT_EQ(ink(either), 0);
    // "-" ANDs: selected and pressed.
    HWND both = make("\\OS-P\\sText", 73);
    icon_select(w, 73, 1);
    EXPECT_EQ(ink(both), 0);
    SendMessageA(both, BM_SETSTATE, 1, 0);
    EXPECT_GT(ink(both), 10);

    // Enabled text in the menu-text colour; disabled text embossed: the
    // highlight one pixel down and right, then grey.
    HWND text = make("\\sText", 74);
    test_bitmap on(60, 24, magenta), off(60, 24, magenta);
    paint(text, on, false);
    EXPECT_GT(on.count_of(GetSysColor(COLOR_MENUTEXT)), 10);
    EnableWindow(text, FALSE);
    paint(text, off, false);
    EXPECT_EQ(off.count_of(GetSysColor(COLOR_MENUTEXT)), 0);
    EXPECT_GT(off.count_of(GetSysColor(COLOR_3DHILIGHT)), 5);
    EXPECT_GT(off.count_of(GetSysColor(COLOR_GRAYTEXT)), 5);
    RECT a = on.box_unlike(magenta), b = off.box_unlike(magenta);
    EXPECT_EQ(b.left, a.left);
    EXPECT_EQ(b.right, a.right + 1);

    // Centred text with `V` sits in the middle of what the border leaves;
    // it is clipped to the rectangle.
    test_bitmap c(60, 24, magenta);
    paint(make("\\E3\\K3\\V\\C\\sMid", 75, 60, 24), c, false);
    RECT inked = c.box_of(GetSysColor(COLOR_MENUTEXT));
    EXPECT_NEAR((inked.left + inked.right) / 2, 30, 2);
    EXPECT_NEAR((inked.top + inked.bottom) / 2, 12, 3);
    test_bitmap clipped(60, 24, magenta);
    paint(make("\\E3\\sA text far too long for the field", 76, 60, 24), clipped, false);
    for (int y = 0; y < 24; y++)
        EXPECT_EQ(clipped.at(59, y), GetSysColor(COLOR_3DHILIGHT));

    // Tokens in the text are expanded when drawn; reading the text gives
    // it as written.
    test_bitmap token(120, 24, magenta), expanded(120, 24, magenta);
    HWND with_token = make("\\s{ERD}", 80, 120, 24);
    paint(with_token, token, false);
    paint(make("\\sError reading data.", 81, 120, 24), expanded, false);
    EXPECT_EQ(memcmp(token.bits, expanded.bits, 120 * 24 * 4), 0);
    char raw[32];
    GetWindowTextA(with_token, raw, sizeof raw);
    EXPECT_STREQ(raw, "{ERD}");

    // The link: underlined text in the link colour.
    test_bitmap link(120, 24, magenta), plain(120, 24, magenta);
    paint(make("\\Pihand\\V\\u1\\g0xFF000001\\sQuillmere\\K1", 77, 120, 24), link, false);
    paint(make("\\Pihand\\V\\u0\\g0xFF000001\\sQuillmere\\K1", 78, 120, 24), plain, false);
    EXPECT_GT(link.count_of(RGB(0, 0, 255)), plain.count_of(RGB(0, 0, 255)) + 20);
    EXPECT_EQ(plain.count_of(GetSysColor(COLOR_MENUTEXT)), 0);

    // A focused control draws the focus rectangle.
    HWND focus = make("\\sF", 79, 60, 24, WS_TABSTOP);
    test_bitmap before(60, 24, magenta), focused(60, 24, magenta);
    paint(focus, before, false);
    SetFocus(focus);
    paint(focus, focused, false);
    EXPECT_GT(focused.count_unlike(magenta), before.count_unlike(magenta) + 40);
    SetFocus(w);
}

TEST_F(AbxTest, KFlagsReportPressesReleasesDoubleClicksAndDrags)
{
    auto down = [](HWND c, int x = 5, int y = 5) { SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); };
    auto up = [](HWND c, int x = 5, int y = 5) { SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); };
    auto move = [](HWND c, int x, int y, WPARAM keys) { SendMessageA(c, WM_MOUSEMOVE, keys, MAKELPARAM(x, y)); };

    HWND press = make("\\E2\\V\\C\\arindent\\K1", 80);
    down(press);
    EXPECT_EQ(GetWindowLongA(press, 0), ABX_PRESSED);
    up(press);
    EXPECT_EQ(GetWindowLongA(press, 0), 0);
    SendMessageA(press, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageA(press, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].icon, 80);
    EXPECT_EQ(clicks[0].buttons, BUTTON_SELECT);
    EXPECT_EQ(clicks[1].buttons, BUTTON_ADJUST);

    // On release, only when released over the control; shown pressed only
    // while the pointer is inside.
    clicks.clear();
    HWND swatch = make("\\k-1\\F\\KR1", 81);
    down(swatch);
    EXPECT_TRUE(clicks.empty());
    move(swatch, 200, 5, MK_LBUTTON);
    EXPECT_EQ(GetWindowLongA(swatch, 0), 0);
    move(swatch, 6, 5, MK_LBUTTON);
    EXPECT_EQ(GetWindowLongA(swatch, 0), ABX_PRESSED);
    up(swatch);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].buttons, BUTTON_SELECT);
    down(swatch);
    up(swatch, 200, 5);
    EXPECT_EQ(clicks.size(), 1u);

    // "3" is no flag: the text field reports nothing.
    clicks.clear();
    HWND field = make("\\E3\\K3\\V\\C\\s", 82);
    down(field);
    up(field);
    SendMessageA(field, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    up(field);
    EXPECT_TRUE(clicks.empty());

    // Double clicks, on press and on release.
    HWND dbl = make("\\K12", 83);
    down(dbl);
    up(dbl);
    SendMessageA(dbl, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    up(dbl);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[1].buttons, BUTTON_SELECT_DOUBLE);
    HWND late = make("\\KR2", 84);
    SendMessageA(late, WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks.size(), 2u);
    SendMessageA(late, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[2].buttons, BUTTON_ADJUST_DOUBLE);

    // The picture: a press, then one drag once the pointer moves.
    clicks.clear();
    HWND picture = make("\\C\\V\\awarning\\KD1", 85);
    down(picture);
    move(picture, 6, 5, MK_LBUTTON);
    ASSERT_EQ(clicks.size(), 1u);
    move(picture, 30, 20, MK_LBUTTON);
    move(picture, 40, 20, MK_LBUTTON);
    up(picture, 40, 20);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].buttons, BUTTON_SELECT);
    EXPECT_EQ(clicks[1].buttons, BUTTON_SELECT_DRAG);
    EXPECT_EQ(clicks[1].icon, 85);

    // Pointer movement with no button held reaches the parent as kind -17.
    pointers.clear();
    move(picture, 10, 10, 0);
    ASSERT_EQ(pointers.size(), 1u);
    EXPECT_EQ(pointers[0], 85);

    // A lost capture ends the press without a report.
    clicks.clear();
    down(swatch);
    SetCapture(w);
    ReleaseCapture();
    EXPECT_EQ(GetWindowLongA(swatch, 0), 0);
    up(swatch);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(AbxTest, AutoRepeatClicksWhileHeldOverTheControl)
{
    // The repeat timer's ticks are sent here by hand (the real timer is
    // stopped after each step), so the count does not depend on time.
    HWND c = make("\\E2\\KA", 86);
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    KillTimer(c, abx_repeat_timer);
    ASSERT_EQ(clicks.size(), 1u);
    SendMessageA(c, WM_TIMER, abx_repeat_timer, 0);
    KillTimer(c, abx_repeat_timer);
    SendMessageA(c, WM_TIMER, abx_repeat_timer, 0);
    KillTimer(c, abx_repeat_timer);
    EXPECT_EQ(clicks.size(), 3u);
    SendMessageA(c, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 5));   // off the control
    SendMessageA(c, WM_TIMER, abx_repeat_timer, 0);
    KillTimer(c, abx_repeat_timer);
    EXPECT_EQ(clicks.size(), 3u);
    SendMessageA(c, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 6));
    SendMessageA(c, WM_TIMER, abx_repeat_timer, 0);
    KillTimer(c, abx_repeat_timer);
    EXPECT_EQ(clicks.size(), 4u);
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    SendMessageA(c, WM_TIMER, abx_repeat_timer, 0);   // a tick already queued
    EXPECT_EQ(clicks.size(), 4u);
    for (const click &k : clicks)
        EXPECT_EQ(k.buttons, BUTTON_SELECT);
}

TEST_F(AbxTest, ThePointerCommandSetsThePointerOverTheControl)
{
    HWND link = make("\\Pihand\\V\\u1\\g0xFF000001\\sQuillmere\\K1", 87, 100, 20);
    EXPECT_EQ(SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    HWND plain = make("\\sPlain", 88, 100, 20);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    SendMessageA(plain, WM_SETCURSOR, reinterpret_cast<WPARAM>(plain), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace
