// The install log kept as a singly linked list of heap lines. Lines are
// never freed before the program ends except by log_clear.
#include "installer/install_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "installer/platform.h"

log_entry *install_log;

void log_clear()
{
    while (install_log) {
        log_entry *next = install_log->next;
        free(install_log);
        install_log = next;
    }
}

void log_line(const char *format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text - 2, format, args);
    va_end(args);
    strcat(text, "\r\n");
    size_t n = strlen(text);
    log_entry *e = static_cast<log_entry *>(malloc(sizeof(log_entry) + n));
    if (!e)
        return;
    memcpy(e->text, text, n + 1);
    e->next = install_log;
    install_log = e;
}

const install_error *write_log(const char *directory, const char *file_name)
{
    log_line("file:%s\\%s", directory, file_name);
    char path[600];
    snprintf(path, sizeof path, "%s\\%s", directory, file_name);
    intptr_t file;
    if (const install_error *e = platform_create(path, &file))
        return e;
    const install_error *e = nullptr;
    for (log_entry *line = install_log; line && !e; line = line->next)
        e = platform_write(file, line->text, strlen(line->text), path);
    const install_error *closed = platform_close(file, path);
    return e ? e : closed;
}
