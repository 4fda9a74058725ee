// Uninstall.exe: removes what the install log lists, then itself.
//
//   Uninstall.exe LOGPATH          pages, then removal (the UninstallString)
//   Uninstall.exe /S LOGPATH       removal without pages, for administrators
//   uninstalltw.exe -u PATH...     the temporary copy's cleanup run
//
// It cannot delete its own file, or the directories that hold it, while it
// runs: those are deferred, and a copy in the temporary directory, started
// with "-u" and the deferred paths, removes them once this process has
// ended. The copy is opened delete-on-close and its handle inherited, so it
// vanishes when it ends. Every failed removal is skipped.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "installer/registry_path.h"
#include "uninstaller/log_rules.h"
#include "uninstaller/pages.h"

static char own_path[261];
static std::string deferred_list;       // "path" "path" ...
static std::vector<std::string> skipped; // log lines left alone, for the report

// Takes path for the cleanup run when it is this program or a directory
// holding it.
static bool defer(const std::string &path)
{
    if (!path_contains(path, own_path))
        return false;
    if (!deferred_list.empty())
        deferred_list += ' ';
    deferred_list += "\"" + path + "\"";
    return true;
}

static bool remove_tree(std::string path)
{
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    if (!(a & FILE_ATTRIBUTE_DIRECTORY) || (a & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A link to elsewhere is removed as itself, never followed.
        if (a & FILE_ATTRIBUTE_DIRECTORY)
            return RemoveDirectoryA(path.c_str());
        if (defer(path))
            return true;
        if (a & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA(path.c_str(), a & ~FILE_ATTRIBUTE_READONLY);
        return DeleteFileA(path.c_str());
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*.*").c_str(), &found);
    bool ok = true;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
                continue;
            ok = remove_tree(path + "\\" + found.cFileName);
        } while (ok && FindNextFileA(search, &found));
        FindClose(search);
    }
    if (ok && !defer(path))
        ok = RemoveDirectoryA(path.c_str());
    return ok;
}

static HKEY root_key(registry_root root)
{
    switch (root) {
    case root_classes: return HKEY_CLASSES_ROOT;
    case root_current_user: return HKEY_CURRENT_USER;
    case root_local_machine: return HKEY_LOCAL_MACHINE;
    case root_users: return HKEY_USERS;
    case root_current_config: return HKEY_CURRENT_CONFIG;
    default: return nullptr;
    }
}

// Deletes the key when it holds neither subkeys nor values.
static void delete_if_empty(HKEY root, const char *key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return;
    DWORD subkeys = 1, values = 1;
    RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(k);
    if (subkeys == 0 && values == 0)
        RegDeleteKeyA(root, key);
}

static void remove_registry_entry(const char *path)
{
    registry_path p;
    if (!split_registry_path(path, &p) || p.root == root_none)
        return;
    HKEY root = root_key(p.root);
    if (!p.names_key) {
        HKEY k;
        if (RegOpenKeyExA(root, p.key, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
            RegDeleteValueA(k, p.value);
            RegCloseKey(k);
        }
        return;
    }
    RegDeleteKeyA(root, p.key);
    // The maker's key above the product's, created with it, goes when the
    // product's was its only content.
    if (p.root == root_local_machine && _stricmp(p.key, "Software\\Tarrantworks\\Quillmere") == 0)
        delete_if_empty(root, "Software\\Tarrantworks");
}

static std::string shell_folder(int id)
{
    char path[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, id, nullptr, 0, path) != S_OK)
        return "";
    size_t n = strlen(path);
    if (n > 3 && path[n - 1] == '\\')
        path[n - 1] = 0;
    return path;
}

// The Start-menu group of a removed link goes too when the link was all it
// held (the installer creates the group without logging it).
static void remove_empty_groups(const std::string &link, const std::string &programs)
{
    std::string dir = directory_of(link);
    while (dir.size() > programs.size() && RemoveDirectoryA(dir.c_str()))
        dir = directory_of(dir);
}

static void remove_from_log(const char *log_path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(log_path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return;
    HANDLE file = CreateFileA(log_path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    // A log is small; one that claims more than a megabyte is not ours.
    while (text.size() < (1u << 20) && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got)
        text.append(buffer, got);
    CloseHandle(file);

    log_places places;
    char full[MAX_PATH];
    if (!GetFullPathNameA(log_path, sizeof full, full, nullptr))
        return;
    places.install = directory_of(full);
    places.programs = shell_folder(CSIDL_PROGRAMS);
    places.desktop = shell_folder(CSIDL_DESKTOPDIRECTORY);
    bool install_deferred = false;
    for (const log_item &item : parse_log(text)) {
        if (item.kind == log_unknown)
            continue;
        if (!log_item_allowed(item, places)) {
            skipped.push_back(item.line);
            continue;
        }
        const char *p = item.path.c_str();
        switch (item.kind) {
        case log_file:
            if (!defer(item.path))
                DeleteFileA(p);
            break;
        case log_dir:
            if (defer(item.path))
                install_deferred = true;
            else
                RemoveDirectoryA(p);
            break;
        case log_dirw:
            remove_tree(item.path);
            break;
        case log_key:
            remove_registry_entry(p);
            break;
        case log_link:
            DeleteFileA(p);
            remove_empty_groups(item.path, places.programs);
            break;
        default:
            break;
        }
    }
    // The install directory's parent (the maker's folder) was made with it;
    // the cleanup run removes it too when it is empty by then.
    if (install_deferred) {
        std::string parent = directory_of(places.install);
        if (parent.size() > 3 && !path_contains(parent, shell_folder(CSIDL_PROGRAM_FILES)) &&
            !path_contains(parent, shell_folder(CSIDL_WINDOWS)))
            deferred_list += " \"" + parent + "\"";
    }
}

// Copies this program to the temporary directory and starts the copy with
// "-u" and the deferred paths; the copy is deleted when it ends.
static void restart_from_temp()
{
    if (deferred_list.empty())
        return;
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n + 16 >= sizeof temp)
        return;
    std::string copy = std::string(temp) + "uninstalltw.exe";
    if (!CopyFileA(own_path, copy.c_str(), FALSE))
        return;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE held = CreateFileA(copy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              &inherit, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    // The copy's path is quoted: the temporary directory may hold spaces.
    std::string command = "\"" + copy + "\" -u " + deferred_list;
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(copy.c_str(), line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                       nullptr, nullptr, &start, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
}

// The copy's run: after a second (by then the first process has normally
// ended), remove each path; a path still in use is tried again for a few
// seconds, so a slow first process does not leave its file behind.
static int cleanup_run(int argc, char **argv)
{
    Sleep(1000);
    std::vector<std::string> left(argv + 2, argv + argc);
    for (int attempt = 0; attempt < 40 && !left.empty(); attempt++) {
        if (attempt > 0)
            Sleep(250);
        std::vector<std::string> still;
        for (const std::string &path : left) {
            DWORD a = GetFileAttributesA(path.c_str());
            if (a == INVALID_FILE_ATTRIBUTES)
                continue;
            bool gone = (a & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(path.c_str())
                                                       : DeleteFileA(path.c_str());
            DWORD code = gone ? 0 : GetLastError();
            // Only a file in use, or a directory that is emptied by a later
            // path of the list, is worth another try.
            if (!gone && (code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED ||
                          code == ERROR_DIR_NOT_EMPTY))
                still.push_back(path);
        }
        left = still;
        bool any_file = false;
        for (const std::string &p : left)
            any_file |= !(GetFileAttributesA(p.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        if (!any_file)
            break;  // only directories still holding other files: nothing will change
    }
    return 0;
}

static void print_report(bool console)
{
    if (skipped.empty())
        return;
    std::string text = "These install log entries name places that Quillmere's installer does not "
                       "write, and were left alone:";
    for (const std::string &line : skipped)
        text += (console ? "\r\n  " : "\n") + line;
    if (console) {
        HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
        if ((!err || err == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
            err = GetStdHandle(STD_ERROR_HANDLE);
        DWORD done;
        text = "uninstall: " + text + "\r\n";
        if (err && err != INVALID_HANDLE_VALUE)
            WriteFile(err, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    } else {
        pages_set_report(text.c_str());
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    int argc = __argc;
    char **argv = __argv;
    if (argc >= 2 && _stricmp(argv[1], "-u") == 0)
        return argc >= 3 ? cleanup_run(argc, argv) : 0;
    GetModuleFileNameA(nullptr, own_path, sizeof own_path);
    if (argc >= 2 && _stricmp(argv[1], "/S") == 0) {
        if (argc >= 3)
            remove_from_log(argv[2]);
        print_report(true);
        restart_from_temp();
        return 0;
    }
    if (pages_open(instance)) {
        pages_confirm();
        if (argc >= 2)
            remove_from_log(argv[1]);
        print_report(false);
        pages_finish();
    }
    restart_from_temp();
    PostQuitMessage(0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
