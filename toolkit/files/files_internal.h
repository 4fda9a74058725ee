// Helpers shared by the file layer's own files (not for other modules).
#pragma once
#include <cstdint>

struct error_block;
struct fs_info;

// The information record of a path that is already expanded (a second
// expansion would read a literal "<" as a reference).
const error_block *file_info_expanded(const char *full, fs_info *info);

// Reads exactly `length` bytes at `position`, looping over short reads;
// a read of 0 bytes gives error 3. *done (optional) receives the bytes read.
const error_block *raw_read_at(intptr_t file, int64_t position, void *buffer, int length,
                               int *done);
// Reads up to `length` bytes at `position` (stops at the end of the file).
const error_block *raw_read_some(intptr_t file, int64_t position, void *buffer, int length,
                                 int *done);
// Writes exactly `length` bytes at `position`; a write of 0 bytes gives error 4.
const error_block *raw_write_at(intptr_t file, int64_t position, const void *buffer,
                                int length);
// Opens an already expanded path; the error names the call and the path.
const error_block *raw_open_path(const char *full, char mode, intptr_t *file);
// Closes; the error names the call.
const error_block *raw_close_file(intptr_t file);

// The memory transfer in progress (null when none).
void **transfer_anchor();
// Replaces the transfer's data by these bytes.
const error_block *transfer_store(const void *bytes, int length);
