// The installer's package: a ZIP archive read in place (nothing copied).
// Portable: the Windows build attaches its PACKAGE resource
// (package_win.cpp), tests and the fuzzer attach bytes of their own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "installer/install_error.h"

struct package_archive {
    const unsigned char *base;     // first byte of the archive
    const unsigned char *end;      // one past its last byte
    const unsigned char *central;  // first central directory entry
};

extern package_archive the_package;

// Reads the installer's own PACKAGE resource (Windows only).
const install_error *open_package();

// Attaches size bytes at data as the package and finds its end record (the
// signature nearest the end) and central directory.
const install_error *package_attach(const void *data, size_t size);

// Walks the central directory from start (the first entry when null) and
// returns the local header of the first entry whose name matches, or null.
// Names match without regard to ASCII case with "/" taken as "\", and a
// searched name that is a leading part of an entry's name matches it; a
// null name matches the first entry. name_buffer (size bytes) receives the
// entry's name with "/" turned into "\"; next the entry after the match.
const unsigned char *find_member(const char *name, const unsigned char *start,
                                 char *name_buffer, size_t buffer_size,
                                 const unsigned char **next);

// Writes the member called name to directory + "\" + name, stamped with the
// member's time. A missing member, a damaged header or lying sizes are
// errors; a partly written file stays.
const install_error *extract_member(const char *name, const char *directory);

// The data and size of a stored member, for text shown as it is. False
// when the member is missing, damaged or not stored.
bool member_text(const char *name, const char **text, uint32_t *size);

// True for a member name that stays inside the directory it is written to:
// relative, no drive, no "." or ".." component, no empty component.
bool member_name_safe(const char *name);

// Creates every missing directory along path ("\" or "/" separated).
const install_error *create_path(const char *path);
