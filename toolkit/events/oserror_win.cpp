// Errors for failing platform calls, built in the toolkit's second static
// error record.
#include <windows.h>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "toolkit/events/internal_win.h"
#include "toolkit/messages/error.h"

const error_block *win_error(const char *call, const char *detail_format, ...)
{
    DWORD code = GetLastError();
    error_block *e = os_error_record();
    e->errnum = static_cast<int32_t>(code);
    char text[200] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                   sizeof text, nullptr);
    for (char *p = text; *p; p++)
        if (*p == '\r' || *p == '\n')
            *p = 0;
    char detail[256] = "";
    if (detail_format) {
        va_list args;
        va_start(args, detail_format);
        vsnprintf(detail, sizeof detail, detail_format, args);
        va_end(args);
        snprintf(e->errmess, sizeof e->errmess, "%s(%s) (%d) (%s)", text, call, (int)code, detail);
    } else {
        snprintf(e->errmess, sizeof e->errmess, "%s(%s) (%d)", text, call, (int)code);
    }
    return e;
}
