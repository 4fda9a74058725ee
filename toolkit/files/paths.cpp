// Path expansion: quotes, "<<", environment and registry references.
//
// Expansion never fails on an unresolved reference: the reference stays
// as written. It fails only when the result does not fit the 260-byte
// limit (or the caller's smaller buffer), and then leaves an empty string
// rather than a cut path that would name some other file.
#include "toolkit/files/paths.h"

#include <cstring>
#include <string>

#include "toolkit/files/files_os.h"
#include "toolkit/files/registry.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/text/cp1252.h"

namespace {

bool follow_shortcuts = false;

// "%VAR%..." through the platform's environment expansion. A text that
// comes back unchanged named no variable: unresolved. The buffer holds the
// longest environment value there can be, so a value too long for a path
// is resolved (and the whole result then refused as too long), never
// mistaken for a missing one.
bool resolve_environment(const std::string &text, std::string &value)
{
    const int size = 32768 + FS_PATH_MAX;
    std::string out(size, '\0');
    if (fs_os.expand_env.current(text.c_str(), out.data(), size) != 0)
        return false;
    value.assign(out.c_str());
    return !value.empty() && value != text;
}

// A registry value of any length: one too long for a path makes the whole
// result too long (an error) instead of leaving the reference unresolved.
bool resolve_registry(const std::string &text, std::string &value)
{
    void *block = nullptr;
    int length = 0;
    if (reg_read_heap(text.c_str(), &block, &length) != nullptr || length <= 0) {
        heap_dispose(&block);
        return false;
    }
    value.assign(static_cast<const char *>(block), strnlen(static_cast<const char *>(block), length));
    heap_dispose(&block);
    return !value.empty();
}

bool resolve(const std::string &text, std::string &value)
{
    if (!text.empty() && text[0] == '%')
        return resolve_environment(text, value);
    return resolve_registry(text, value);
}

// No registry or environment reference is longer than this; retries stop
// there, so a long run of brackets cannot make expansion slow.
const size_t REFERENCE_MAX = 1024;

// The reference starting at s[at] == '<': tries each following '>' as its
// end. Returns the index after the '>' used, or 0 when none resolved.
size_t expand_reference(const std::string &s, size_t at, std::string &out)
{
    for (size_t end = s.find('>', at + 1); end != std::string::npos && end - at <= REFERENCE_MAX;
         end = s.find('>', end + 1)) {
        std::string value;
        if (resolve(s.substr(at + 1, end - at - 1), value)) {
            out += value;
            return end + 1;
        }
    }
    return 0;
}

std::string expand(const char *path)
{
    std::string s;
    for (const char *p = path; *p; p++)
        if (*p != '"')
            s += *p;
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '<') {
            out += s[i++];
        } else if (i + 1 < s.size() && s[i + 1] == '<') {
            out += '<';
            i += 2;
        } else {
            size_t next = expand_reference(s, i, out);
            if (next) {
                i = next;
            } else {
                out += '<';
                i++;
            }
        }
    }
    return out;
}

bool has_link_extension(const char *path)
{
    const char *dot = strrchr(fs_leaf(path), '.');
    return dot && cp_compare_nocase(dot + 1, "lnk") == 0;
}

}  // namespace

const error_block *fs_expand_path(const char *path, char *out, int size)
{
    if (size > FS_PATH_MAX)
        size = FS_PATH_MAX;
    std::string result = expand(path ? path : "");
    if (size <= 0)
        return make_error_text(30, "Path too long (fs_expand_path)");
    if (result.size() >= static_cast<size_t>(size)) {
        out[0] = 0;
        debug_log("path too long %.200s", result.c_str());
        return make_error_text(30, "Path too long (over %d bytes): %.160s...", size - 1,
                               result.c_str());
    }
    memcpy(out, result.c_str(), result.size() + 1);
    if (follow_shortcuts && has_link_extension(out)) {
        char target[FS_PATH_MAX];
        memcpy(target, out, result.size() + 1);
        if (fs_os.resolve_link.current(target, size) == 0)
            strcpy(out, target);
    }
    return nullptr;
}

void fs_set_follow_shortcuts(bool on) { follow_shortcuts = on; }

const error_block *fs_strcat(char *directory, int size, const char *leaf)
{
    size_t d = strlen(directory);
    bool separated = d > 0 && (directory[d - 1] == '\\' || directory[d - 1] == '/');
    size_t need = d + (separated ? 0 : 1) + strlen(leaf) + 1;
    if (size <= 0 || need > static_cast<size_t>(size))
        return make_error(30, "fs_strcat");   // the toolkit's "{EMAXSTRING}"
    if (!separated)
        directory[d++] = '\\';
    strcpy(directory + d, leaf);
    return nullptr;
}

const char *fs_leaf(const char *path)
{
    const char *leaf = path;
    for (const char *p = path; *p; p++)
        if (*p == '\\' || *p == '/')
            leaf = p + 1;
    return leaf;
}
