// The rarer events of a toolkit window, each raised by the real message:
// dropped files, message filters, subclassed controls, hot keys, help,
// the busy pointer, refused moves, icon notifications, wide windows,
// backgrounds; and the start-up resources read from a directory.
#include "events_test_util.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/events/sprites.h"
#include "toolkit/events/templates.h"
#include "toolkit/files/dialogs.h"
#include "toolkit/messages/error.h"

namespace {

std::vector<std::string> seen;

class WindowEventsTest : public ::testing::Test {
protected:
    HWND w = nullptr;
    void SetUp() override
    {
        start_task();
        seen.clear();
        ASSERT_EQ(window_create(300, nullptr, nullptr, &w), nullptr);
        window_state s = {w, 450, 450, 1050, 900, 0, 0, BEHIND_TOP, 0};
        window_open(&s);
        pump();
    }
    void TearDown() override
    {
        if (IsWindow(w))
            window_delete(w);
        pump();
    }
};

// A WM_DROPFILES block holding one path, as the shell builds it.
HDROP drop_of(const char *path, POINT at)
{
    size_t size = sizeof(DROPFILES) + strlen(path) + 2;
    HGLOBAL h = GlobalAlloc(GHND, size);
    auto *d = static_cast<DROPFILES *>(GlobalLock(h));
    d->pFiles = sizeof(DROPFILES);
    d->pt = at;
    strcpy(reinterpret_cast<char *>(d + 1), path);
    GlobalUnlock(h);
    return static_cast<HDROP>(h);
}

int accept_drop = 1;
const error_block *offered(const char *path, int type, mouse_block *, void *, int *accept)
{
    seen.push_back("offer " + std::string(strrchr(path, '/') ? strrchr(path, '/') + 1 : path) + " " +
                   std::to_string(type));
    *accept = accept_drop;
    return nullptr;
}
const error_block *dropped(const char *, int type, void *, int) { seen.push_back("drop " + std::to_string(type)); return nullptr; }
const error_block *taken(void *) { seen.push_back("taken"); return nullptr; }

TEST_F(WindowEventsTest, ADroppedFileIsOfferedThenTakenUnlessRefused)
{
    register_drop_offer(offered, w, nullptr);
    register_drop(dropped, w, nullptr);
    register_dropped(taken, w, nullptr);
    std::string path = std::string(QM_TEST_DATA) + "/events/dropped.txt";
    PostMessageA(w, WM_DROPFILES, (WPARAM)drop_of(path.c_str(), POINT{10, 10}), 0);
    pump();
    // The type comes from the file-type tables (none registered here: the
    // type for names without a match).
    int type = event_file_type(path.c_str());
    EXPECT_EQ(seen, (std::vector<std::string>{"offer dropped.txt " + std::to_string(type),
                                              "drop " + std::to_string(type), "taken"}));
    seen.clear();
    accept_drop = 0;
    PostMessageA(w, WM_DROPFILES, (WPARAM)drop_of(path.c_str(), POINT{10, 10}), 0);
    pump();
    accept_drop = 1;
    EXPECT_EQ(seen.size(), 1u);
    deregister_drop_offer(offered, w, nullptr);
    deregister_drop(dropped, w, nullptr);
    deregister_dropped(taken, w, nullptr);
}

const error_block *filter(platform_message *m, void *value, int *claimed)
{
    if (m->message == WM_CLOSE) {
        seen.push_back((const char *)value);
        *claimed = 1;
    }
    return nullptr;
}
const error_block *closing(HWND, void *) { seen.push_back("close"); return nullptr; }

TEST_F(WindowEventsTest, FiltersSeeMessagesBeforeDispatchAndInsideTheProcedure)
{
    register_close(closing, w, nullptr);
    register_message_filter(EV_MSG_BEFORE, filter, w, WM_CLOSE, (void *)"before");
    PostMessageA(w, WM_CLOSE, 0, 0);
    pump();
    deregister_message_filter(EV_MSG_BEFORE, filter, w, WM_CLOSE, (void *)"before");
    register_message_filter(EV_ALL_INSIDE, filter, nullptr, 0, (void *)"inside");
    PostMessageA(w, WM_CLOSE, 0, 0);
    pump();
    deregister_message_filter(EV_ALL_INSIDE, filter, nullptr, 0, (void *)"inside");
    PostMessageA(w, WM_CLOSE, 0, 0);
    pump();
    EXPECT_EQ(seen, (std::vector<std::string>{"before", "inside", "close"}));
    deregister_close(closing, w, nullptr);
}

const error_block *no_digits(platform_message *m, void *, int *claimed)
{
    if (m->message == WM_CHAR && m->wparam >= '0' && m->wparam <= '9')
        *claimed = 1;
    return nullptr;
}

TEST_F(WindowEventsTest, ASubclassedControlLetsItsHandlersClaimMessages)
{
    HWND edit = GetDlgItem(w, 11);
    register_subclass(no_digits, edit, nullptr);
    for (char c : std::string("a1b2"))
        SendMessageA(edit, WM_CHAR, c, 0);
    char text[16];
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "ab");
    deregister_subclass(no_digits, edit, nullptr);
    SendMessageA(edit, WM_CHAR, '3', 0);
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "ab3");
}

const error_block *hot(HWND, void *value, int code)
{
    seen.push_back(std::to_string((intptr_t)value) + " " + std::to_string(code));
    return nullptr;
}

TEST_F(WindowEventsTest, HotKeysAndHelpRequestsReachTheirHandlers)
{
    register_hotkey(hot, w, 5, KEY_CTRL | VK_F7);
    EXPECT_EQ(event_count(EV_HOTKEY), 1);
    PostMessageA(w, WM_HOTKEY, 5, MAKELPARAM(MOD_CONTROL, VK_F7));
    PostMessageA(w, WM_HOTKEY, 6, 0);
    pump();
    deregister_hotkey(hot, w, 5, KEY_CTRL | VK_F7);
    ASSERT_EQ(seen.size(), 1u);

    static int helped = 99;
    help_handler help = [](HWND, void *, int icon, int *) -> const error_block * {
        helped = icon;
        return nullptr;
    };
    register_help(help, w, nullptr);
    SendMessageA(w, WM_CONTEXTMENU, (WPARAM)GetDlgItem(w, 10), MAKELPARAM(10, 10));
    EXPECT_EQ(helped, 10);
    SendMessageA(w, WM_CONTEXTMENU, (WPARAM)w, MAKELPARAM(10, 10));
    EXPECT_EQ(helped, -1);
    deregister_help(help, w, nullptr);
}

TEST_F(WindowEventsTest, TheBusyPointerIsForcedAndRefusedMovesAreLogged)
{
    log_mark();
    SendMessageA(w, WM_SETCURSOR, (WPARAM)w, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    hourglass_on();
    SendMessageA(w, WM_SETCURSOR, (WPARAM)w, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    hourglass_off();
    std::string log = log_since_mark();
    EXPECT_EQ(log.find("forcing hour"), log.rfind("forcing hour"));
    EXPECT_NE(log.find("forcing hour"), std::string::npos);

    window_flags(w, WF_NOMOVE, 0);
    RECT before, after;
    GetWindowRect(w, &before);
    SendMessageA(w, WM_SYSCOMMAND, SC_MOVE, 0);
    GetWindowRect(w, &after);
    EXPECT_NE(log_since_mark().find("syscommand defeat"), std::string::npos);
    EXPECT_TRUE(EqualRect(&before, &after));
}

const error_block *icon_changed(HWND, int icon, void *) { seen.push_back("text " + std::to_string(icon)); return nullptr; }
const error_block *icon_focus(HWND, int icon, int gained, void *)
{
    seen.push_back("focus " + std::to_string(icon) + " " + std::to_string(gained));
    return nullptr;
}

TEST_F(WindowEventsTest, WritableIconsReportTextAndFocusChanges)
{
    register_text_changed(icon_changed, w, nullptr);
    register_icon_focus(icon_focus, w, nullptr);
    SetForegroundWindow(w);
    icon_set_text(w, 11, "new");
    caret_set(w, 11, 0, 0);
    caret_set(w, 10, 0, 0);
    pump();
    EXPECT_EQ(seen, (std::vector<std::string>{"text 11", "focus 11 1", "focus 11 0"}));
    deregister_text_changed(icon_changed, w, nullptr);
    deregister_icon_focus(icon_focus, w, nullptr);
}

TEST_F(WindowEventsTest, WideWindowsBackgroundsAndFixedSizes)
{
    EXPECT_FALSE(IsWindowUnicode(w));
    window_flags(w, WF_WIDE, 0);
    EXPECT_TRUE(IsWindowUnicode(w));
    window_flags(w, 0, WF_WIDE);
    EXPECT_FALSE(IsWindowUnicode(w));

    // Palette colour 11 is red DD0000; a platform colour reads bits 8-31.
    window_set_background(w, 2 + 11);
    UpdateWindow(w);
    HDC dc = GetDC(w);
    EXPECT_EQ(GetPixel(dc, 300, 200), RGB(0xDD, 0, 0));
    window_set_background(w, 0x00FF0001);   // green
    UpdateWindow(w);
    EXPECT_EQ(GetPixel(dc, 300, 200), RGB(0, 0xFF, 0));
    ReleaseDC(w, dc);

    window_flags(w, WF_FIXED_SIZE, 0);
    window_set_extent(w, 0, -360, 360, 0);
    MINMAXINFO info = {};
    SendMessageA(w, WM_GETMINMAXINFO, 0, (LPARAM)&info);
    RECT frame = {0, 0, 192, 192};
    AdjustWindowRectEx(&frame, GetWindowLong(w, GWL_STYLE), FALSE, GetWindowLong(w, GWL_EXSTYLE));
    EXPECT_EQ(info.ptMaxTrackSize.x, frame.right - frame.left);
    EXPECT_EQ(info.ptMaxTrackSize.y, frame.bottom - frame.top);
}

TEST_F(WindowEventsTest, EnumeratedTemplatesAreNumberedFrom0x10000AndFoundByName)
{
    EXPECT_EQ(template_number("TESTWIN"), 300);
    static template_link ignored;
    ASSERT_EQ(template_register(nullptr, &ignored), nullptr);
    ASSERT_EQ(template_register(nullptr, &ignored), nullptr);   // again: no loop in the chain
    int number = template_number("testwin");
    EXPECT_GE(number, 0x10000);
    HWND made;
    ASSERT_EQ(window_create(number, "Enumerated", nullptr, &made), nullptr);
    char title[32];
    GetWindowTextA(made, title, sizeof title);
    EXPECT_STREQ(title, "Enumerated");
    window_delete(made);
    EXPECT_EQ(template_number("no such template"), -1);
}

TEST_F(WindowEventsTest, SpritesComeFromADirectoryAndABrokenFileIsRefused)
{
    std::string good = std::string(QM_TEST_DATA) + "/events/good";
    std::string bad = std::string(QM_TEST_DATA) + "/events/bad";
    sprites_clear();
    ASSERT_EQ(addsprites(good.c_str()), nullptr);
    ASSERT_EQ(addsprites(good.c_str()), nullptr);
    EXPECT_EQ(sprites_count(), 2);
    const sprite_header *s = sprite_find("rindent");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->mode, 25);
    EXPECT_EQ(s->width_words, 0);
    EXPECT_EQ(s->height, 13);
    EXPECT_EQ(s->last_bit, 6);
    // The triangle: row widths 1..7, 7..1, black (colour 1) in the image.
    const uint32_t *image = reinterpret_cast<const uint32_t *>(reinterpret_cast<const char *>(s) + s->image);
    EXPECT_EQ(image[0], 0x1u);
    EXPECT_EQ(image[6], 0x7Fu);
    EXPECT_EQ(image[7], 0x7Fu);
    EXPECT_EQ(image[13], 0x1u);
    const unsigned char *area = sprites_area();
    int32_t size, first, free;
    memcpy(&size, area, 4);
    memcpy(&first, area + 8, 4);
    memcpy(&free, area + 12, 4);
    EXPECT_EQ(first, 16);
    EXPECT_EQ(free, size);

    const error_block *e = addsprites(bad.c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->errmess, "Error reading data.");
    EXPECT_EQ(sprites_count(), 2);
    e = addsprites((std::string(QM_TEST_DATA) + "/events").c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 28);
}

const error_block *load_text(const char *path, int, int, void *)
{
    seen.push_back(std::string("load ") + (strrchr(path, '/') ? strrchr(path, '/') + 1 : path));
    return nullptr;
}
const error_block *loaded(int) { seen.push_back("loaded"); return nullptr; }

TEST_F(WindowEventsTest, ALoadBeforeTheLoopStartsWaitsForItsServiceCall)
{
    std::string path = std::string(QM_TEST_DATA) + "/events/dropped.txt";
    int type = event_file_type(path.c_str());
    register_load(load_text, type);
    register_loaded(loaded, type);
    ASSERT_EQ(task_polling(), 0);
    ASSERT_EQ(fs_load_by_type(path.c_str(), nullptr), nullptr);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(event_count(EV_SERVICE), 1);
    ASSERT_EQ(service_call(0x10007, 0, 0), nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"load dropped.txt", "loaded"}));
    EXPECT_EQ(event_count(EV_SERVICE), 0);
    deregister_load(load_text, type);
    deregister_loaded(loaded, type);
}

const error_block *focused(HWND, void *, int gained) { seen.push_back("focus " + std::to_string(gained)); return nullptr; }
const error_block *activated(HWND, void *, HWND, int state)
{
    seen.push_back("active " + std::to_string(state != WA_INACTIVE));
    return nullptr;
}
const error_block *app_command(HWND, void *, HWND, int command, int, int, int *claimed)
{
    seen.push_back("command " + std::to_string(command));
    *claimed = 1;
    return nullptr;
}

TEST_F(WindowEventsTest, ActivationFocusAndApplicationCommandsReachTheWindow)
{
    register_focus(focused, w, nullptr);
    register_activate(activated, w, nullptr);
    register_appcommand(app_command, w, nullptr);
    SendMessageA(w, WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageA(w, WM_SETFOCUS, 0, 0);
    SendMessageA(w, WM_KILLFOCUS, 0, 0);
    LRESULT r = SendMessageA(w, WM_APPCOMMAND, (WPARAM)w, MAKELPARAM(0, APPCOMMAND_BROWSER_BACKWARD));
    EXPECT_EQ(r, TRUE);
    // The dialog's own focus handling may activate the window once more.
    auto at = [](const std::string &what) { return std::find(seen.begin(), seen.end(), what) - seen.begin(); };
    EXPECT_EQ(at("active 1"), 0);
    EXPECT_LT(at("focus 1"), at("focus 0"));
    EXPECT_LT(at("focus 0"), at("command " + std::to_string(APPCOMMAND_BROWSER_BACKWARD)));
    EXPECT_LT(at("command " + std::to_string(APPCOMMAND_BROWSER_BACKWARD)), (long)seen.size());
    deregister_focus(focused, w, nullptr);
    deregister_activate(activated, w, nullptr);
    deregister_appcommand(app_command, w, nullptr);
}

std::vector<int> box;
void box_ended(intptr_t, intptr_t, int x0, int y0, int x1, int y1) { box = {x0, y0, x1, y1}; }

TEST_F(WindowEventsTest, AFixedBoxDragMovesWithThePointerInsideItsBounds)
{
    POINT start = {100, 100};
    ClientToScreen(w, &start);
    SetCursorPos(start.x, start.y);
    POINT at;
    GetCursorPos(&at);
    int x = screen_os_x(at.x), y = screen_os_y(at.y);
    drag_block b = {w, 5, x, y, x + 90, y + 60, {x - 30, y - 1000, x + 150, y + 1000}};
    drag_set_callbacks(box_ended, 0, 0, nullptr);
    ASSERT_EQ(drag_start(&b), nullptr);
    // 20 pixels right and 16 up is 37 and 30 OS units; the bound stops x
    // at 60 units past the start.
    PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, client_point(100 + (at.x - start.x) + 20, 100 + (at.y - start.y) - 16));
    PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, client_point(100 + (at.x - start.x) + 80, 100 + (at.y - start.y) - 16));
    PostMessageA(w, WM_LBUTTONUP, 0, client_point(100 + (at.x - start.x) + 80, 100 + (at.y - start.y) - 16));
    pump();
    EXPECT_FALSE(drag_active());
    EXPECT_EQ(box, (std::vector<int>{x + 60, y + 30, x + 150, y + 90}));
}

const error_block *pointer_shape(HWND, void *, int *, int *claimed)
{
    seen.push_back("shape");
    *claimed = 1;
    return nullptr;
}
const error_block *notice(user_message *m, int *) { seen.push_back("notice " + std::to_string(m->action)); return nullptr; }

TEST_F(WindowEventsTest, PointerShapesAndSystemNoticesReachTheirHandlers)
{
    register_setcursor(pointer_shape, w, nullptr);
    LRESULT r = SendMessageA(w, WM_SETCURSOR, (WPARAM)w, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(r, TRUE);
    SendMessageA(w, WM_SETCURSOR, (WPARAM)w, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    deregister_setcursor(pointer_shape, w, nullptr);
    register_user_message(notice, MESSAGE_FONT_CHANGE);
    register_user_message(notice, MESSAGE_PALETTE);
    SendMessageA(w, WM_FONTCHANGE, 0, 0);
    SendMessageA(w, WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
    deregister_user_message(notice, MESSAGE_FONT_CHANGE);
    deregister_user_message(notice, MESSAGE_PALETTE);
    EXPECT_EQ(seen, (std::vector<std::string>{"shape", "notice 557056", "notice 9"}));
}

TEST_F(WindowEventsTest, OpenExPlacesTheOuterRectangleAndHeightsAreSetInOsUnits)
{
    window_state s = {w, 450, 450, 1050, 900, 0, 0, BEHIND_TOP, 0};
    ASSERT_EQ(window_open_ex(&s), nullptr);
    RECT outer;
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.left, 240);
    EXPECT_EQ(outer.right, 560);
    EXPECT_EQ(outer.top, 768 - 480);
    EXPECT_EQ(outer.bottom, 768 - 240);

    HWND tall;
    ASSERT_EQ(window_create_height(300, nullptr, nullptr, 360, &tall), nullptr);
    RECT client;
    GetClientRect(tall, &client);
    EXPECT_EQ(client.bottom, 192);
    window_delete(tall);
}

}  // namespace
