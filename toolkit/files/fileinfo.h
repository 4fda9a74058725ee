// The file information record and file times.
//
// Times are 40-bit counts of centiseconds since 1 January 1900 (UTC). A
// file's record carries the time split over the load word (top byte) and
// the exec word (low 32 bits), and its file type in the load word.
#pragma once
#include <cstdint>

struct error_block;

const int FS_NOT_FOUND = 0, FS_FILE = 1, FS_DIRECTORY = 2;

struct fs_info {
    int32_t object_type;   // FS_NOT_FOUND, FS_FILE or FS_DIRECTORY
    uint32_t length;       // bytes (0xFFFFFFFF for larger files)
    uint32_t load;         // 0xFFF in bits 20-31, type in 8-19, time bits 32-39 in 0-7
    uint32_t exec;         // time bits 0-31
    uint32_t attributes;   // the platform's attribute bits (FILE_ATTRIBUTE_*)
    int32_t file_type;     // 12-bit type, -1 for none
};

// Windows attribute bits, also produced by the native build.
const uint32_t FS_ATTR_READONLY = 0x01, FS_ATTR_HIDDEN = 0x02, FS_ATTR_DIRECTORY = 0x10,
               FS_ATTR_ARCHIVE = 0x20, FS_ATTR_NORMAL = 0x80;

// Fills the record for `path` (expanded). A path that does not exist gives
// object type 0 and no error.
const error_block *fs_file_info(const char *path, fs_info *info);

// Builds the load and exec words from a type and a time.
void fs_info_stamp(fs_info *info, int file_type, uint64_t centiseconds);
// The record's time, and its type from the load word (-1 without 0xFFF).
uint64_t fs_info_time(const fs_info *info);
int fs_info_type(const fs_info *info);
// -1, 0 or 1 as a's time is earlier than, within `tolerance` centiseconds
// of, or later than b's.
int fs_compare_times(const fs_info *a, const fs_info *b, uint32_t tolerance);

// Conversions between the platform's 100-ns counts since 1601 (Windows) and
// seconds since 1970 (POSIX) and centiseconds since 1900.
uint64_t fs_time_from_filetime(uint64_t filetime);
uint64_t fs_time_to_filetime(uint64_t centiseconds);
uint64_t fs_time_from_unix(int64_t seconds, int32_t nanoseconds);
int64_t fs_time_to_unix(uint64_t centiseconds, int32_t *nanoseconds);
