#include "installer/registry_path.h"

#include <cstring>

static const struct {
    const char *long_name, *short_name;
    registry_root root;
} roots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", root_classes},
    {"HKEY_CURRENT_USER", "HKCU", root_current_user},
    {"HKEY_LOCAL_MACHINE", "HKLM", root_local_machine},
    {"HKEY_USERS", "HKU", root_users},
    {"HKEY_CURRENT_CONFIG", "HKCC", root_current_config},
    {nullptr, nullptr, root_none},
};

// ASCII letters compared without regard to case, for exactly n bytes.
static bool same_name(const char *a, const char *b, size_t n)
{
    if (strlen(b) != n)
        return false;
    for (size_t i = 0; i < n; i++) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        if (x != b[i])
            return false;
    }
    return true;
}

bool split_registry_path(const char *path, registry_path *out)
{
    const char *first = strchr(path, '\\');
    if (!first)
        return false;
    const char *last = strrchr(path, '\\');
    size_t root_length = static_cast<size_t>(first - path);
    size_t key_length = last > first ? static_cast<size_t>(last - first - 1) : 0;
    size_t value_length = strlen(last + 1);
    if (key_length >= sizeof out->key || value_length >= sizeof out->value)
        return false;
    out->root = root_none;
    for (int i = 0; roots[i].long_name; i++) {
        if (same_name(path, roots[i].long_name, root_length) ||
            same_name(path, roots[i].short_name, root_length))
            out->root = roots[i].root;
    }
    memcpy(out->key, first + 1, key_length);
    out->key[key_length] = 0;
    memcpy(out->value, last + 1, value_length + 1);
    out->names_key = value_length == 0;
    return true;
}
