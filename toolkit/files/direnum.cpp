// Directory enumeration: one search at a time.
//
// The search handle is a single program-wide value. Opening a new search
// while one is open abandons the old one (with a log line: callers are
// expected to finish one enumeration before starting the next).
#include <cstring>

#include "toolkit/files/fileops.h"
#include "toolkit/files/filetypes.h"
#include "toolkit/files/files_os.h"
#include "toolkit/files/paths.h"
#include "toolkit/messages/log.h"

namespace {

void *search = nullptr;    // the open platform search, null when none
bool searching = false;    // an enumeration is open (its search may be empty)

bool is_dot_entry(const char *name)
{
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

}  // namespace

const error_block *fs_dir_open(const char *directory, const char *pattern, bool scanning)
{
    if (searching) {
        debug_log(scanning ? "!!!!!! find handle overwrite in loadscan !!!!!"
                           : "!!!!!! find handle overwrite !!!!!");
        fs_dir_close();
    }
    char full[FS_PATH_MAX];
    const error_block *e = fs_expand_path(directory, full, sizeof full);
    if (e)
        return e;
    if (!pattern || !*pattern)
        pattern = "*";
    int code = fs_os.find_open.current(full, pattern, &search);
    if (code) {
        search = nullptr;
        return os_error(fs_os.find_open.name, code, "%s\\%s", full, pattern);
    }
    searching = true;
    return nullptr;
}

const error_block *fs_dir_next(fs_dir_entry *entry, int *done)
{
    *done = 0;
    memset(entry, 0, sizeof *entry);
    entry->info.file_type = -1;
    if (!searching) {
        *done = 1;
        return nullptr;
    }
    for (;;) {
        raw_stat st{};
        int found = 0;
        int code = search ? fs_os.find_next.current(search, entry->name, sizeof entry->name,
                                                    &st, &found)
                          : 0;
        if (code) {
            fs_dir_close();
            return os_error(fs_os.find_next.name, code, nullptr);
        }
        if (!found) {
            fs_dir_close();
            *done = 1;
            return nullptr;
        }
        if (is_dot_entry(entry->name))
            continue;
        entry->info.object_type = st.object_type;
        entry->info.length =
            st.length > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(st.length);
        entry->info.attributes = st.attributes;
        fs_info_stamp(&entry->info, filetype_of_name(entry->name), st.time);
        return nullptr;
    }
}

void fs_dir_close()
{
    if (search)
        fs_os.find_close.current(search);
    search = nullptr;
    searching = false;
}
