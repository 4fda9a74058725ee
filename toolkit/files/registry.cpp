// Registry access by path string, over the raw registry calls.
//
// Every operation splits the path, opens the key, does its one call and
// closes the key again; the first failure is returned as the record of the
// call that failed, with the path as its detail.
#include "toolkit/files/registry.h"

#include <cstring>

#include "toolkit/files/files_os.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/text/cp1252.h"

namespace {

const struct {
    const char *long_name;
    const char *short_name;
} roots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR"},
    {"HKEY_CURRENT_USER", "HKCU"},
    {"HKEY_LOCAL_MACHINE", "HKLM"},
    {"HKEY_USERS", "HKU"},
    {"HKEY_CURRENT_CONFIG", "HKCC"},
};

const int REG_NAME_MAX = 260;

struct reg_path {
    int root;
    char key[REG_NAME_MAX];
    char value[REG_NAME_MAX];
};

bool copy_part(char *to, int size, const char *from, size_t length)
{
    if (length >= static_cast<size_t>(size))
        return false;
    memcpy(to, from, length);
    to[length] = 0;
    return true;
}

int root_number(const char *name, size_t length)
{
    char root[24];
    if (!copy_part(root, sizeof root, name, length))
        return REG_ROOT_NONE;
    for (int i = 0; i < 5; i++)
        if (cp_compare_nocase(root, roots[i].long_name) == 0 ||
            cp_compare_nocase(root, roots[i].short_name) == 0)
            return i;
    return REG_ROOT_NONE;
}

// Opens the key a path names; on failure returns its record.
const error_block *open_key(const char *path, char access, bool create, reg_path *p,
                            void **key)
{
    *key = nullptr;
    if (!reg_split_path(path, &p->root, p->key, sizeof p->key, p->value, sizeof p->value))
        return os_error(fs_os.reg_open.name, OS_CODE_NOT_FOUND, "%s", path);
    int code = fs_os.reg_open.current(p->root, p->key, access, create, key);
    if (code != 0) {
        *key = nullptr;
        return os_error(fs_os.reg_open.name, code, "%s", path);
    }
    return nullptr;
}

// Closes a key; keeps an earlier error, else returns the close's own.
const error_block *close_key(void *key, const error_block *error, const char *path)
{
    int code = fs_os.reg_close.current(key);
    if (error)
        return error;
    return code ? os_error(fs_os.reg_close.name, code, "%s", path) : nullptr;
}

char access_letter(const char *access)
{
    return (access[0] == 'r' || access[0] == 'w') ? access[0] : 'f';
}

}  // namespace

bool reg_split_path(const char *path, int *root, char *key, int key_size, char *value,
                    int value_size)
{
    *root = REG_ROOT_NONE;
    key[0] = value[0] = 0;
    const char *first = strchr(path, '\\');
    if (!first)
        return false;
    const char *last = strrchr(path, '\\');
    *root = root_number(path, first - path);
    if (*root == REG_ROOT_NONE)
        return false;
    size_t key_length = last > first ? last - first - 1 : 0;
    return copy_part(key, key_size, first + 1, key_length) &&
           copy_part(value, value_size, last + 1, strlen(last + 1));
}

const error_block *reg_read(const char *path, void *buffer, int *length)
{
    int size = *length;
    *length = 0;
    if (size > 0)
        static_cast<char *>(buffer)[0] = 0;
    reg_path p;
    void *key;
    const error_block *e = open_key(path, access_letter("r"), false, &p, &key);
    if (e)
        return e;
    int got = size;
    int code = fs_os.reg_query.current(key, p.value, buffer, &got);
    if (code == 0 && got > size)
        code = OS_CODE_MORE_DATA;
    if (code != 0)
        e = os_error(fs_os.reg_query.name, code, "%s", path);
    e = close_key(key, e, path);
    if (e) {
        if (size > 0)
            static_cast<char *>(buffer)[0] = 0;
        return e;
    }
    *length = got;
    return nullptr;
}

const error_block *reg_read_heap(const char *path, void **block, int *length)
{
    *block = nullptr;
    *length = 0;
    reg_path p;
    void *key;
    const error_block *e = open_key(path, 'r', false, &p, &key);
    if (e)
        return e;
    int size = 0;
    int code = fs_os.reg_query.current(key, p.value, nullptr, &size);
    if (code == 0 || code == OS_CODE_MORE_DATA) {
        code = 0;
        e = heap_new(block, size + 1);   // one spare byte keeps a string terminated
        if (!e) {
            int got = size;
            code = fs_os.reg_query.current(key, p.value, *block, &got);
            if (code == 0)
                *length = got;
        }
    }
    if (code != 0 && !e)
        e = os_error(fs_os.reg_query.name, code, "%s", path);
    e = close_key(key, e, path);
    if (e) {
        heap_dispose(block);
        *length = 0;
    }
    return e;
}

const error_block *reg_write_string(const char *path, const char *text)
{
    reg_path p;
    void *key;
    const error_block *e = open_key(path, 'w', true, &p, &key);
    if (e)
        return e;
    int code = fs_os.reg_set.current(key, p.value, text);
    if (code != 0)
        e = os_error(fs_os.reg_set.name, code, "%s", path);
    return close_key(key, e, path);
}

const error_block *reg_delete(const char *path)
{
    reg_path p;
    size_t n = strlen(path);
    if (n > 0 && path[n - 1] == '\\') {
        if (!reg_split_path(path, &p.root, p.key, sizeof p.key, p.value, sizeof p.value))
            return os_error(fs_os.reg_delete_key.name, OS_CODE_NOT_FOUND, "%s", path);
        int code = fs_os.reg_delete_key.current(p.root, p.key);
        return code ? os_error(fs_os.reg_delete_key.name, code, "%s", path) : nullptr;
    }
    void *key;
    const error_block *e = open_key(path, 'f', false, &p, &key);
    if (e)
        return e;
    int code = fs_os.reg_delete_value.current(key, p.value);
    if (code != 0)
        e = os_error(fs_os.reg_delete_value.name, code, "%s", path);
    return close_key(key, e, path);
}

const error_block *reg_enumerate(const char *path, bool values, int index, char *name,
                                 int size, int *done)
{
    *done = 0;
    if (size > 0)
        name[0] = 0;
    reg_path p;
    void *key;
    const error_block *e = open_key(path, 'r', false, &p, &key);
    if (e)
        return e;
    int found = 0;
    int code = fs_os.reg_enum.current(key, values, index, name, size, &found);
    if (code != 0)
        e = os_error(fs_os.reg_enum.name, code, "%s", path);
    else if (!found)
        *done = 1;
    return close_key(key, e, path);
}
