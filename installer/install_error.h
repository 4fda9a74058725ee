// The error record of the installer and the uninstaller: a 32-bit code and
// a text. One static record per program; an operation returns a pointer to
// it on failure and a null pointer on success. Callers never free it.
#pragma once

#include <cstdint>

struct install_error {
    int32_t code;      // platform error code, or 0 for a literal text
    char text[252];    // what went wrong, NUL-terminated
};

// A literal text (printf format) with code 0.
const install_error *error_from_text(const char *format, ...)
    __attribute__((format(printf, 1, 2)));

// A failed platform call: code 0 means success (null). Otherwise the text is
// the system's message for the code followed by "(op) (code) (detail)", or
// "(op) (code)" when detail is null.
const install_error *error_from_code(long code, const char *operation, const char *detail);

// The calling thread's last platform error (GetLastError / errno) as above.
const install_error *error_from_last(const char *operation, const char *detail);
