// What the uninstaller reads from an install log, and which of its lines it
// may act on. Portable: tested natively.
//
// The log is cut into lines at every byte below 32 (so LF and CR LF logs
// read the same); each line starts with one of the prefixes "file:",
// "dir:", "dirw:", "key:", "link:" in any case. A damaged or edited log must
// never make the uninstaller delete the user's files, so a line is acted on
// only when it names something that the installer writes:
//   file:  INSTALL\Quillmere.exe, Quillmere.chm, Uninstall.exe, install.log
//   dir:   INSTALL itself           dirw: INSTALL\Choices, INSTALL\Default
//   link:  PROGRAMS\...\Quillmere.lnk or DESKTOP\Quillmere.lnk
//   key:   the installer's own registry keys and values
// where INSTALL is the directory that holds the log.
#pragma once

#include <string>
#include <vector>

enum log_kind { log_file, log_dir, log_dirw, log_key, log_link, log_unknown };

struct log_item {
    log_kind kind;
    std::string path;  // the rest of the line after its prefix
    std::string line;  // the whole line, for reports
};

// The lines of a log in file order, empty ones skipped, unknown ones kept
// with log_unknown.
std::vector<log_item> parse_log(std::string text);

struct log_places {
    std::string install;   // directory holding the log
    std::string programs;  // the user's Start-menu programs folder
    std::string desktop;   // the user's desktop folder
};

// True when the uninstaller may remove what the item names.
bool log_item_allowed(const log_item &item, const log_places &places);

// The directory part of a path ("C:\a\b\install.log" gives "C:\a\b").
std::string directory_of(const std::string &path);

// True when path, compared without regard to ASCII case, is own_path or a
// directory that contains it.
bool path_contains(const std::string &path, const std::string &own_path);
