// The platform calls of the file layer and the errors they give.
//
// Every raw call sits in one table of {name, current, original} entries,
// filled by the platform half (files_win.cpp or files_posix.cpp). The
// portable code calls `current`; a test may point `current` at a function
// of its own to make a call fail, and fs_os_restore() puts every original
// back. Each raw call returns 0 on success or the platform's error code
// (GetLastError or a registry status on Windows, errno natively); the
// portable wrappers turn a code into the os_error record naming the call.
#pragma once
#include <cstdint>

struct error_block;

// What a raw status call reports about a path.
struct raw_stat {
    int object_type;      // 0 not found, 1 file, 2 directory
    uint64_t length;
    uint32_t attributes;  // FILE_ATTRIBUTE_* bits
    uint64_t time;        // modification time, centiseconds since 1900
};

// Modes as for streams, and 'n': create a new file, failing when the name
// exists (for temporary files that must never replace anything).
typedef int (*raw_open_fn)(const char *path, char mode, intptr_t *file);
typedef int (*raw_read_fn)(intptr_t file, void *buffer, int length, int *done);
typedef int (*raw_write_fn)(intptr_t file, const void *buffer, int length, int *done);
typedef int (*raw_seek_fn)(intptr_t file, int64_t position);
typedef int (*raw_close_fn)(intptr_t file);
typedef int (*raw_stat_fn)(const char *path, raw_stat *stat);  // missing: 0, type 0
typedef int (*raw_path_fn)(const char *path);
typedef int (*raw_two_paths_fn)(const char *from, const char *to);
typedef int (*raw_set_time_fn)(const char *path, uint64_t centiseconds);
typedef int (*raw_find_open_fn)(const char *directory, const char *pattern, void **search);
// *found is 0 when no entries remain.
typedef int (*raw_find_next_fn)(void *search, char *name, int size, raw_stat *stat, int *found);
typedef int (*raw_find_close_fn)(void *search);
// Expands "%VAR%" references of `text` into `out`; unknown names stay.
typedef int (*raw_expand_env_fn)(const char *text, char *out, int size);
// Replaces a shortcut file's path by its target (within `size` bytes).
typedef int (*raw_resolve_link_fn)(char *path, int size);
// Registry: keys are opaque handles; `access` is 'r', 'w' or 'f'.
typedef int (*raw_reg_open_fn)(int root, const char *key, char access, bool create, void **hkey);
// *length in: buffer size; out: bytes of the value (also when too small).
typedef int (*raw_reg_query_fn)(void *hkey, const char *value, void *buffer, int *length);
typedef int (*raw_reg_set_fn)(void *hkey, const char *value, const char *text);
typedef int (*raw_reg_delete_value_fn)(void *hkey, const char *value);
typedef int (*raw_reg_delete_key_fn)(int root, const char *key);
typedef int (*raw_reg_enum_fn)(void *hkey, bool values, int index, char *name, int size,
                               int *found);
typedef int (*raw_reg_close_fn)(void *hkey);
// Replaces an existing path that is a symbolic link by the path of the file
// it finally names (within `size` bytes); leaves any other path alone.
typedef int (*raw_final_path_fn)(char *path, int size);
// Gives `to` the permission bits (natively: mode and, where allowed, owner;
// on Windows: the hidden, system and archive attributes) of `from`.
typedef int (*raw_copy_attributes_fn)(const char *from, const char *to);
// Fills `out` with bytes that name this machine and the user running the
// program, and that another machine does not know: the machine's identity
// (MachineGuid / machine-id) followed by the user's (SID / uid). *length is
// the count written, at most `size`. Fails when the machine has no identity.
typedef int (*raw_user_secret_fn)(void *out, int size, int *length);

template <class F> struct os_call {
    const char *name;   // the platform call's name, used in error texts
    F current;          // what the file layer calls
    F original;         // the platform's own implementation
};

struct fs_os_calls {
    os_call<raw_open_fn> open;              // CreateFile / open
    os_call<raw_read_fn> read;              // ReadFile / read
    os_call<raw_write_fn> write;            // WriteFile / write
    os_call<raw_seek_fn> seek;              // SetFilePointerEx / lseek
    os_call<raw_close_fn> close;            // CloseHandle / close
    os_call<raw_stat_fn> stat;              // GetFileAttributesEx / stat
    os_call<raw_path_fn> delete_file;       // DeleteFile / unlink
    os_call<raw_path_fn> remove_directory;  // RemoveDirectory / rmdir
    os_call<raw_path_fn> create_directory;  // CreateDirectory / mkdir
    os_call<raw_two_paths_fn> rename;       // MoveFile / rename (fails if `to` exists on Windows)
    os_call<raw_two_paths_fn> replace;      // MoveFileEx REPLACE_EXISTING / rename
    os_call<raw_two_paths_fn> copy;         // CopyFile / read-write copy
    os_call<raw_set_time_fn> set_time;      // SetFileTime / utimensat
    os_call<raw_find_open_fn> find_open;    // FindFirstFile / opendir
    os_call<raw_find_next_fn> find_next;    // FindNextFile / readdir
    os_call<raw_find_close_fn> find_close;  // FindClose / closedir
    os_call<raw_expand_env_fn> expand_env;  // ExpandEnvironmentStrings / getenv
    os_call<raw_resolve_link_fn> resolve_link;  // IShellLink (nothing natively)
    os_call<raw_reg_open_fn> reg_open;      // RegOpenKeyEx / RegCreateKeyEx
    os_call<raw_reg_query_fn> reg_query;    // RegQueryValueEx
    os_call<raw_reg_set_fn> reg_set;        // RegSetValueEx
    os_call<raw_reg_delete_value_fn> reg_delete_value;  // RegDeleteValue
    os_call<raw_reg_delete_key_fn> reg_delete_key;      // RegDeleteKey
    os_call<raw_reg_enum_fn> reg_enum;      // RegEnumKeyEx / RegEnumValue
    os_call<raw_reg_close_fn> reg_close;    // RegCloseKey
    os_call<raw_final_path_fn> final_path;  // realpath (nothing on Windows)
    os_call<raw_copy_attributes_fn> copy_attributes;  // chmod / SetFileAttributes
    os_call<raw_user_secret_fn> user_secret;  // MachineGuid and SID / machine-id and uid
};

extern fs_os_calls fs_os;
void fs_os_restore();

// Platform codes the portable code needs to recognise.
extern const int OS_CODE_NOT_FOUND;    // ERROR_FILE_NOT_FOUND / ENOENT
extern const int OS_CODE_MORE_DATA;    // ERROR_MORE_DATA / EOVERFLOW

// The platform's message text for an error code (no trailing line end).
void os_error_text(int code, char *out, int size);

// Builds the os_error record: errnum = code; errmess = the platform's text
// for the code, then " (call) (code) (detail)" with the detail formatted
// from `detail_format` (or " (call) (code)" when it is null), cut at 252
// bytes. Returns the record.
const error_block *os_error(const char *call, int code, const char *detail_format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 3, 4)))
#endif
    ;
