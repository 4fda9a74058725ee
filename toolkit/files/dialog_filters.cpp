// The dialogues' filter lists and extension rules (portable, so that both
// builds test them; the dialogues themselves are in dialogs_win.cpp).
#include <cstdio>
#include <cstring>

#include "toolkit/files/dialogs.h"
#include "toolkit/files/filetypes.h"
#include "toolkit/files/paths.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/messages.h"
#include "toolkit/text/cp1252.h"

namespace {

const save_format_function *save_formats = nullptr;
int save_format_count = 0;

// Appends `text` and its NUL at *used, keeping room for the list's final
// NUL; false when it would not fit.
bool append(char *buffer, int size, int *used, const char *text)
{
    int n = static_cast<int>(strlen(text)) + 1;
    if (*used + n + 1 > size)
        return false;
    memcpy(buffer + *used, text, n);
    *used += n;
    return true;
}

void expanded_description(char *out, int size, const char *description)
{
    xzstrncpy(out, description ? description : "", size);
    expand_tokens(out, size);
}

const char *extension_or_any(int type)
{
    const char *ext = type == -1 ? nullptr : filetype_extension(type);
    return ext ? ext : "*";
}

}  // namespace

void fs_set_save_formats(const save_format_function *formats, int count)
{
    save_formats = formats;
    save_format_count = formats ? count : 0;
}

int fs_build_save_filter(char *buffer, int size, int type, int *types, int max_types,
                         int *selected)
{
    int used = 0, count = 0;
    *selected = 0;
    int offered = save_format_count > 0 ? save_format_count : 1;
    for (int i = 0; i < offered && count < max_types; i++) {
        const char *description = nullptr;
        int t = save_format_count > 0 ? save_formats[i](&description) : type;
        if (!description)
            description = filetype_description(t);
        char text[256], pattern[64];
        expanded_description(text, sizeof text, description);
        snprintf(pattern, sizeof pattern, "*.%s", extension_or_any(t));
        int mark = used;
        if (!append(buffer, size, &used, text) || !append(buffer, size, &used, pattern)) {
            used = mark;
            debug_log("savefilterbuffer overrun");
            break;
        }
        if (t == type)
            *selected = count;
        types[count++] = t;
    }
    buffer[used] = 0;
    return count;
}

bool fs_build_load_filter(char *buffer, int size, const load_filter_group *groups, int count)
{
    int used = 0;
    bool fitted = true;
    for (int g = 0; g < count && fitted; g++) {
        char text[256], patterns[256] = "";
        expanded_description(text, sizeof text, groups[g].description);
        for (int i = 0; i < groups[g].count; i++) {
            size_t n = strlen(patterns);
            snprintf(patterns + n, sizeof patterns - n, "*.%s;", extension_or_any(groups[g].types[i]));
        }
        int mark = used;
        if (!append(buffer, size, &used, text) || !append(buffer, size, &used, patterns)) {
            used = mark;
            fitted = false;
            debug_log("loadfilterbuffer overrun");
        }
    }
    buffer[used] = 0;
    return fitted;
}

const error_block *fs_set_extension(char *name, int size, const char *extension,
                                    bool keep_same)
{
    char *leaf = const_cast<char *>(fs_leaf(name));
    char *dot = strrchr(leaf, '.');
    if (dot && keep_same && cp_compare_nocase(dot + 1, extension) == 0)
        return nullptr;
    size_t stem = dot ? static_cast<size_t>(dot - name) : strlen(name);
    if (stem + 1 + strlen(extension) + 1 > static_cast<size_t>(size))
        return make_error_text(30, "Name too long for its buffer (%s)", "fs_set_extension");
    name[stem] = '.';
    strcpy(name + stem + 1, extension);
    return nullptr;
}
