// Owner-drawn folder lists: each item is a folder_item (full path, level of
// indentation) whose text is the folder's name, drawn after its small
// shell icon. Items are freed when the list deletes them.
#include "installer/folder_lists.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "installer/install_steps.h"

struct folder_item {
    int level;        // indentation steps
    char path[261];   // full path, for the icon and for choosing it
};

static void add_item(HWND list, UINT message, const char *text, const char *path, int level)
{
    folder_item *item = new folder_item{level, ""};
    lstrcpynA(item->path, path, sizeof item->path);
    LRESULT index = SendMessageA(list, message, 0, reinterpret_cast<LPARAM>(text));
    UINT set = message == CB_ADDSTRING ? CB_SETITEMDATA : LB_SETITEMDATA;
    if (index >= 0)
        SendMessageA(list, set, index, reinterpret_cast<LPARAM>(item));
    else
        delete item;
}

// Subfolder names of directory, hidden and system ones left out, sorted
// without regard to case.
static std::vector<std::string> subfolders(const char *directory)
{
    std::vector<std::string> names;
    char pattern[300];
    snprintf(pattern, sizeof pattern, "%s%s*.*", directory,
             directory[strlen(directory) - 1] == '\\' ? "" : "\\");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        DWORD a = found.dwFileAttributes;
        if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) &&
            strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return _stricmp(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

void fill_start_menu_folders(HWND list)
{
    char programs[261];
    if (shell_folder(CSIDL_PROGRAMS, programs) || !programs[0])
        return;
    for (const std::string &name : subfolders(programs))
        add_item(list, LB_ADDSTRING, name.c_str(), (std::string(programs) + "\\" + name).c_str(), 0);
}

BOOL measure_folder_item(HWND dialog, MEASUREITEMSTRUCT *item)
{
    (void)dialog;
    item->itemHeight = std::max<UINT>(GetSystemMetrics(SM_CYSMICON) + 2, 16);
    return TRUE;
}

BOOL draw_folder_item(DRAWITEMSTRUCT *d)
{
    if (d->itemID == static_cast<UINT>(-1))
        return TRUE;
    bool combo = d->CtlType == ODT_COMBOBOX;
    auto *item = reinterpret_cast<folder_item *>(d->itemData);
    char text[261] = "";
    SendMessageA(d->hwndItem, combo ? CB_GETLBTEXT : LB_GETTEXT, d->itemID,
                 reinterpret_cast<LPARAM>(text));
    bool selected = d->itemState & ODS_SELECTED;
    FillRect(d->hDC, &d->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    int x = d->rcItem.left + 2 + (item && !(d->itemState & ODS_COMBOBOXEDIT) ? item->level * 10 : 0);
    int size = GetSystemMetrics(SM_CXSMICON);
    if (item && item != reinterpret_cast<folder_item *>(-1)) {
        SHFILEINFOA info = {};
        if (SHGetFileInfoA(item->path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) &&
            info.hIcon) {
            DrawIconEx(d->hDC, x, d->rcItem.top + 1, info.hIcon, size, size, 0, nullptr, DI_NORMAL);
            DestroyIcon(info.hIcon);
        }
    }
    RECT r = d->rcItem;
    r.left = x + size + 4;
    SetBkMode(d->hDC, TRANSPARENT);
    SetTextColor(d->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(d->hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (d->itemState & ODS_FOCUS)
        DrawFocusRect(d->hDC, &d->rcItem);
    return TRUE;
}

BOOL delete_folder_item(DELETEITEMSTRUCT *d)
{
    delete reinterpret_cast<folder_item *>(d->itemData);
    return TRUE;
}

// The Choose Directory dialog's current folder: "X:\" or "X:\a\b".
static char current[261];

static void show_current(HWND dialog)
{
    HWND list = GetDlgItem(dialog, 1002);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    // One line per ancestor level, the current folder last among them.
    char path[261];
    int level = 0;
    size_t n = strlen(current);
    snprintf(path, sizeof path, "%.3s", current);
    add_item(list, LB_ADDSTRING, path, path, level++);  // the drive's root
    for (size_t i = 4; i <= n; i++) {
        if (i == n || current[i] == '\\') {
            memcpy(path, current, i);
            path[i] = 0;
            add_item(list, LB_ADDSTRING, strrchr(path, '\\') + 1, path, level++);
        }
    }
    for (const std::string &name : subfolders(current)) {
        snprintf(path, sizeof path, "%s%s%s", current, current[n - 1] == '\\' ? "" : "\\",
                 name.c_str());
        add_item(list, LB_ADDSTRING, name.c_str(), path, level);
    }
    SendMessageA(list, LB_SETCURSEL, level > 0 ? level - 1 : 0, 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    SetDlgItemTextA(dialog, 1000, current);
}

// The start folder: the text taken component by component as far as those
// folders exist, on an existing drive.
static void start_folder(const char *text)
{
    char windows[261];
    GetWindowsDirectoryA(windows, sizeof windows);
    snprintf(current, sizeof current, "%.2s\\", windows);
    if (strlen(text) < 3 || text[1] != ':' || text[2] != '\\')
        return;
    char try_path[261];
    snprintf(try_path, sizeof try_path, "%.3s", text);
    if (GetFileAttributesA(try_path) == INVALID_FILE_ATTRIBUTES)
        return;
    strcpy(current, try_path);
    size_t n = strlen(text);
    for (size_t i = 3; i <= n && n < sizeof try_path; i++) {
        if (i == n || text[i] == '\\') {
            memcpy(try_path, text, i);
            try_path[i] = 0;
            DWORD a = GetFileAttributesA(try_path);
            if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY))
                return;
            strcpy(current, try_path);
        }
    }
}

static void fill_drives(HWND dialog)
{
    HWND drives = GetDlgItem(dialog, 1003);
    char all[512];
    DWORD n = GetLogicalDriveStringsA(sizeof all, all);
    for (const char *d = all; n > 0 && n < sizeof all && *d; d += strlen(d) + 1) {
        add_item(drives, CB_ADDSTRING, d, d, 0);
        if (_strnicmp(d, current, 2) == 0)
            SendMessageA(drives, CB_SETCURSEL, SendMessageA(drives, CB_GETCOUNT, 0, 0) - 1, 0);
    }
}

static INT_PTR CALLBACK getdir_proc(HWND dialog, UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_INITDIALOG:
        SetPropA(dialog, "result", reinterpret_cast<HANDLE>(lp));
        start_folder(reinterpret_cast<const char *>(lp));
        fill_drives(dialog);
        show_current(dialog);
        return TRUE;
    case WM_MEASUREITEM:
        return measure_folder_item(dialog, reinterpret_cast<MEASUREITEMSTRUCT *>(lp));
    case WM_DRAWITEM:
        return draw_folder_item(reinterpret_cast<DRAWITEMSTRUCT *>(lp));
    case WM_DELETEITEM:
        return delete_folder_item(reinterpret_cast<DELETEITEMSTRUCT *>(lp));
    case WM_COMMAND: {
        int id = LOWORD(wp), code = HIWORD(wp);
        if (id == 1002 && code == LBN_DBLCLK) {
            HWND list = GetDlgItem(dialog, 1002);
            LRESULT i = SendMessageA(list, LB_GETCURSEL, 0, 0);
            auto *item = reinterpret_cast<folder_item *>(SendMessageA(list, LB_GETITEMDATA, i, 0));
            if (i >= 0 && item && item != reinterpret_cast<folder_item *>(-1)) {
                strcpy(current, item->path);
                show_current(dialog);
            }
        } else if (id == 1003 && code == CBN_SELCHANGE) {
            HWND drives = GetDlgItem(dialog, 1003);
            LRESULT i = SendMessageA(drives, CB_GETCURSEL, 0, 0);
            auto *item = reinterpret_cast<folder_item *>(SendMessageA(drives, CB_GETITEMDATA, i, 0));
            if (i >= 0 && item && item != reinterpret_cast<folder_item *>(-1)) {
                strcpy(current, item->path);
                show_current(dialog);
            }
        } else if (id == IDOK) {
            strcpy(static_cast<char *>(GetPropA(dialog, "result")), current);
            RemovePropA(dialog, "result");
            EndDialog(dialog, 1);
        } else if (id == IDCANCEL) {
            RemovePropA(dialog, "result");
            EndDialog(dialog, 0);
        }
        return TRUE;
    }
    }
    return FALSE;
}

bool choose_directory(HINSTANCE instance, HWND owner, char *path)
{
    return DialogBoxParamA(instance, "Getdir", owner, getdir_proc,
                           reinterpret_cast<LPARAM>(path)) == 1;
}
