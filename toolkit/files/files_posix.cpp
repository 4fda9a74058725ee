// The file layer's raw calls in the native build: POSIX files and
// directories, getenv for environment references, and no registry (every
// registry call reports "not found", so registry references stay as
// written). Paths arrive with "\" separators and are handed to the
// system with "/".
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "toolkit/files/fileinfo.h"
#include "toolkit/files/files_os.h"

const int OS_CODE_NOT_FOUND = ENOENT;
const int OS_CODE_MORE_DATA = EOVERFLOW;

namespace {

std::string native(const char *path)
{
    std::string s(path);
    for (char &c : s)
        if (c == '\\')
            c = '/';
    return s;
}

int fail() { return errno ? errno : EIO; }

int do_open(const char *path, char mode, intptr_t *file)
{
    int flags = mode == 'r'   ? O_RDONLY
                : mode == 'u' ? O_RDWR | O_CREAT
                : mode == 'n' ? O_RDWR | O_CREAT | O_EXCL
                              : O_RDWR | O_CREAT | O_TRUNC;
    int fd = ::open(native(path).c_str(), flags, 0666);
    if (fd < 0)
        return fail();
    *file = fd;
    return 0;
}

int do_read(intptr_t file, void *buffer, int length, int *done)
{
    ssize_t n;
    do
        n = ::read(static_cast<int>(file), buffer, length);
    while (n < 0 && errno == EINTR);
    *done = n > 0 ? static_cast<int>(n) : 0;
    return n < 0 ? fail() : 0;
}

int do_write(intptr_t file, const void *buffer, int length, int *done)
{
    ssize_t n;
    do
        n = ::write(static_cast<int>(file), buffer, length);
    while (n < 0 && errno == EINTR);
    *done = n > 0 ? static_cast<int>(n) : 0;
    return n < 0 ? fail() : 0;
}

int do_seek(intptr_t file, int64_t position)
{
    return ::lseek(static_cast<int>(file), position, SEEK_SET) < 0 ? fail() : 0;
}

int do_close(intptr_t file) { return ::close(static_cast<int>(file)) < 0 ? fail() : 0; }

void fill_stat(const struct stat &st, raw_stat *out)
{
    bool dir = S_ISDIR(st.st_mode);
    out->object_type = dir ? FS_DIRECTORY : FS_FILE;
    out->length = dir ? 0 : static_cast<uint64_t>(st.st_size);
    out->attributes = dir ? FS_ATTR_DIRECTORY : FS_ATTR_ARCHIVE;
    if (!(st.st_mode & S_IWUSR))
        out->attributes |= FS_ATTR_READONLY;
    out->time = fs_time_from_unix(st.st_mtim.tv_sec, static_cast<int32_t>(st.st_mtim.tv_nsec));
}

int do_stat(const char *path, raw_stat *out)
{
    *out = raw_stat{};
    struct stat st;
    if (::stat(native(path).c_str(), &st) != 0)
        return (errno == ENOENT || errno == ENOTDIR) ? 0 : fail();
    fill_stat(st, out);
    return 0;
}

int do_unlink(const char *path) { return ::unlink(native(path).c_str()) ? fail() : 0; }
int do_rmdir(const char *path) { return ::rmdir(native(path).c_str()) ? fail() : 0; }
int do_mkdir(const char *path) { return ::mkdir(native(path).c_str(), 0777) ? fail() : 0; }

// Like the platform's MoveFile: an existing target is not replaced.
int do_rename(const char *from, const char *to)
{
    struct stat st;
    if (::lstat(native(to).c_str(), &st) == 0)
        return EEXIST;
    return ::rename(native(from).c_str(), native(to).c_str()) ? fail() : 0;
}

int do_replace(const char *from, const char *to)
{
    return ::rename(native(from).c_str(), native(to).c_str()) ? fail() : 0;
}

int copy_bytes(int in, int out)
{
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? fail() : 0;
        for (ssize_t put = 0; put < n;) {
            ssize_t w = ::write(out, buffer + put, n - put);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return w < 0 ? fail() : ENOSPC;
            put += w;
        }
    }
}

// Like the platform's CopyFile: everything that can be checked is checked
// before the target is touched. The source must be a readable file other
// than the target (under any spelling or link), and the target must not be
// a directory. The bytes then go to a new file beside the target that
// replaces it only when complete (taking the source's permission bits, as
// a copy does), so a failed copy leaves the target as it was. Where no such
// file can be made (a directory that cannot be written), the target is
// written in place.
int do_copy(const char *from, const char *to)
{
    std::string source = native(from), target = native(to);
    int in = ::open(source.c_str(), O_RDONLY);
    if (in < 0)
        return fail();
    struct stat in_st, out_st;
    int code = ::fstat(in, &in_st) ? fail() : S_ISDIR(in_st.st_mode) ? EISDIR : 0;
    if (!code && ::stat(target.c_str(), &out_st) == 0) {
        if (S_ISDIR(out_st.st_mode))
            code = EISDIR;
        else if (out_st.st_dev == in_st.st_dev && out_st.st_ino == in_st.st_ino)
            code = EBUSY;   // copying a file onto itself would empty it
    }
    if (code) {
        ::close(in);
        return code;
    }
    std::string temporary = target + ".~qmcopy";
    int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, in_st.st_mode & 0777);
    bool in_place = out < 0;
    if (in_place)
        out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (out < 0) {
        code = fail();
        ::close(in);
        return code;
    }
    code = copy_bytes(in, out);
    ::close(in);
    if (::close(out) != 0 && !code)
        code = fail();
    if (!in_place) {
        if (!code && ::rename(temporary.c_str(), target.c_str()) != 0)
            code = fail();
        if (code)
            ::unlink(temporary.c_str());
    }
    return code;
}

int do_set_time(const char *path, uint64_t centiseconds)
{
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    int32_t ns;
    times[1].tv_sec = fs_time_to_unix(centiseconds, &ns);
    times[1].tv_nsec = ns;
    return ::utimensat(AT_FDCWD, native(path).c_str(), times, 0) ? fail() : 0;
}

struct search_state {
    DIR *dir;
    std::string directory;
    std::string pattern;
};

int do_find_open(const char *directory, const char *pattern, void **search)
{
    DIR *dir = ::opendir(native(directory).c_str());
    if (!dir)
        return fail();
    // "*.*" matches every name on the platform whose patterns we follow.
    std::string p = strcmp(pattern, "*.*") == 0 ? "*" : pattern;
    *search = new search_state{dir, native(directory), p};
    return 0;
}

int do_find_next(void *search, char *name, int size, raw_stat *stat, int *found)
{
    search_state *s = static_cast<search_state *>(search);
    *found = 0;
    for (;;) {
        errno = 0;
        struct dirent *d = ::readdir(s->dir);
        if (!d)
            return errno ? fail() : 0;
        if (fnmatch(s->pattern.c_str(), d->d_name, FNM_CASEFOLD) != 0)
            continue;
        if (strlen(d->d_name) >= static_cast<size_t>(size))
            continue;   // cannot be named within the caller's record
        strcpy(name, d->d_name);
        struct ::stat st;
        std::string full = s->directory + "/" + d->d_name;
        *stat = raw_stat{};
        if (::stat(full.c_str(), &st) == 0)
            fill_stat(st, stat);
        else
            stat->object_type = FS_FILE;
        *found = 1;
        return 0;
    }
}

int do_find_close(void *search)
{
    search_state *s = static_cast<search_state *>(search);
    int code = ::closedir(s->dir) ? fail() : 0;
    delete s;
    return code;
}

// "%NAME%" references; an unknown name or a lone "%" stays as written.
int do_expand_env(const char *text, char *out, int size)
{
    std::string result;
    for (const char *p = text; *p;) {
        const char *end = *p == '%' ? strchr(p + 1, '%') : nullptr;
        if (!end) {
            result += *p++;
            continue;
        }
        std::string name(p + 1, end - p - 1);
        const char *value = name.empty() ? nullptr : getenv(name.c_str());
        if (value) {
            result += value;
            p = end + 1;
        } else {
            result.append(p, end - p);
            p = end;
        }
    }
    if (result.size() >= static_cast<size_t>(size))
        return ENAMETOOLONG;
    memcpy(out, result.c_str(), result.size() + 1);
    return 0;
}

int no_link(char *, int) { return ENOSYS; }

int do_final_path(char *path, int size)
{
    std::string p = native(path);
    struct stat st;
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return 0;
    char *real = ::realpath(p.c_str(), nullptr);
    if (!real)
        return fail();
    int code = strlen(real) < static_cast<size_t>(size) ? 0 : ENAMETOOLONG;
    if (!code)
        strcpy(path, real);
    free(real);
    return code;
}

int do_copy_attributes(const char *from, const char *to)
{
    struct stat st;
    if (::stat(native(from).c_str(), &st) != 0)
        return fail();
    // The owner first (only root may give a file away; otherwise the file
    // is the caller's own anyway), then the mode, which chown may clear.
    if (::chown(native(to).c_str(), st.st_uid, st.st_gid) != 0) {
        // Best effort: a user cannot give a file away, and need not.
    }
    return ::chmod(native(to).c_str(), st.st_mode & 07777) ? fail() : 0;
}

// The machine's identity is the id systemd or D-Bus keeps (readable by
// everyone on the machine, unknown elsewhere), then the uid. One small
// file read: no process is started.
int do_user_secret(void *out, int size, int *length)
{
    auto *bytes = static_cast<unsigned char *>(out);
    uid_t uid = getuid();
    if (size < static_cast<int>(sizeof uid) + 16)
        return EOVERFLOW;
    int room = size - static_cast<int>(sizeof uid);
    int status = ENOENT;
    for (const char *path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            status = errno;
            continue;
        }
        ssize_t n = ::read(fd, bytes, room);
        status = n < 0 ? errno : 0;
        ::close(fd);
        if (n >= 16) {   // an id of 32 hex digits; an empty file names nothing
            memcpy(bytes + n, &uid, sizeof uid);
            *length = static_cast<int>(n + sizeof uid);
            return 0;
        }
        if (status == 0)
            status = ENOENT;
    }
    return status;
}

int no_reg_open(int, const char *, char, bool, void **) { return ENOENT; }
int no_reg_query(void *, const char *, void *, int *) { return ENOENT; }
int no_reg_set(void *, const char *, const char *) { return ENOENT; }
int no_reg_delete_value(void *, const char *) { return ENOENT; }
int no_reg_delete_key(int, const char *) { return ENOENT; }
int no_reg_enum(void *, bool, int, char *, int, int *) { return ENOENT; }
int no_reg_close(void *) { return 0; }

}  // namespace

fs_os_calls fs_os = {
    {"open", do_open, do_open},
    {"read", do_read, do_read},
    {"write", do_write, do_write},
    {"lseek", do_seek, do_seek},
    {"close", do_close, do_close},
    {"stat", do_stat, do_stat},
    {"unlink", do_unlink, do_unlink},
    {"rmdir", do_rmdir, do_rmdir},
    {"mkdir", do_mkdir, do_mkdir},
    {"rename", do_rename, do_rename},
    {"rename", do_replace, do_replace},
    {"copy", do_copy, do_copy},
    {"utimensat", do_set_time, do_set_time},
    {"opendir", do_find_open, do_find_open},
    {"readdir", do_find_next, do_find_next},
    {"closedir", do_find_close, do_find_close},
    {"getenv", do_expand_env, do_expand_env},
    {"shortcut", no_link, no_link},
    {"RegOpenKey", no_reg_open, no_reg_open},
    {"RegQueryValueEx", no_reg_query, no_reg_query},
    {"RegSetValueEx", no_reg_set, no_reg_set},
    {"RegDeleteValue", no_reg_delete_value, no_reg_delete_value},
    {"RegDeleteKey", no_reg_delete_key, no_reg_delete_key},
    {"RegEnumKeyEx", no_reg_enum, no_reg_enum},
    {"RegCloseKey", no_reg_close, no_reg_close},
    {"realpath", do_final_path, do_final_path},
    {"chmod", do_copy_attributes, do_copy_attributes},
    {"machine-id", do_user_secret, do_user_secret},
};

void os_error_text(int code, char *out, int size)
{
    const char *text = strerror(code);
    snprintf(out, size, "%s", text ? text : "");
}
