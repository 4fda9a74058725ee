// POSIX half of the installer's raw calls, for the native build and its
// tests. A path's "\" separators become "/".
#include "installer/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

static std::string posix_path(const char *path)
{
    std::string p(path);
    for (char &c : p)
        if (c == '\\')
            c = '/';
    return p;
}

void platform_error_message(long code, char *buffer, size_t size)
{
    snprintf(buffer, size, "%s", strerror(static_cast<int>(code)));
}

long platform_last_error() { return errno; }

const install_error *platform_create(const char *path, intptr_t *handle)
{
    int fd = open(posix_path(path).c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return error_from_last("CreateFile", path);
    *handle = fd;
    return nullptr;
}

const install_error *platform_write(intptr_t handle, const void *data, size_t size,
                                    const char *path)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        ssize_t n = write(static_cast<int>(handle), p, size);
        if (n <= 0)
            return error_from_last("WriteFile", path);
        p += n;
        size -= static_cast<size_t>(n);
    }
    return nullptr;
}

const install_error *platform_set_time(intptr_t handle, unsigned dos_date, unsigned dos_time,
                                       const char *path)
{
    struct tm t = {};
    t.tm_year = static_cast<int>((dos_date >> 9) + 80);
    t.tm_mon = static_cast<int>(((dos_date >> 5) & 15) - 1);
    t.tm_mday = static_cast<int>(dos_date & 31);
    t.tm_hour = static_cast<int>(dos_time >> 11);
    t.tm_min = static_cast<int>((dos_time >> 5) & 63);
    t.tm_sec = static_cast<int>((dos_time & 31) * 2);
    t.tm_isdst = -1;
    time_t when = mktime(&t);
    struct stat st;
    if (fstat(static_cast<int>(handle), &st) != 0)
        return error_from_last("SetFileTime", path);
    struct timespec times[2] = {st.st_atim, {when, 0}};
    if (futimens(static_cast<int>(handle), times) != 0)
        return error_from_last("SetFileTime", path);
    return nullptr;
}

const install_error *platform_close(intptr_t handle, const char *path)
{
    if (close(static_cast<int>(handle)) != 0)
        return error_from_last("CloseHandle", path);
    return nullptr;
}

path_kind platform_path_kind(const char *path)
{
    struct stat st;
    if (stat(posix_path(path).c_str(), &st) != 0)
        return path_missing;
    return S_ISDIR(st.st_mode) ? path_directory : path_file;
}

const install_error *platform_make_directory(const char *path)
{
    if (mkdir(posix_path(path).c_str(), 0755) != 0)
        return error_from_last("Create Directory", path);
    return nullptr;
}
