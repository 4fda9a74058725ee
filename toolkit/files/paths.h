// Path names with references in angle brackets.
//
// Every path given to the file layer is expanded first:
//   - double-quote characters are dropped;
//   - "<<" stands for one "<" (no lookup follows);
//   - "<%VAR%>" is replaced by the environment's expansion of %VAR%;
//   - "<ROOT\key\value>" by that registry value, "<ROOT\key\>" by the key's
//     default value; when a reference does not resolve (missing or empty)
//     the next ">" is tried as its end, and when none resolves the "<" is
//     kept as written and expansion goes on after it;
//   - a ".lnk" result is replaced by the shortcut's target while shortcut
//     following is on (Windows only).
// In the native build registry references never resolve, and the POSIX
// calls see "\" as "/".
#pragma once

struct error_block;

const int FS_PATH_MAX = 260;   // bytes of an expanded path, terminator included

// Expands `path` into `out` (`size` bytes, at most FS_PATH_MAX are used).
// Unresolved references stay as written. Error 30 when the result does not
// fit: `out` then holds an empty string (never a cut path).
const error_block *fs_expand_path(const char *path, char *out, int size);

// Shortcut following for fs_expand_path (off at start).
void fs_set_follow_shortcuts(bool on);

// Appends "\" (unless `directory` already ends with a separator) and `leaf`
// within a buffer of `size` bytes. Error 30 ("fs_strcat") when the result
// does not fit; `directory` is then unchanged.
const error_block *fs_strcat(char *directory, int size, const char *leaf);

// The leaf name: the text after the last "\" or "/" (the whole string when
// there is none).
const char *fs_leaf(const char *path);
