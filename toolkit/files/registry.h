// Registry access by path string: "ROOT\key path\value name".
//
// ROOT is one of HKEY_CLASSES_ROOT (HKCR), HKEY_CURRENT_USER (HKCU),
// HKEY_LOCAL_MACHINE (HKLM), HKEY_USERS (HKU), HKEY_CURRENT_CONFIG (HKCC),
// matched without regard to case. The key path runs from the first to the
// last "\"; the value name follows the last "\". A path ending in "\"
// names the key's default value (and, for deletion, the key itself).
//
// Access letters: "r" read, "w" write, anything else full access.
// Failures are the platform-call records (RegOpenKey, RegQueryValueEx, ...).
// In the native build there is no registry: every call fails with
// "RegOpenKey" code 2.
#pragma once

struct error_block;

const int REG_ROOT_NONE = -1;
const int REG_ROOT_CLASSES = 0, REG_ROOT_USER = 1, REG_ROOT_MACHINE = 2,
          REG_ROOT_USERS = 3, REG_ROOT_CONFIG = 4;

// Splits a registry path: the root number (REG_ROOT_NONE when the path has
// no "\" or an unknown root), the key path and the value name (empty for
// the default value), each cut to its buffer's size. Returns false for a
// path that names no key, or whose key or value does not fit.
bool reg_split_path(const char *path, int *root, char *key, int key_size, char *value,
                    int value_size);

// Reads a value into `buffer`: *length gives the buffer's size and receives
// the bytes read (a string value with its terminator). On failure the
// buffer's first byte and *length are set to 0; a value longer than the
// buffer is refused (RegQueryValueEx, "More data is available").
const error_block *reg_read(const char *path, void *buffer, int *length);
// Reads a value into a new heap block (freed by the caller with heap_dispose).
const error_block *reg_read_heap(const char *path, void **block, int *length);
// Writes a string value, creating the key (and its parents) when missing.
const error_block *reg_write_string(const char *path, const char *text);
// Deletes the value, or the key when the path ends with "\".
const error_block *reg_delete(const char *path);
// The name of subkey number `index` (values == false) or value number
// `index` (values == true) of the key `path` names (its value part is
// ignored). *done is set when there is no such entry.
const error_block *reg_enumerate(const char *path, bool values, int index, char *name,
                                 int size, int *done);
