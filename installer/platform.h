// The raw platform calls under the installer's portable code: one file per
// platform (platform_win.cpp, platform_posix.cpp). Paths are given with
// "\" separators; the POSIX file turns them into "/". Each call that fails
// returns the error record, with the operation names the installer's
// messages use ("CreateFile", "WriteFile", "CloseHandle", "Create Directory").
#pragma once

#include <cstddef>
#include <cstdint>

#include "installer/install_error.h"

void platform_error_message(long code, char *buffer, size_t size);
long platform_last_error();

// Opens path for writing: an existing file is truncated, otherwise created.
const install_error *platform_create(const char *path, intptr_t *handle);
// Writes all of the bytes (repeating short writes); a write that writes
// nothing is an error.
const install_error *platform_write(intptr_t handle, const void *data, size_t size,
                                    const char *path);
// Sets the last-write time from a DOS date and time read as local time.
const install_error *platform_set_time(intptr_t handle, unsigned dos_date, unsigned dos_time,
                                       const char *path);
const install_error *platform_close(intptr_t handle, const char *path);

enum path_kind { path_missing, path_file, path_directory };
path_kind platform_path_kind(const char *path);
const install_error *platform_make_directory(const char *path);
