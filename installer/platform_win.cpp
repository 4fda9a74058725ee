// Win32 half of the installer's raw calls.
#include "installer/platform.h"

#include <windows.h>

#include <cstdio>

void platform_error_message(long code, char *buffer, size_t size)
{
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(code), 0, buffer, static_cast<DWORD>(size), nullptr);
    // The system's texts end in CR LF (sometimes a full stop and spaces too).
    while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == ' '))
        n--;
    if (n == 0)
        snprintf(buffer, size, "Error %ld", code);
    else
        buffer[n] = 0;
}

long platform_last_error() { return static_cast<long>(GetLastError()); }

const install_error *platform_create(const char *path, intptr_t *handle)
{
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return error_from_last("CreateFile", path);
    *handle = reinterpret_cast<intptr_t>(h);
    return nullptr;
}

const install_error *platform_write(intptr_t handle, const void *data, size_t size,
                                    const char *path)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size), done = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(handle), p, chunk, &done, nullptr))
            return error_from_last("WriteFile", path);
        if (done == 0)
            return error_from_text("Nothing could be written to %s", path);
        p += done;
        size -= done;
    }
    return nullptr;
}

const install_error *platform_set_time(intptr_t handle, unsigned dos_date, unsigned dos_time,
                                       const char *path)
{
    // The archive's stamps are local times: the file shows the same time.
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(static_cast<WORD>(dos_date), static_cast<WORD>(dos_time), &local) ||
        !LocalFileTimeToFileTime(&local, &utc))
        return error_from_last("DosDateTimeToFileTime", path);
    if (!SetFileTime(reinterpret_cast<HANDLE>(handle), nullptr, nullptr, &utc))
        return error_from_last("SetFileTime", path);
    return nullptr;
}

const install_error *platform_close(intptr_t handle, const char *path)
{
    if (!CloseHandle(reinterpret_cast<HANDLE>(handle)))
        return error_from_last("CloseHandle", path);
    return nullptr;
}

path_kind platform_path_kind(const char *path)
{
    DWORD a = GetFileAttributesA(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return path_missing;
    return (a & FILE_ATTRIBUTE_DIRECTORY) ? path_directory : path_file;
}

const install_error *platform_make_directory(const char *path)
{
    if (!CreateDirectoryA(path, nullptr))
        return error_from_last("Create Directory", path);
    return nullptr;
}
