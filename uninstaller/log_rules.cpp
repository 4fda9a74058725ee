#include "uninstaller/log_rules.h"

#include <cstring>

#include "installer/registry_path.h"

static char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

static bool same(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

static bool starts_with(const std::string &text, const char *prefix)
{
    size_t n = strlen(prefix);
    return text.size() >= n && same(text.substr(0, n), prefix);
}

std::vector<log_item> parse_log(std::string text)
{
    for (char &c : text)
        if (static_cast<unsigned char>(c) < 32)
            c = 0;
    static const struct {
        const char *prefix;
        log_kind kind;
    } prefixes[] = {{"file:", log_file}, {"dir:", log_dir}, {"dirw:", log_dirw},
                    {"key:", log_key},   {"link:", log_link}, {nullptr, log_unknown}};
    std::vector<log_item> items;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\0', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        log_item item = {log_unknown, "", line};
        for (int i = 0; prefixes[i].prefix; i++) {
            if (starts_with(line, prefixes[i].prefix)) {
                item.kind = prefixes[i].kind;
                item.path = line.substr(strlen(prefixes[i].prefix));
                break;
            }
        }
        items.push_back(item);
    }
    return items;
}

std::string directory_of(const std::string &path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool path_contains(const std::string &path, const std::string &own_path)
{
    if (path.empty() || path.size() > own_path.size() || !same(path, own_path.substr(0, path.size())))
        return false;
    // "C:\Quill" does not contain "C:\Quillmere\Uninstall.exe".
    return path.size() == own_path.size() || own_path[path.size()] == '\\' || path.back() == '\\';
}

// A path with no "..", ".", empty or "/"-separated part after its start.
static bool plain_path(const std::string &p)
{
    if (p.find('/') != std::string::npos || p.size() < 3)
        return false;
    size_t start = p.compare(0, 2, "\\\\") == 0 ? 2 : 0;
    size_t i = start;
    while (i <= p.size()) {
        size_t end = p.find('\\', i);
        if (end == std::string::npos)
            end = p.size();
        std::string part = p.substr(i, end - i);
        if (part.empty() || part == "." || part == "..")
            return false;
        i = end + 1;
    }
    return true;
}

static bool under(const std::string &path, const std::string &dir)
{
    return !dir.empty() && path.size() > dir.size() + 1 && same(path.substr(0, dir.size()), dir) &&
           path[dir.size()] == '\\';
}

#define UNINSTALL "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmere"
#define APP_PATHS "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quillmere.exe"

static bool key_allowed(const std::string &path)
{
    registry_path p;
    if (!split_registry_path(path.c_str(), &p))
        return false;
    static const struct {
        registry_root root;
        const char *key;
        const char *values;  // "|"-separated value names; "" the key itself
    } keys[] = {
        {root_local_machine, APP_PATHS, "||Path|"},
        {root_local_machine, UNINSTALL,
         "||DisplayName|UninstallString|Contact|Publisher|HelpLink|URLInfoAbout|"},
        {root_local_machine, "Software\\Tarrantworks\\Quillmere", "||"},
        {root_classes, ".qlx", "||"},
        {root_classes, "Quillmere.Grid", "||"},
        {root_classes, "Quillmere.Grid\\DefaultIcon", "||"},
        {root_classes, "Quillmere.Grid\\shell", "||"},
        {root_classes, "Quillmere.Grid\\shell\\open", "||"},
        {root_classes, "Quillmere.Grid\\shell\\open\\command", "||"},
        {root_none, nullptr, nullptr},
    };
    for (int i = 0; keys[i].key; i++) {
        if (keys[i].root != p.root || !same(p.key, keys[i].key))
            continue;
        std::string values = keys[i].values;
        std::string name = "|" + std::string(p.value) + "|";
        for (size_t at = 0; (at = values.find('|', at)) != std::string::npos; at++) {
            size_t end = values.find('|', at + 1);
            if (end == std::string::npos)
                break;
            if (same(values.substr(at, end - at + 1), name))
                return true;
        }
    }
    return false;
}

bool log_item_allowed(const log_item &item, const log_places &places)
{
    if (item.kind == log_key)
        return key_allowed(item.path);
    const std::string &p = item.path;
    if (!plain_path(p) || !plain_path(places.install))
        return false;
    const std::string &d = places.install;
    switch (item.kind) {
    case log_file:
        for (const char *name : {"Quillmere.exe", "Quillmere.chm", "Uninstall.exe", "install.log"})
            if (same(p, d + "\\" + name))
                return true;
        return false;
    case log_dir:
        return same(p, d);
    case log_dirw:
        return same(p, d + "\\Choices") || same(p, d + "\\Default");
    case log_link:
        if (!same(p.substr(p.find_last_of('\\') + 1), "Quillmere.lnk"))
            return false;
        return same(p, places.desktop + "\\Quillmere.lnk") ||
               (under(p, places.programs) && p.size() > places.programs.size() + 15);
    default:
        return false;
    }
}
