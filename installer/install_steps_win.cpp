// The install steps: directories, package members, shortcuts through COM
// shell links, registry values and the grid file type. Each logs what it
// created so that the uninstaller can remove it; the log runs newest first.
#include "installer/install_steps.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "installer/install_log.h"
#include "installer/package.h"
#include "installer/registry_path.h"

install_settings settings = {"", "Tarrantworks", 0};

static DWORD shell_version()
{
    HMODULE shell = LoadLibraryA("Shell32.dll");
    if (!shell)
        return 0;
    DWORD version = 0;
    auto get = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(shell, "DllGetVersion"));
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    if (get && get(&info) == S_OK)
        version = info.dwMajorVersion * 65536 + info.dwMinorVersion;
    FreeLibrary(shell);
    return version;
}

const install_error *shell_folder(int id, char out[261])
{
    out[0] = 0;
    IMalloc *memory = nullptr;
    if (SHGetMalloc(&memory) != S_OK || !memory)
        return error_from_text("SHGetMalloc failed");
    LPITEMIDLIST list = nullptr;
    const install_error *e = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, id, &list) != S_OK || !list)
        e = error_from_text("SHGetSpecialFolderLocation failed");
    else if (!SHGetPathFromIDListA(list, out))
        e = error_from_text("SHGetPathFromIDList");
    if (list)
        memory->Free(list);
    memory->Release();
    size_t n = strlen(out);
    if (n > 3 && out[n - 1] == '\\')
        out[n - 1] = 0;
    return e;
}

const install_error *default_install_directory(char out[261])
{
    char folder[261] = "";
    const install_error *e = nullptr;
    if (shell_version() > 0x4FFFF)
        e = shell_folder(CSIDL_PROGRAM_FILES | CSIDL_FLAG_CREATE, folder);
    if (!folder[0])
        strcpy(folder, "C:\\Program Files");
    snprintf(out, 261, "%s\\" MAKER_NAME "\\" PRODUCT_NAME, folder);
    return e;
}

static const install_error *make_install_directory(const char *path)
{
    if (const install_error *e = create_path(path))
        return e;
    log_line("dir:%s", path);
    return nullptr;
}

static const install_error *make_writable_directory(const char *path)
{
    if (const install_error *e = create_path(path))
        return e;
    log_line("dirw:%s", path);
    return nullptr;
}

static const install_error *install_member(const char *name, const char *directory)
{
    if (const install_error *e = extract_member(name, directory))
        return e;
    log_line("file:%s\\%s", directory, name);
    return nullptr;
}

// One shell link at link pointing at target; failures are not reported.
static void save_link(const char *link, const char *target, const char *description)
{
    IShellLinkA *shell_link = nullptr;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                         reinterpret_cast<void **>(&shell_link)) != S_OK)
        return;
    shell_link->SetPath(target);
    shell_link->SetDescription(description);
    IPersistFile *file = nullptr;
    if (shell_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)) == S_OK) {
        wchar_t wide[261];
        MultiByteToWideChar(CP_ACP, 0, link, -1, wide, 261);
        wide[260] = 0;
        file->Save(wide, TRUE);
        file->Release();
    }
    shell_link->Release();
}

static const install_error *make_shortcuts(const char *group, uint32_t flags,
                                           const char *directory, const char *target_file,
                                           const char *link_name, const char *description)
{
    char folder[261], path[600], target[600];
    if (shell_folder(CSIDL_PROGRAMS, folder) || !folder[0])
        return nullptr;
    snprintf(path, sizeof path, "%s\\%s", folder, group);
    if (strlen(path) > 260 || create_path(path))
        return nullptr;
    snprintf(path, sizeof path, "%s\\%s\\%s", folder, group, link_name);
    snprintf(target, sizeof target, "%s\\%s", directory, target_file);
    save_link(path, target, description);
    log_line("link:%s", path);
    if ((flags & shortcut_desktop) && !shell_folder(CSIDL_DESKTOPDIRECTORY, folder) && folder[0]) {
        snprintf(path, sizeof path, "%s\\%s", folder, link_name);
        save_link(path, target, description);
        log_line("link:%s", path);
    }
    return nullptr;
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

// Creates the key of path (with its missing parents) and sets its value to
// the formatted text, or only creates the key when format is null.
static const install_error *set_registry(const char *path, const char *format, ...)
{
    registry_path p;
    if (!split_registry_path(path, &p) || p.root == root_none)
        return nullptr;
    char text[1024];
    if (format) {
        va_list args;
        va_start(args, format);
        vsnprintf(text, sizeof text, format, args);
        va_end(args);
    }
    HKEY key;
    LONG status = RegCreateKeyExA(root_key(p.root), p.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr);
    if (status != ERROR_SUCCESS)
        return error_from_code(status, "RegCreateKey", p.key);
    const install_error *e = nullptr;
    if (format) {
        status = RegSetValueExA(key, p.value, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                                static_cast<DWORD>(strlen(text) + 1));
        e = error_from_code(status, "RegSetValueEx", p.value);
    }
    status = RegCloseKey(key);
    if (!e)
        e = error_from_code(status, "RegCloseKey", nullptr);
    if (!e)
        log_line("key:%s", path);
    return e;
}

// The grid file type: results are ignored, it never fails.
static void register_file_type(const char *directory, const char *program, int icon,
                               const char *extension, const char *description,
                               const char *type)
{
    char path[400];
    for (const char *form : {"HKCR\\%s\\", "HKCR\\%s\\shell\\", "HKCR\\%s\\shell\\open\\"}) {
        snprintf(path, sizeof path, form, type);
        log_line("key:%s", path);
    }
    snprintf(path, sizeof path, "HKCR\\%s\\shell\\open\\command\\", type);
    set_registry(path, "\"%s\\%s\" %s", directory, program, "\"%1\"");
    snprintf(path, sizeof path, "HKCR\\%s\\DefaultIcon\\", type);
    set_registry(path, "%s\\%s,%d", directory, program, icon);
    snprintf(path, sizeof path, "HKCR\\%s\\", type);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, type, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE *>(description),
                       static_cast<DWORD>(strlen(description) + 1));
        RegCloseKey(key);
    }
    snprintf(path, sizeof path, "HKCR\\%s\\", extension);
    set_registry(path, "%s", type);
}

#define APP_PATHS "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quillmere.exe\\"
#define UNINSTALL_KEY "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmere\\"

// A directory that names its drive (or a network share) and climbs nowhere.
static bool full_path(const char *p)
{
    bool drive = ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) && p[1] == ':' &&
                 p[2] == '\\';
    return (drive || (p[0] == '\\' && p[1] == '\\')) && !strstr(p, "..") && strlen(p) < 200;
}

const install_error *run_install_steps()
{
    const char *d = settings.directory;
    if (!full_path(d))
        return error_from_text("The install directory must be a full path such as "
                               "C:\\Program Files\\Quillmere (not %s)", d);
    char path[600];
    const install_error *e = make_install_directory(d);
    for (const char *sub : {"Choices", "Default"}) {
        snprintf(path, sizeof path, "%s\\%s", d, sub);
        if (!e)
            e = make_writable_directory(path);
    }
    for (const char *member : {"Quillmere.exe", "Quillmere.chm", "Uninstall.exe"})
        if (!e)
            e = install_member(member, d);
    if (!e)
        e = make_shortcuts(settings.group, settings.shortcut_flags, d, "Quillmere.exe",
                           "Quillmere.lnk", PRODUCT_NAME);
    if (!e)
        e = set_registry(APP_PATHS, "%s\\Quillmere.exe", d);
    if (!e)
        e = set_registry(APP_PATHS "Path", "%s", d);
    if (!e)
        e = set_registry(UNINSTALL_KEY, nullptr);
    if (!e)
        e = set_registry(UNINSTALL_KEY "DisplayName", "%s", MAKER_NAME " " PRODUCT_NAME);
    if (!e)
        e = set_registry(UNINSTALL_KEY "UninstallString", "\"%s\\Uninstall.exe\" \"%s\\install.log\"",
                         d, d);
    if (!e)
        e = set_registry(UNINSTALL_KEY "Contact", "%s", MAKER_NAME);
    if (!e)
        e = set_registry(UNINSTALL_KEY "Publisher", "%s", MAKER_NAME);
    if (!e)
        e = set_registry(UNINSTALL_KEY "HelpLink", "%s", "mailto:support@tarrantworks.example");
    if (!e)
        e = set_registry(UNINSTALL_KEY "URLInfoAbout", "%s",
                         "https://www.tarrantworks.example/quillmere/");
    if (!e)
        e = set_registry("HKLM\\Software\\Tarrantworks\\Quillmere\\", nullptr);
    if (!e)
        register_file_type(d, "Quillmere.exe", 1, ".qlx", "Quillmere grid file", "Quillmere.Grid");
    return e;
}
