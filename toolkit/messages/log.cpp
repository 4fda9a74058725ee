// The debug log. Each line is formatted into 510 bytes (cut when longer)
// and ended by CR LF. Lines go to the file named by QUILLMERE_LOG, or to
// standard error when it is "-"; with no such variable they are dropped.
#include "toolkit/messages/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

FILE *sink = nullptr;
bool opened = false;

FILE *log_sink()
{
    if (!opened) {
        opened = true;
        const char *name = getenv("QUILLMERE_LOG");
        if (name && strcmp(name, "-") == 0)
            sink = stderr;
        else if (name && *name)
            sink = fopen(name, "ab");
    }
    return sink;
}

}  // namespace

void debug_log(const char *template_text, ...)
{
    FILE *f = log_sink();
    if (!f)
        return;
    char line[512];
    va_list args;
    va_start(args, template_text);
    int n = vsnprintf(line, 511, template_text, args);
    va_end(args);
    if (n < 0)
        n = 0;
    if (n > 510)
        n = 510;
    line[n] = 0;
    fprintf(f, "%s\r\n", line);
    fflush(f);
}
