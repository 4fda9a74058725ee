// The real platform message box under Wine: shown with the task title as
// caption, answered by a click that a timer posts, and the answer mapped.
#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"
#include "toolkit/messages/report.h"

namespace {

char seen_text[256];
WPARAM press = IDNO;

void CALLBACK answer_box(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowA("#32770", "Quillmere test");
    if (!box)
        return;
    KillTimer(nullptr, timer);
    GetDlgItemTextA(box, 0xFFFF, seen_text, sizeof seen_text);  // the static text
    PostMessageA(box, WM_COMMAND, press, 0);
}

TEST(MessageWindow, RealBoxIsShownAndAnswered)
{
    task_set_title("Quillmere test");
    messages_clear();
    const char file[] = "FS10:Grid edited and not saved. Continue?\n";
    ASSERT_EQ(addtrans_bytes(file, sizeof file - 1), nullptr);

    seen_text[0] = 0;
    press = IDNO;
    SetTimer(nullptr, 0, 50, answer_box);
    int result = -1;
    message_box(nullptr, 0x10002, &result, "{FS10}");
    EXPECT_EQ(result, 4);
    EXPECT_STREQ(seen_text, "Grid edited and not saved. Continue?");

    press = IDOK;
    SetTimer(nullptr, 0, 50, answer_box);
    report_error(make_error_text(1, "Something %s", "failed"));
    EXPECT_STREQ(seen_text, "Something failed");
    EXPECT_EQ(error_boxes_open, 0);
}

TEST(MessageWindow, MessageFileLoadsFromTheProgramsResources)
{
    messages_clear();
    ASSERT_EQ(addtrans(nullptr, "Messages.txt", nullptr), nullptr);
    EXPECT_STREQ(lookup_token("NAME"), "Quillmere");
    EXPECT_STREQ(lookup_token("EINT"), "Bad integer.");
    const error_block *e = addtrans(nullptr, "NoSuch.txt", nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->errnum, 28);
}

TEST(MessageWindow, WindowOpensOnTheDisplay)
{
    HWND w = CreateWindowA("STATIC", "Quillmere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                           100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(w, nullptr) << GetLastError();
    EXPECT_TRUE(IsWindowVisible(w));
    char title[64];
    GetWindowTextA(w, title, sizeof title);
    EXPECT_STREQ(title, "Quillmere");
    DestroyWindow(w);
}

}  // namespace
