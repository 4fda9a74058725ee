// The file information record: file type and 40-bit time in the load and
// exec words, and conversions between the platform clocks and ours.
#include "toolkit/files/fileinfo.h"

#include "toolkit/files/filetypes.h"
#include "toolkit/files/files_internal.h"
#include "toolkit/files/files_os.h"
#include "toolkit/files/paths.h"

namespace {

const uint64_t TIME_MASK = (uint64_t(1) << 40) - 1;
const uint64_t FILETIME_1900 = 94354848000000000ull;   // 100-ns units, 1601 to 1900
const int64_t UNIX_1900 = 2208988800;                  // seconds, 1900 to 1970

uint64_t clamp_time(int64_t cs)
{
    if (cs < 0)
        return 0;
    return static_cast<uint64_t>(cs) > TIME_MASK ? TIME_MASK : static_cast<uint64_t>(cs);
}

}  // namespace

void fs_info_stamp(fs_info *info, int file_type, uint64_t centiseconds)
{
    centiseconds &= TIME_MASK;
    info->file_type = file_type < 0 ? -1 : file_type & 0xFFF;
    info->exec = static_cast<uint32_t>(centiseconds);
    if (file_type < 0) {   // no type: the load word holds only the time's top byte
        info->load = static_cast<uint32_t>(centiseconds >> 32);
        return;
    }
    info->load = 0xFFF00000u | (static_cast<uint32_t>(file_type & 0xFFF) << 8) |
                 static_cast<uint32_t>(centiseconds >> 32);
}

uint64_t fs_info_time(const fs_info *info)
{
    return (static_cast<uint64_t>(info->load & 0xFF) << 32) | info->exec;
}

int fs_info_type(const fs_info *info)
{
    if ((info->load >> 20) != 0xFFF)
        return -1;
    return static_cast<int>((info->load >> 8) & 0xFFF);
}

int fs_compare_times(const fs_info *a, const fs_info *b, uint32_t tolerance)
{
    uint64_t ta = fs_info_time(a), tb = fs_info_time(b);
    if (ta + tolerance < tb)
        return -1;
    if (tb + tolerance < ta)
        return 1;
    return 0;
}

uint64_t fs_time_from_filetime(uint64_t filetime)
{
    if (filetime < FILETIME_1900)
        return 0;
    return clamp_time(static_cast<int64_t>((filetime - FILETIME_1900) / 100000));
}

uint64_t fs_time_to_filetime(uint64_t centiseconds)
{
    return (centiseconds & TIME_MASK) * 100000 + FILETIME_1900;
}

uint64_t fs_time_from_unix(int64_t seconds, int32_t nanoseconds)
{
    return clamp_time((seconds + UNIX_1900) * 100 + nanoseconds / 10000000);
}

int64_t fs_time_to_unix(uint64_t centiseconds, int32_t *nanoseconds)
{
    centiseconds &= TIME_MASK;
    *nanoseconds = static_cast<int32_t>(centiseconds % 100) * 10000000;
    return static_cast<int64_t>(centiseconds / 100) - UNIX_1900;
}

const error_block *fs_file_info(const char *path, fs_info *info)
{
    char full[FS_PATH_MAX];
    const error_block *e = fs_expand_path(path, full, sizeof full);
    if (e) {
        *info = fs_info{};
        info->file_type = -1;
        return e;
    }
    return file_info_expanded(full, info);
}

const error_block *file_info_expanded(const char *full, fs_info *info)
{
    *info = fs_info{};
    info->file_type = -1;
    raw_stat st{};
    int code = fs_os.stat.current(full, &st);
    if (code != 0)
        return os_error(fs_os.stat.name, code, "%s", full);
    info->object_type = st.object_type;
    if (st.object_type == FS_NOT_FOUND)
        return nullptr;
    info->length = st.length > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(st.length);
    info->attributes = st.attributes;
    fs_info_stamp(info, filetype_of_name(full), st.time);
    return nullptr;
}
