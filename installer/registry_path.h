// The registry path syntax shared by the installer and the uninstaller:
// ROOT\KEY\VALUE, where ROOT is a long or short root name in any case
// ("HKEY_LOCAL_MACHINE" or "HKLM", ...), KEY the text between the first and
// the last "\" and VALUE the text after the last "\". A path ending in "\"
// names the key itself (VALUE empty: the key's default value).
#pragma once

#include <cstddef>

enum registry_root {
    root_none = -1,
    root_classes,       // HKEY_CLASSES_ROOT, HKCR
    root_current_user,  // HKEY_CURRENT_USER, HKCU
    root_local_machine, // HKEY_LOCAL_MACHINE, HKLM
    root_users,         // HKEY_USERS, HKU
    root_current_config // HKEY_CURRENT_CONFIG, HKCC
};

struct registry_path {
    registry_root root;  // root_none for an unknown root name
    char key[261];       // between the first and the last "\"
    char value[261];     // after the last "\"; empty when the path names the key
    bool names_key;      // the path ends in "\"
};

// False for a path without "\" or with a part too long to hold; an
// unknown root gives true with root_none.
bool split_registry_path(const char *path, registry_path *out);
