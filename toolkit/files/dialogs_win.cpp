// The platform's save and open dialogues.
//
// The save dialogue offers one format (the caller's type) or the
// registered set; picking another format in the dialogue rewrites the leaf
// name's extension at once, and OK makes the chosen name's extension that
// of the format. Cancel is error 24 (save) or 26 (load), which the usual
// forms treat as success with nothing done.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstring>

#include "toolkit/files/dialogs.h"
#include "toolkit/files/filetypes.h"
#include "toolkit/files/files_os.h"
#include "toolkit/files/paths.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/messages.h"

namespace {

const int MAX_FORMATS = 16;

struct save_state {
    int types[MAX_FORMATS];   // file type of each filter entry, in order
    int count;
};

const char *extension_of(int type)
{
    const char *ext = filetype_extension(type);
    return ext ? ext : "dat";
}

// Explorer-style hook: on a change of format, the name field's extension
// follows the new format.
UINT_PTR CALLBACK save_hook(HWND dialog, UINT message, WPARAM, LPARAM lparam)
{
    if (message != WM_NOTIFY)
        return 0;
    const OFNOTIFYA *notify = reinterpret_cast<const OFNOTIFYA *>(lparam);
    if (notify->hdr.code != CDN_TYPECHANGE)
        return 0;
    const save_state *state = reinterpret_cast<const save_state *>(notify->lpOFN->lCustData);
    int index = static_cast<int>(notify->lpOFN->nFilterIndex) - 1;
    if (index < 0 || index >= state->count)
        return 0;
    HWND parent = GetParent(dialog);
    char name[MAX_PATH] = "";
    SendMessageA(parent, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(name));
    if (name[0] && !fs_set_extension(name, sizeof name, extension_of(state->types[index]), false))
        SendMessageA(parent, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(name));
    return 0;
}

// Splits a path into its directory (empty when none) and leaf.
void split_path(const char *path, char *directory, char *leaf)
{
    const char *l = fs_leaf(path);
    size_t n = static_cast<size_t>(l - path);
    memcpy(directory, path, n);
    directory[n] = 0;
    strcpy(leaf, l);
}

const error_block *run_save(char *path, int size, int type, save_function save)
{
    char filter[SAVE_FILTER_SIZE];
    save_state state{};
    int selected = 0;
    state.count = fs_build_save_filter(filter, sizeof filter, type, state.types, MAX_FORMATS,
                                       &selected);
    char directory[FS_PATH_MAX], file[FS_PATH_MAX];
    if (strlen(path) >= FS_PATH_MAX)
        return make_error_text(30, "Path too long (over %d bytes)", FS_PATH_MAX - 1);
    split_path(path, directory, file);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = selected + 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = directory[0] ? directory : nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLEHOOK;
    ofn.lpfnHook = save_hook;
    ofn.lCustData = reinterpret_cast<LPARAM>(&state);
    if (!GetSaveFileNameA(&ofn)) {
        DWORD code = CommDlgExtendedError();
        return code ? os_error("GetSaveFileName", static_cast<int>(code), nullptr)
                    : make_error0(24);
    }
    int index = static_cast<int>(ofn.nFilterIndex) - 1;
    int chosen = index >= 0 && index < state.count ? state.types[index] : type;
    const error_block *e = fs_set_extension(file, sizeof file, extension_of(chosen), true);
    if (!e)
        e = xzstrncpy(path, file, size);
    if (e)
        return e;
    return save ? save(path, chosen) : nullptr;
}

}  // namespace

const error_block *fs_save_dialogue_cancellable(char *path, int size, int type,
                                                save_function save)
{
    return run_save(path, size, type, save);
}

const error_block *fs_save_dialogue(char *path, int size, int type, save_function save)
{
    const error_block *e = run_save(path, size, type, save);
    return e && e->errnum == 24 ? nullptr : e;
}

const error_block *fs_load_dialogue(char *path, int size, const load_filter_group *groups,
                                    int count, load_function load, void *argument)
{
    char filter[LOAD_FILTER_SIZE];
    fs_build_load_filter(filter, sizeof filter, groups, count);
    char file[FS_PATH_MAX] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameA(&ofn)) {
        DWORD code = CommDlgExtendedError();
        return code ? os_error("GetOpenFileName", static_cast<int>(code), nullptr) : nullptr;
    }
    const error_block *e = xzstrncpy(path, file, size);
    if (e)
        return e;
    int type = filetype_of_name(path);
    return load ? load(path, type, argument) : fs_load_by_type(path, argument);
}
