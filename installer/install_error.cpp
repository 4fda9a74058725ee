// Builds the one error record of the program. The system's message text
// comes from the platform file (error_win.cpp or error_posix.cpp).
#include "installer/install_error.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "installer/platform.h"

static install_error the_error;

const install_error *error_from_text(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(the_error.text, sizeof the_error.text, format, args);
    va_end(args);
    the_error.code = 0;
    return &the_error;
}

const install_error *error_from_code(long code, const char *operation, const char *detail)
{
    if (code == 0)
        return nullptr;
    char message[200];
    platform_error_message(code, message, sizeof message);
    if (detail)
        snprintf(the_error.text, sizeof the_error.text, "%s (%s) (%ld) (%s)", message, operation,
                 code, detail);
    else
        snprintf(the_error.text, sizeof the_error.text, "%s (%s) (%ld)", message, operation, code);
    the_error.code = static_cast<int32_t>(code);
    return &the_error;
}

const install_error *error_from_last(const char *operation, const char *detail)
{
    long code = platform_last_error();
    // A call that failed without setting a code still failed.
    return error_from_code(code ? code : -1, operation, detail);
}
