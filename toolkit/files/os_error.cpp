// The platform-call error record and the raw-call table's reset.
//
// A failing platform call becomes the second static error record: the
// platform's own text for the code, then the call's name, the code and a
// detail (usually the path) in brackets, cut at 252 bytes.
#include "toolkit/files/files_os.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"

const error_block *os_error(const char *call, int code, const char *detail_format, ...)
{
    error_block *e = os_error_record();
    char text[256];
    os_error_text(code, text, sizeof text);
    char detail[256] = "";
    if (detail_format) {
        va_list args;
        va_start(args, detail_format);
        vsnprintf(detail, sizeof detail, detail_format, args);
        va_end(args);
    }
    e->errnum = code;
    const char *gap = text[0] ? " " : "";
    char whole[1024];
    if (detail_format)
        snprintf(whole, sizeof whole, "%s%s(%s) (%d) (%s)", text, gap, call, code, detail);
    else
        snprintf(whole, sizeof whole, "%s%s(%s) (%d)", text, gap, call, code);
    size_t n = strnlen(whole, sizeof e->errmess - 1);   // cut at 252 bytes
    memcpy(e->errmess, whole, n);
    e->errmess[n] = 0;
    debug_log("os error %s", e->errmess);
    return e;
}

void fs_os_restore()
{
    fs_os_calls &t = fs_os;
    t.open.current = t.open.original;
    t.read.current = t.read.original;
    t.write.current = t.write.original;
    t.seek.current = t.seek.original;
    t.final_path.current = t.final_path.original;
    t.copy_attributes.current = t.copy_attributes.original;
    t.close.current = t.close.original;
    t.stat.current = t.stat.original;
    t.delete_file.current = t.delete_file.original;
    t.remove_directory.current = t.remove_directory.original;
    t.create_directory.current = t.create_directory.original;
    t.rename.current = t.rename.original;
    t.replace.current = t.replace.original;
    t.copy.current = t.copy.original;
    t.set_time.current = t.set_time.original;
    t.find_open.current = t.find_open.original;
    t.find_next.current = t.find_next.original;
    t.find_close.current = t.find_close.original;
    t.expand_env.current = t.expand_env.original;
    t.resolve_link.current = t.resolve_link.original;
    t.reg_open.current = t.reg_open.original;
    t.reg_query.current = t.reg_query.original;
    t.reg_set.current = t.reg_set.original;
    t.reg_delete_value.current = t.reg_delete_value.original;
    t.reg_delete_key.current = t.reg_delete_key.original;
    t.reg_enum.current = t.reg_enum.original;
    t.reg_close.current = t.reg_close.original;
    t.user_secret.current = t.user_secret.original;
}
