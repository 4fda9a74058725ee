// The file layer's raw calls in the Windows build: kernel files and
// directory search, environment expansion, shell links and the registry.
// Paths are code page 1252 byte strings, so the ANSI ("A") calls are used.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstring>

#include "toolkit/files/fileinfo.h"
#include "toolkit/files/files_os.h"

const int OS_CODE_NOT_FOUND = ERROR_FILE_NOT_FOUND;
const int OS_CODE_MORE_DATA = ERROR_MORE_DATA;

namespace {

int last() { DWORD c = GetLastError(); return c ? static_cast<int>(c) : ERROR_GEN_FAILURE; }
HANDLE handle(intptr_t file) { return reinterpret_cast<HANDLE>(file); }

int do_open(const char *path, char mode, intptr_t *file)
{
    // A file marked read-only is never written. Windows refuses it by
    // itself, but not for every account under every compatibility layer
    // (Wine running as root writes it), so the mark is checked here too.
    if (mode != 'r' && mode != 'n') {
        DWORD a = GetFileAttributesA(path);
        if (a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY) &&
            (a & FILE_ATTRIBUTE_READONLY))
            return ERROR_ACCESS_DENIED;
    }
    DWORD access = mode == 'r' ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = mode == 'r'   ? OPEN_EXISTING
                        : mode == 'u' ? OPEN_ALWAYS
                        : mode == 'n' ? CREATE_NEW
                                      : CREATE_ALWAYS;
    HANDLE h = CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return last();
    *file = reinterpret_cast<intptr_t>(h);
    return 0;
}

int do_read(intptr_t file, void *buffer, int length, int *done)
{
    DWORD n = 0;
    BOOL ok = ReadFile(handle(file), buffer, static_cast<DWORD>(length), &n, nullptr);
    *done = static_cast<int>(n);
    return ok ? 0 : last();
}

int do_write(intptr_t file, const void *buffer, int length, int *done)
{
    DWORD n = 0;
    BOOL ok = WriteFile(handle(file), buffer, static_cast<DWORD>(length), &n, nullptr);
    *done = static_cast<int>(n);
    return ok ? 0 : last();
}

int do_seek(intptr_t file, int64_t position)
{
    LARGE_INTEGER to;
    to.QuadPart = position;
    return SetFilePointerEx(handle(file), to, nullptr, FILE_BEGIN) ? 0 : last();
}

int do_close(intptr_t file) { return CloseHandle(handle(file)) ? 0 : last(); }

uint64_t filetime_value(const FILETIME &t)
{
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void fill_stat(DWORD attributes, DWORD size_high, DWORD size_low, const FILETIME &written,
               raw_stat *out)
{
    bool dir = attributes & FILE_ATTRIBUTE_DIRECTORY;
    out->object_type = dir ? FS_DIRECTORY : FS_FILE;
    out->length = dir ? 0 : (static_cast<uint64_t>(size_high) << 32) | size_low;
    out->attributes = attributes;
    out->time = fs_time_from_filetime(filetime_value(written));
}

int do_stat(const char *path, raw_stat *out)
{
    *out = raw_stat{};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        int code = last();
        bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
                       code == ERROR_INVALID_NAME || code == ERROR_BAD_NETPATH;
        return missing ? 0 : code;
    }
    fill_stat(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime,
              out);
    return 0;
}

int do_delete(const char *path) { return DeleteFileA(path) ? 0 : last(); }
int do_rmdir(const char *path) { return RemoveDirectoryA(path) ? 0 : last(); }
int do_mkdir(const char *path) { return CreateDirectoryA(path, nullptr) ? 0 : last(); }
int do_rename(const char *from, const char *to) { return MoveFileA(from, to) ? 0 : last(); }

int do_replace(const char *from, const char *to)
{
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : last();
}

int do_copy(const char *from, const char *to) { return CopyFileA(from, to, FALSE) ? 0 : last(); }

int do_set_time(const char *path, uint64_t centiseconds)
{
    HANDLE h = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return last();
    uint64_t value = fs_time_to_filetime(centiseconds);
    FILETIME t;
    t.dwLowDateTime = static_cast<DWORD>(value);
    t.dwHighDateTime = static_cast<DWORD>(value >> 32);
    int code = SetFileTime(h, nullptr, nullptr, &t) ? 0 : last();
    CloseHandle(h);
    return code;
}

struct search_state {
    HANDLE find;              // INVALID_HANDLE_VALUE for a search that found nothing
    WIN32_FIND_DATAA first;   // the entry FindFirstFile returned, not yet handed out
    bool have_first;
};

int do_find_open(const char *directory, const char *pattern, void **search)
{
    char full[MAX_PATH + 64];
    size_t n = strlen(directory);
    const char *gap = (n > 0 && directory[n - 1] != '\\' && directory[n - 1] != '/') ? "\\" : "";
    if (snprintf(full, sizeof full, "%s%s%s", directory, gap, pattern) >= static_cast<int>(sizeof full))
        return ERROR_FILENAME_EXCED_RANGE;
    search_state *s = new search_state{};
    s->find = FindFirstFileA(full, &s->first);
    if (s->find == INVALID_HANDLE_VALUE) {
        int code = last();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_NO_MORE_FILES) {
            delete s;
            return code;
        }
    } else {
        s->have_first = true;
    }
    *search = s;
    return 0;
}

int do_find_next(void *search, char *name, int size, raw_stat *stat, int *found)
{
    search_state *s = static_cast<search_state *>(search);
    *found = 0;
    for (;;) {
        WIN32_FIND_DATAA data;
        if (s->have_first) {
            data = s->first;
            s->have_first = false;
        } else if (s->find == INVALID_HANDLE_VALUE) {
            return 0;
        } else if (!FindNextFileA(s->find, &data)) {
            int code = last();
            return code == ERROR_NO_MORE_FILES ? 0 : code;
        }
        if (strlen(data.cFileName) >= static_cast<size_t>(size))
            continue;
        strcpy(name, data.cFileName);
        *stat = raw_stat{};
        fill_stat(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow,
                  data.ftLastWriteTime, stat);
        *found = 1;
        return 0;
    }
}

int do_find_close(void *search)
{
    search_state *s = static_cast<search_state *>(search);
    int code = 0;
    if (s->find != INVALID_HANDLE_VALUE && !FindClose(s->find))
        code = last();
    delete s;
    return code;
}

int do_expand_env(const char *text, char *out, int size)
{
    DWORD n = ExpandEnvironmentStringsA(text, out, static_cast<DWORD>(size));
    if (n == 0)
        return last();
    return n > static_cast<DWORD>(size) ? ERROR_INSUFFICIENT_BUFFER : 0;
}

// Resolves a shell link through the component object library.
int do_resolve_link(char *path, int size)
{
    HRESULT init = CoInitialize(nullptr);
    IShellLinkA *link = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void **>(&link));
    IPersistFile *file = nullptr;
    if (SUCCEEDED(hr))
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file));
    WCHAR wide[MAX_PATH];
    if (SUCCEEDED(hr) && !MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        hr = E_FAIL;
    if (SUCCEEDED(hr))
        hr = file->Load(wide, STGM_READ);
    char target[MAX_PATH] = "";
    if (SUCCEEDED(hr))
        hr = link->GetPath(target, MAX_PATH, nullptr, 0);
    if (SUCCEEDED(hr) && (!target[0] || strlen(target) >= static_cast<size_t>(size)))
        hr = E_FAIL;
    if (SUCCEEDED(hr))
        strcpy(path, target);
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (SUCCEEDED(init))
        CoUninitialize();
    return SUCCEEDED(hr) ? 0 : static_cast<int>(hr & 0xFFFF ? hr & 0xFFFF : ERROR_GEN_FAILURE);
}

HKEY root_key(int root)
{
    static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
                                 HKEY_USERS, HKEY_CURRENT_CONFIG};
    return root >= 0 && root < 5 ? roots[root] : nullptr;
}

int do_reg_open(int root, const char *key, char access, bool create, void **hkey)
{
    HKEY base = root_key(root);
    if (!base)
        return ERROR_FILE_NOT_FOUND;
    REGSAM sam = access == 'r' ? KEY_READ : access == 'w' ? KEY_WRITE : KEY_ALL_ACCESS;
    HKEY h = nullptr;
    LONG status = create ? RegCreateKeyExA(base, key, 0, nullptr, 0, sam, nullptr, &h, nullptr)
                         : RegOpenKeyExA(base, key, 0, sam, &h);
    if (status != ERROR_SUCCESS)
        return static_cast<int>(status);
    *hkey = h;
    return 0;
}

int do_reg_query(void *hkey, const char *value, void *buffer, int *length)
{
    DWORD size = static_cast<DWORD>(*length);
    LONG status = RegQueryValueExA(static_cast<HKEY>(hkey), value, nullptr, nullptr,
                                   static_cast<BYTE *>(buffer), &size);
    *length = static_cast<int>(size);
    return static_cast<int>(status);
}

int do_reg_set(void *hkey, const char *value, const char *text)
{
    return static_cast<int>(RegSetValueExA(static_cast<HKEY>(hkey), value, 0, REG_SZ,
                                           reinterpret_cast<const BYTE *>(text),
                                           static_cast<DWORD>(strlen(text) + 1)));
}

int do_reg_delete_value(void *hkey, const char *value)
{
    return static_cast<int>(RegDeleteValueA(static_cast<HKEY>(hkey), value));
}

int do_reg_delete_key(int root, const char *key)
{
    HKEY base = root_key(root);
    return base ? static_cast<int>(RegDeleteKeyA(base, key)) : ERROR_FILE_NOT_FOUND;
}

int do_reg_enum(void *hkey, bool values, int index, char *name, int size, int *found)
{
    DWORD n = static_cast<DWORD>(size);
    LONG status = values ? RegEnumValueA(static_cast<HKEY>(hkey), index, name, &n, nullptr,
                                         nullptr, nullptr, nullptr)
                         : RegEnumKeyExA(static_cast<HKEY>(hkey), index, name, &n, nullptr,
                                         nullptr, nullptr, nullptr);
    *found = status == ERROR_SUCCESS;
    return status == ERROR_SUCCESS || status == ERROR_NO_MORE_ITEMS ? 0 : static_cast<int>(status);
}

int do_reg_close(void *hkey) { return static_cast<int>(RegCloseKey(static_cast<HKEY>(hkey))); }

// Links are left to the system: the path is used as given.
int do_final_path(char *, int) { return 0; }

int do_copy_attributes(const char *from, const char *to)
{
    DWORD a = GetFileAttributesA(from);
    if (a == INVALID_FILE_ATTRIBUTES)
        return last();
    DWORD keep = a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    return SetFileAttributesA(to, keep ? keep : FILE_ATTRIBUTE_NORMAL) ? 0 : last();
}

// The machine's identity is the GUID Windows sets at installation (readable
// by every user of the machine, unknown elsewhere), then the user's SID
// from the process token. One registry value and one token query.
int do_user_secret(void *out, int size, int *length)
{
    auto *bytes = static_cast<BYTE *>(out);
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Cryptography", 0,
                                KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key);
    if (status != ERROR_SUCCESS)
        return static_cast<int>(status);
    DWORD type = 0, n = static_cast<DWORD>(size);
    status = RegQueryValueExA(key, "MachineGuid", nullptr, &type, bytes, &n);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return static_cast<int>(status);
    if (type != REG_SZ || n < 16)
        return ERROR_FILE_NOT_FOUND;   // no identity worth the name
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return last();
    union {
        TOKEN_USER user;
        BYTE room[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } info;
    DWORD got = 0;
    BOOL ok = GetTokenInformation(token, TokenUser, &info, sizeof info, &got);
    int code = ok ? 0 : last();
    CloseHandle(token);
    if (code)
        return code;
    DWORD sid = GetLengthSid(info.user.User.Sid);
    if (n + sid > static_cast<DWORD>(size))
        return ERROR_MORE_DATA;
    memcpy(bytes + n, info.user.User.Sid, sid);
    *length = static_cast<int>(n + sid);
    return 0;
}

}  // namespace

fs_os_calls fs_os = {
    {"CreateFile", do_open, do_open},
    {"ReadFile", do_read, do_read},
    {"WriteFile", do_write, do_write},
    {"SetFilePointer", do_seek, do_seek},
    {"CloseHandle", do_close, do_close},
    {"GetFileAttributes", do_stat, do_stat},
    {"DeleteFile", do_delete, do_delete},
    {"RemoveDirectory", do_rmdir, do_rmdir},
    {"CreateDirectory", do_mkdir, do_mkdir},
    {"MoveFile", do_rename, do_rename},
    {"MoveFileEx", do_replace, do_replace},
    {"CopyFile", do_copy, do_copy},
    {"SetFileTime", do_set_time, do_set_time},
    {"FindFirstFile", do_find_open, do_find_open},
    {"FindNextFile", do_find_next, do_find_next},
    {"FindClose", do_find_close, do_find_close},
    {"ExpandEnvironmentStrings", do_expand_env, do_expand_env},
    {"IShellLink", do_resolve_link, do_resolve_link},
    {"RegOpenKey", do_reg_open, do_reg_open},
    {"RegQueryValueEx", do_reg_query, do_reg_query},
    {"RegSetValueEx", do_reg_set, do_reg_set},
    {"RegDeleteValue", do_reg_delete_value, do_reg_delete_value},
    {"RegDeleteKey", do_reg_delete_key, do_reg_delete_key},
    {"RegEnumKey", do_reg_enum, do_reg_enum},
    {"RegCloseKey", do_reg_close, do_reg_close},
    {"GetFinalPathName", do_final_path, do_final_path},
    {"SetFileAttributes", do_copy_attributes, do_copy_attributes},
    {"MachineGuid", do_user_secret, do_user_secret},
};

void os_error_text(int code, char *out, int size)
{
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(code), 0, out, static_cast<DWORD>(size), nullptr);
    if (n == 0) {
        out[0] = 0;
        return;
    }
    while (n > 0 && (out[n - 1] == '\r' || out[n - 1] == '\n' || out[n - 1] == ' '))
        out[--n] = 0;
}
