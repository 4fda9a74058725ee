// The uninstaller's pages: child dialogs of the frame "Uninstall", each run
// by a modal loop until a button closes it. Cancel, or closing the frame,
// asks whether to stop; Yes ends the program at once (no removal, no
// restart).
#include "uninstaller/pages.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "installer/wizard_frame.h"

static HINSTANCE instance;
static HWND frame;
static bool page_closed;
static bool went_back;
static std::string report;

static const wizard_frame_texts frame_texts = {"Uninstall", "!Uninstall",
                                               "Do you want to stop uninstallation?"};

bool pages_open(void *program)
{
    instance = static_cast<HINSTANCE>(program);
    frame = wizard_frame_open(instance, &frame_texts);
    if (!frame)
        return false;
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    return true;
}

static INT_PTR CALLBACK page_proc(HWND window, UINT message, WPARAM wp, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (!report.empty())
            SetDlgItemTextA(window, 1018, report.c_str());
        SetFocus(GetDlgItem(window, 1));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wp) == 2) {
            wizard_ask_stop(frame);
        } else if (LOWORD(wp) == 1 || LOWORD(wp) == 1017) {
            went_back = LOWORD(wp) == 1017;
            page_closed = true;
        }
        return TRUE;
    }
    return FALSE;
}

// Shows a page until a button closes it; true when it was Back.
static bool show_page(const char *name)
{
    HWND page = CreateDialogParamA(instance, name, frame, page_proc, 0);
    if (!page)
        return false;
    ShowWindow(page, SW_SHOW);
    page_closed = false;
    went_back = false;
    while (!page_closed) {
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
            ExitProcess(0);
        if (IsDialogMessageA(frame, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyWindow(page);
    return went_back;
}

void pages_confirm()
{
    do
        show_page("Prompt1");
    while (show_page("Prompt2"));
}

void pages_set_report(const char *text) { report = text; }

void pages_finish() { show_page("Prompt3"); }
