// The install steps of install.exe, shared by the wizard and the silent
// form. Each step returns the error record or null, and adds its log lines
// on success.
#pragma once

#include <cstdint>

#include "installer/install_error.h"

struct install_settings {
    char directory[261];      // install directory
    char group[261];          // Start-menu programs group
    uint32_t shortcut_flags;  // bit 0: a desktop shortcut too
};

extern install_settings settings;

enum : uint32_t { shortcut_desktop = 1 };

// The maker's texts stored under the uninstall key.
#define MAKER_NAME "Tarrantworks"
#define PRODUCT_NAME "Quillmere"

// Program files folder + "\Tarrantworks\Quillmere" (an error only when the
// shell's folder could not be read; out then holds the fallback path).
const install_error *default_install_directory(char out[261]);

// Every step in order, stopping at the first error.
const install_error *run_install_steps();

// The user's folder for special folder id (2 Start-menu programs, 16
// desktop), without a trailing "\".
const install_error *shell_folder(int id, char out[261]);
