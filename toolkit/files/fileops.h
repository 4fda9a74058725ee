// Whole files, file management and directory enumeration.
//
// Every path is expanded first (paths.h). Failing platform calls give the
// platform-call error record (files_os.h).
#pragma once
#include <cstdint>
#include "toolkit/files/fileinfo.h"

struct error_block;

// Reads the whole file into `buffer` (`size` bytes) and sets *length. A
// path that is not a file does nothing (*length = 0, no error). A file
// larger than the buffer is refused with error 30 and nothing read.
const error_block *fs_load_file(const char *path, void *buffer, int size, int *length);
// Reads the whole file into a new heap block (freed with heap_dispose). On
// failure, and for a path that is not a file (an error here: there is no
// block to return), *block is null and *length 0.
const error_block *fs_load_heap(const char *path, void **block, int *length);

// Writes `length` bytes to `path` (created or truncated). While a memory
// transfer is in progress the bytes go into the transfer instead. `type` is
// the file type (kept for the transfer and for callers that record it).
const error_block *fs_save_block(const char *path, int type, const void *start, int length);
// As fs_save_block, through a temporary file beside the target that then
// replaces it: a failed save leaves the old file as it was.
const error_block *fs_save_block_safely(const char *path, int type, const void *start,
                                        int length);

const error_block *fs_delete(const char *path);   // a file or an empty directory
const error_block *fs_rename(const char *from, const char *to);
const error_block *fs_copy(const char *from, const char *to);  // replaces `to`
const error_block *fs_create_directory(const char *path);
const error_block *fs_set_time(const char *path, uint64_t centiseconds);

// Bytes that name this machine and the user running the program, unknown
// to other machines (files_os.h, user_secret): their count, at most `size`,
// or 0 when the machine has no identity to give.
int fs_user_secret(void *out, int size);

// Directory enumeration, one at a time. Opening while one is open logs a
// line and abandons the old one (`scanning` picks the scanner's line).
// fs_dir_next returns the next entry other than "." and "..", or sets
// *done when none remain; fs_dir_close ends it (also done by the last
// fs_dir_next).
struct fs_dir_entry {
    char name[257];   // leaf name, up to 256 bytes
    fs_info info;
};
const error_block *fs_dir_open(const char *directory, const char *pattern, bool scanning = false);
const error_block *fs_dir_next(fs_dir_entry *entry, int *done);
void fs_dir_close();
