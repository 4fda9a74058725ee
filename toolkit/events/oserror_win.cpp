// Errors for failing platform calls of the window layer: the file layer's
// platform-call record, with the thread's last error code.
#include <windows.h>
#include <cstdarg>
#include <cstdio>

#include "toolkit/events/internal_win.h"
#include "toolkit/files/files_os.h"

const error_block *win_error(const char *call, const char *detail_format, ...)
{
    int code = static_cast<int>(GetLastError());
    if (!detail_format)
        return os_error(call, code, nullptr);
    char detail[256];
    va_list args;
    va_start(args, detail_format);
    vsnprintf(detail, sizeof detail, detail_format, args);
    va_end(args);
    return os_error(call, code, "%s", detail);
}
