// The grid as a document: Save, Save As, Open, and the default grid.
#include "app/grid/grid_document.h"

#include <cstdio>
#include <cstring>

#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_file.h"
#include "app/grid/grid_hooks.h"
#include "toolkit/files/fileinfo.h"
#include "toolkit/files/files_os.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"

namespace {

const char program_directory[] =
    "<HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quillmere.exe\\Path>\\";

const error_block *check_name_length(const char *path)
{
    if (strlen(path) >= sizeof grid.grid_file_name)
        return make_error(30, "grid_file_name");
    return nullptr;
}

}  // namespace

const error_block *save_grid_to(const char *path)
{
    if (const error_block *e = check_name_length(path))
        return e;
    char name[grid_name_size];
    snprintf(name, sizeof name, "%s", path);   // the path may be grid_file_name itself
    if (const error_block *e = save_grid_file(name))
        return e;
    clear_modified();
    set_grid_file_name(name);
    return nullptr;
}

const error_block *save_grid()
{
    if (!grid.grid_file_name[0])
        return make_error0(ENOSAVE);
    return save_grid_to(grid.grid_file_name);
}

const error_block *open_grid_document(const char *path)
{
    if (const error_block *e = check_name_length(path))
        return e;
    char name[grid_name_size];
    snprintf(name, sizeof name, "%s", path);
    if (const error_block *e = load_grid_file(name))
        return e;
    clear_modified();
    set_grid_file_name(name);
    set_grid_type_light(grid.loaded_grid_type);
    return nullptr;
}

const error_block *default_grid_path(char *out, int size)
{
    char user[256];
    if (int code = grid_ui_login_name(user, sizeof user))
        return os_error("GetUserName", code, nullptr);
    if (snprintf(out, size, "%sDefault\\%s.qlx", program_directory, user) >= size)
        return make_error(30, "default_grid_path");
    return nullptr;
}

const error_block *load_default_grid()
{
    char path[512];
    if (const error_block *e = default_grid_path(path, sizeof path))
        return e;
    fs_info info{};
    bool loaded = !fs_file_info(path, &info) && info.object_type == FS_FILE;
    if (loaded) {
        if (const error_block *e = load_grid_file(path)) {
            debug_log("default grid: %s", e->errmess);
            loaded = false;
        }
    }
    if (loaded) {
        snapshot_defaults();
    } else {
        restore_defaults();
        update_square_size();
    }
    set_grid_type_light(grid.loaded_grid_type);
    return nullptr;
}

const error_block *save_default_grid()
{
    char path[512];
    if (const error_block *e = default_grid_path(path, sizeof path))
        return e;
    if (const error_block *e = save_grid_file(path))
        return e;
    snapshot_defaults();
    return nullptr;
}
