// The install wizard: a frame of class "Install" holding one child page
// at a time, each run by its own modal loop until a button closes it.
// Cancel (or closing the frame) asks whether to stop; Yes ends the program
// at once, with no log written and nothing undone.
#include "installer/wizard.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "installer/folder_lists.h"
#include "installer/install_log.h"
#include "installer/install_steps.h"
#include "installer/package.h"
#include "installer/wizard_frame.h"

static HINSTANCE instance;
static HWND frame;
static HWND page;            // the page being shown
static bool page_closed;     // its modal loop ends
static page_result result;   // and what it gave

static const wizard_frame_texts frame_texts = {"Install", "!Install",
                                               "Do you want to stop installation?"};

bool wizard_open(void *program)
{
    instance = static_cast<HINSTANCE>(program);
    frame = wizard_frame_open(instance, &frame_texts);
    return frame != nullptr;
}

// The nearest window of class "Install" at or above window (pages and the
// error pop-up navigate through it).
static HWND navigation_window(HWND window)
{
    char name[16];
    for (; window; window = GetParent(window))
        if (GetClassNameA(window, name, sizeof name) && strcmp(name, "Install") == 0)
            return window;
    return nullptr;
}

static void run_page_loop()
{
    page_closed = false;
    while (!page_closed) {
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
            ExitProcess(0);
        HWND nav = navigation_window(msg.hwnd);
        if (nav && IsDialogMessageA(nav, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static void close_page(page_result r)
{
    result = r;
    page_closed = true;
}

static void copy_field(HWND window, char *to)
{
    char text[261];
    GetDlgItemTextA(window, 1001, text, sizeof text);
    strcpy(to, text);
}

// What each page does with its buttons. Ids: 1 Continue/OK/Agree/Retry,
// 2 Cancel, and the pages' own Back buttons (1007, 1023, 3, 1017, 1029).
static INT_PTR CALLBACK page_proc(HWND window, UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_INITDIALOG: {
        const char *name = reinterpret_cast<const char *>(lp);
        SetPropA(window, "page", const_cast<char *>(name));
        HWND focus = GetDlgItem(window, strcmp(name, "Licence") == 0 ? 1003 : 1);
        if (strcmp(name, "Licence") == 0) {
            const char *text;
            uint32_t size;
            if (member_text("licence.txt", &text, &size)) {
                SetDlgItemTextA(window, 1003, std::string(text, size).c_str());
            } else {
                SetDlgItemTextA(window, 1003, "The licence text is missing from this installer, "
                                              "so Quillmere cannot be installed from it.");
                EnableWindow(GetDlgItem(window, 1031), FALSE);
            }
        } else if (strcmp(name, "Directory") == 0) {
            SetDlgItemTextA(window, 1001, settings.directory);
        } else if (strcmp(name, "Group") == 0) {
            SetDlgItemTextA(window, 1001, settings.group);
            CheckDlgButton(window, 1027, (settings.shortcut_flags & shortcut_desktop) ? 1 : 0);
            fill_start_menu_folders(GetDlgItem(window, 1003));
        }
        if (focus)
            SetFocus(focus);
        return FALSE;
    }
    case WM_MEASUREITEM:
        return measure_folder_item(window, reinterpret_cast<MEASUREITEMSTRUCT *>(lp));
    case WM_DRAWITEM:
        return draw_folder_item(reinterpret_cast<DRAWITEMSTRUCT *>(lp));
    case WM_DELETEITEM:
        return delete_folder_item(reinterpret_cast<DELETEITEMSTRUCT *>(lp));
    case WM_COMMAND: {
        int id = LOWORD(wp), code = HIWORD(wp);
        const char *name = static_cast<const char *>(GetPropA(window, "page"));
        if (!name)
            name = "";
        bool directory = strcmp(name, "Directory") == 0, group = strcmp(name, "Group") == 0;
        // Enter anywhere on the licence page is not consent: only Agree is.
        if (id == 1 && strcmp(name, "Licence") == 0)
            return TRUE;
        if (id == 2) {
            wizard_ask_stop(frame);
        } else if (id == 1 || id == 1031) {
            if (directory)
                copy_field(window, settings.directory);
            if (group)
                copy_field(window, settings.group);
            close_page(page_none);
        } else if (id == 1007 || id == 1023 || id == 1017 || id == 1029 || (group && id == 3)) {
            if (directory)
                copy_field(window, settings.directory);
            if (group)
                copy_field(window, settings.group);
            close_page(page_back);
        } else if (directory && id == 1022) {
            char chosen[261];
            GetDlgItemTextA(window, 1001, chosen, sizeof chosen);
            if (choose_directory(instance, window, chosen))
                SetDlgItemTextA(window, 1001, chosen);
        } else if (group && id == 1027) {
            settings.shortcut_flags ^= shortcut_desktop;
        } else if (group && id == 1003 && code == LBN_DBLCLK) {
            HWND list = GetDlgItem(window, 1003);
            LRESULT item = SendMessageA(list, LB_GETCURSEL, 0, 0);
            char text[261];
            if (item >= 0 && SendMessageA(list, LB_GETTEXTLEN, item, 0) < 261) {
                SendMessageA(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text));
                SetDlgItemTextA(window, 1001, text);
            }
        }
        return TRUE;
    }
    }
    return FALSE;
}

// Shows one page until a button closes it. A page that cannot be created
// gives its error, which the wizard takes as a normal result.
static page_result show_page(const char *name)
{
    page = CreateDialogParamA(instance, name, frame, page_proc, reinterpret_cast<LPARAM>(name));
    if (!page)
        return page_none;
    ShowWindow(page, SW_SHOW);
    run_page_loop();
    RemovePropA(page, "page");
    DestroyWindow(page);
    page = nullptr;
    return result;
}

static INT_PTR CALLBACK error_proc(HWND window, UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(window, 1030, reinterpret_cast<const install_error *>(lp)->text);
        SetFocus(GetDlgItem(window, 1));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wp) == 2)
            wizard_ask_stop(window);
        else if (LOWORD(wp) == 1)
            close_page(page_retry);
        else if (LOWORD(wp) == 1029)
            close_page(page_back);
        return TRUE;
    }
    return FALSE;
}

static page_result error_page(const install_error *e)
{
    HWND popup = CreateDialogParamA(instance, "Error", frame, error_proc,
                                    reinterpret_cast<LPARAM>(e));
    if (!popup)
        return page_back;
    EnableWindow(frame, FALSE);
    ShowWindow(popup, SW_SHOW);
    run_page_loop();
    EnableWindow(frame, TRUE);
    DestroyWindow(popup);
    SetForegroundWindow(frame);
    return result;
}

void wizard_run()
{
    log_clear();
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    int step = 1;
    while (step <= 8) {
        switch (step) {
        case 1:
            show_page("Prompt1");
            step = 2;
            break;
        case 2:
            step = show_page("Licence") == page_back ? 1 : 3;
            break;
        case 3:
            default_install_directory(settings.directory);
            step = 4;
            break;
        case 4:
            step = show_page("Directory") == page_back ? 2 : 5;
            break;
        case 5:
            step = show_page("Group") == page_back ? 3 : 6;
            break;
        case 6:
            step = show_page("Prompt2") == page_back ? 5 : 7;
            break;
        case 7:
            if (const install_error *e = run_install_steps()) {
                step = error_page(e) == page_back ? 6 : 7;
            } else {
                write_log(settings.directory, "install.log");
                step = 8;
            }
            break;
        case 8:
            show_page("Prompt3");
            step = 9;
            break;
        }
    }
}
