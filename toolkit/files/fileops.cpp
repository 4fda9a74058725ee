// Whole-file load and save, and file management.
//
// A save through fs_save_block_safely never truncates the user's file
// before the new bytes are safely on disk: they go to a temporary file
// beside the target, which then replaces it in one rename.
#include "toolkit/files/fileops.h"

#include <cstring>

#include "toolkit/files/files_internal.h"
#include "toolkit/files/files_os.h"
#include "toolkit/files/paths.h"
#include "toolkit/files/stream.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"

namespace {

// Opens a file for reading and reads `length` bytes into `buffer`.
const error_block *read_whole(const char *full, void *buffer, int length)
{
    intptr_t file;
    const error_block *e = raw_open_path(full, 'r', &file);
    if (e)
        return e;
    e = raw_read_at(file, 0, buffer, length, nullptr);
    const error_block *c = raw_close_file(file);
    return e ? e : c;
}

// The record of a file to load: error 30 for a file too large to hold.
const error_block *info_for_load(const char *full, fs_info *info)
{
    const error_block *e = file_info_expanded(full, info);
    if (!e && info->object_type == FS_FILE && info->length > 0x7FFFFFF0u)
        e = make_error_text(30, "File too large to load: %.200s", full);
    return e;
}

const error_block *with_two_paths(const char *from, const char *to,
                                  const os_call<raw_two_paths_fn> &call)
{
    char a[FS_PATH_MAX], b[FS_PATH_MAX];
    const error_block *e = fs_expand_path(from, a, sizeof a);
    if (!e)
        e = fs_expand_path(to, b, sizeof b);
    if (e)
        return e;
    int code = call.current(a, b);
    return code ? os_error(call.name, code, "%s %s", a, b) : nullptr;
}

const error_block *with_path(const char *path, const os_call<raw_path_fn> &call)
{
    char full[FS_PATH_MAX];
    const error_block *e = fs_expand_path(path, full, sizeof full);
    if (e)
        return e;
    int code = call.current(full);
    return code ? os_error(call.name, code, "%s", full) : nullptr;
}

}  // namespace

const error_block *fs_load_file(const char *path, void *buffer, int size, int *length)
{
    *length = 0;
    char full[FS_PATH_MAX];
    const error_block *e = fs_expand_path(path, full, sizeof full);
    fs_info info;
    if (!e)
        e = info_for_load(full, &info);
    if (e || info.object_type != FS_FILE)
        return e;
    if (info.length > static_cast<uint32_t>(size < 0 ? 0 : size))
        return make_error_text(30, "File too large for its buffer (%u bytes): %.180s",
                               info.length, full);
    e = read_whole(full, buffer, static_cast<int>(info.length));
    if (!e)
        *length = static_cast<int>(info.length);
    return e;
}

const error_block *fs_load_heap(const char *path, void **block, int *length)
{
    *block = nullptr;
    *length = 0;
    char full[FS_PATH_MAX];
    const error_block *e = fs_expand_path(path, full, sizeof full);
    fs_info info;
    if (!e)
        e = info_for_load(full, &info);
    if (e)
        return e;
    if (info.object_type != FS_FILE)
        return os_error(fs_os.open.name, OS_CODE_NOT_FOUND, "%s", full);
    int n = static_cast<int>(info.length);
    e = heap_new_uncleared(block, n > 0 ? n : 1);
    if (!e)
        e = read_whole(full, *block, n);
    if (e) {
        heap_dispose(block);
        return e;
    }
    *length = n;
    return nullptr;
}

const error_block *fs_save_block(const char *path, int type, const void *start, int length)
{
    if (transfer_anchor()) {
        debug_log("ram save block");
        return transfer_store(start, length);
    }
    debug_log("file save block");
    (void)type;
    char full[FS_PATH_MAX];
    const error_block *e = fs_expand_path(path, full, sizeof full);
    intptr_t file;
    if (!e)
        e = raw_open_path(full, 'w', &file);
    if (e)
        return e;
    e = raw_write_at(file, 0, start, length);
    const error_block *c = raw_close_file(file);
    return e ? e : c;
}

const error_block *fs_save_block_safely(const char *path, int type, const void *start,
                                        int length)
{
    (void)type;
    debug_log(transfer_anchor() ? "ram save block" : "file save block");
    fs_stream s;
    const error_block *e = stream_open_safe(path, 4096, &s);
    if (e)
        return e;
    return stream_close(&s, stream_write(&s, start, length));
}

const error_block *fs_delete(const char *path)
{
    char full[FS_PATH_MAX];
    const error_block *e = fs_expand_path(path, full, sizeof full);
    if (e)
        return e;
    raw_stat st{};
    fs_os.stat.current(full, &st);
    const os_call<raw_path_fn> &call =
        st.object_type == FS_DIRECTORY ? fs_os.remove_directory : fs_os.delete_file;
    int code = call.current(full);
    return code ? os_error(call.name, code, "%s", full) : nullptr;
}

const error_block *fs_rename(const char *from, const char *to)
{
    return with_two_paths(from, to, fs_os.rename);
}

const error_block *fs_copy(const char *from, const char *to)
{
    return with_two_paths(from, to, fs_os.copy);
}

const error_block *fs_create_directory(const char *path)
{
    return with_path(path, fs_os.create_directory);
}

const error_block *fs_set_time(const char *path, uint64_t centiseconds)
{
    char full[FS_PATH_MAX];
    const error_block *e = fs_expand_path(path, full, sizeof full);
    if (e)
        return e;
    int code = fs_os.set_time.current(full, centiseconds);
    return code ? os_error(fs_os.set_time.name, code, "%s", full) : nullptr;
}

int fs_user_secret(void *out, int size)
{
    int length = 0;
    if (int code = fs_os.user_secret.current(out, size, &length)) {
        debug_log("no identity for this machine (%s: %d)", fs_os.user_secret.name, code);
        return 0;
    }
    return length > 0 && length <= size ? length : 0;
}
