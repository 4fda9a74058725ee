// The install log: every line that an install step adds, newest first, each
// ended by CR LF, written to install.log in the install directory for the
// uninstaller. Line forms: "file:", "dir:", "dirw:", "key:", "link:".
#pragma once

#include "installer/install_error.h"

struct log_entry {
    log_entry *next;  // the line written before this one
    char text[1];     // the line with CR LF, NUL-terminated (allocated longer)
};

extern log_entry *install_log;  // newest line first

void log_clear();
// Formats a line, appends CR LF and pushes it on the front of the log.
void log_line(const char *format, ...) __attribute__((format(printf, 1, 2)));
// Pushes "file:DIR\NAME" for the log itself, then writes every line in list
// order to DIR\NAME (an existing file is truncated).
const install_error *write_log(const char *directory, const char *file_name);
