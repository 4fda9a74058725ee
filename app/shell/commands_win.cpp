// Command dispatch: every menu item, bar button and bar key reaching its
// operation, the rules that grey and tick menu items as a menu opens, and
// the commands that open windows directly (Open, About, Help).
#include <windows.h>
#include <cstdio>
#include <cstring>

#include "app/dictionary/dictionary_set.h"
#include "app/dictionary/spell_check.h"
#include "app/grid/app_errors.h"
#include "app/grid/clues.h"
#include "app/grid/editing.h"
#include "app/grid/grid.h"
#include "app/grid/grid_document.h"
#include "app/grid/grid_file.h"
#include "app/grid/grid_hooks.h"
#include "app/grid/grid_pane.h"
#include "app/grid/history.h"
#include "app/grid/picture.h"
#include "app/grid/picture_svg.h"
#include "app/grid/result_list.h"
#include "app/shell/choices.h"
#include "app/shell/shell.h"
#include "toolkit/events/events.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/window.h"
#include "toolkit/files/dialogs.h"
#include "toolkit/files/fileinfo.h"
#include "toolkit/files/paths.h"
#include "toolkit/files/registry.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/messages.h"

namespace {

const char help_file[] =
    "<HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quillmere.exe\\Path>"
    "\\Quillmere.chm>";
const char help_class_key[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

int last_of(const int *path)
{
    int n = 0;
    while (n < MENU_PATH_MAX && path[n] != -1)
        n++;
    return n > 0 ? path[n - 1] : -1;
}

int depth_of(const int *path)
{
    int n = 0;
    while (n < MENU_PATH_MAX && path[n] != -1)
        n++;
    return n;
}

// A command's error goes to the debug log before the toolkit shows it.
const error_block *logged(const error_block *e)
{
    if (e)
        debug_log("command error %x %s", (unsigned)e->errnum, e->errmess);
    return e;
}

bool dictionary_directory_exists()
{
    fs_info info{};
    return !fs_file_info(dictionary_directory(), &info) && info.object_type != FS_NOT_FOUND;
}

// Work that would be thrown away is not thrown away without asking.
bool may_discard_grid() { return confirm_quit() == 0; }

// ---------------------------------------------------------------------
// Saving.

int format_grid(const char **d) { *d = "Quillmere grid file (*.qlx)"; return grid_file_type; }
int format_emf(const char **d) { *d = "Enhanced metafile (*.emf)"; return 0x101; }
int format_wmf(const char **d) { *d = "Metafile (*.wmf)"; return 0x100; }
int format_placeable(const char **d) { *d = "Placeable metafile (*.wmf)"; return 0x102; }
int format_svg(const char **d) { *d = "SVG picture (*.svg)"; return 0xAAD; }
const save_format_function grid_formats[] = {format_grid, format_emf, format_wmf, format_placeable, format_svg};
const int grid_format_count = sizeof grid_formats / sizeof grid_formats[0];
int format_text(const char **d) { *d = "Text file (*.txt)"; return 0xFFF; }
const save_format_function clue_formats[] = {format_text};

const error_block *save_as_chosen(const char *path, int type)
{
    switch (type) {
    case grid_file_type: return save_grid_to(path);
    case 0x101: return save_enhanced_metafile(path);
    case 0x100: return save_metafile(path);
    case 0x102: return save_placeable_metafile(path);
    case 0xAAD: return save_svg_picture(path);
    }
    return make_error_text(ENOTTYPE, "{EPICTURE}");
}

// Only the text file type is written; other types are ignored.
const error_block *save_clues_chosen(const char *path, int type)
{
    return type == 0xFFF ? save_clues(path) : nullptr;
}

const error_block *save_grid_as()
{
    char path[FS_PATH_MAX];
    snprintf(path, sizeof path, "%s", grid.grid_file_name[0] ? grid.grid_file_name : "Grid");
    fs_set_save_formats(grid_formats, grid_format_count);
    const error_block *e = fs_save_dialogue(path, sizeof path, grid_file_type, save_as_chosen);
    fs_set_save_formats(nullptr, 0);
    return e;
}

const error_block *save_clues_as()
{
    char path[FS_PATH_MAX] = "Clues";
    fs_set_save_formats(clue_formats, 1);
    const error_block *e = fs_save_dialogue(path, sizeof path, 0xFFF, save_clues_chosen);
    fs_set_save_formats(nullptr, 0);
    return e;
}

const error_block *open_chosen(const char *path, int, void *) { return command_open_path(path); }

const error_block *open_dialog()
{
    if (!may_discard_grid())
        return nullptr;
    static const int types[] = {grid_file_type};
    const load_filter_group group = {"Quillmere grid files (*.qlx)", types, 1};
    char path[FS_PATH_MAX] = "";
    return fs_load_dialogue(path, sizeof path, &group, 1, open_chosen, nullptr);
}

// ---------------------------------------------------------------------
// The Create New Dictionary dialogue.
HWND newdict = nullptr;

const error_block *newdict_key(HWND w, void *, int, int *key);
const error_block *newdict_finish(bool ok)
{
    char name[256] = "";
    icon_get_text(newdict, 1030, name, sizeof name);
    EnableWindow(main_window, TRUE);
    deregister_key(newdict_key, newdict, nullptr);
    HWND w = newdict;
    newdict = nullptr;
    window_delete(w);
    SetForegroundWindow(main_window);
    return ok ? create_dictionary(name) : nullptr;
}

const error_block *newdict_key(HWND, void *, int, int *key)
{
    if (*key != 13 && *key != 27)
        return nullptr;
    bool ok = *key == 13;
    *key = -1;
    return newdict_finish(ok);
}

const error_block *newdict_close(HWND, void *)
{
    deregister_close(newdict_close, newdict, nullptr);
    return newdict_finish(false);
}

const error_block *open_newdict()
{
    if (newdict) {
        SetForegroundWindow(newdict);
        return nullptr;
    }
    const error_block *e = window_create(TEMPLATE_NEWDICT, nullptr, main_window, &newdict);
    if (!e)
        e = register_key(newdict_key, newdict, nullptr);
    if (!e)
        e = register_close(newdict_close, newdict, nullptr);
    if (!e)
        e = window_open_centred(newdict);
    if (e) {
        if (newdict)
            window_delete(newdict);
        newdict = nullptr;
        return e;
    }
    EnableWindow(main_window, FALSE);
    SetForegroundWindow(newdict);
    return caret_set(newdict, 1030, 0, 0);
}

const error_block *run_command(int id)
{
    switch (id) {
    case 40001:
        if (may_discard_grid())
            new_grid();
        return nullptr;
    case 40002: new_words(); return nullptr;
    case 40022: return open_dialog();
    case 40028: return command_save();
    case 40004: return save_grid_as();
    case 40005: return save_clues_as();
    case 40006:
        if (const error_block *e = save_default_grid())
            debug_log("save as default: %s", e->errmess);
        return nullptr;
    case 40007: return command_quit();
    case 40017: return command_spell_check();
    case 40020: return open_newdict();
    case 40030: return command_set_grid_type(0);
    case 40031: return command_set_grid_type(1);
    case 40008: return open_grid_size_dialog();
    case 40009: reflect_vertical(); return nullptr;
    case 40010: reflect_horizontal(); return nullptr;
    case 40023: reflect_diagonal_slash(); return nullptr;
    case 40011: reflect_diagonal_backslash(); return nullptr;
    case 40013: upper_case_command(); return nullptr;
    case 40014: lower_case_command(); return nullptr;
    case 40032: grid_pane_undo(); return nullptr;
    case 40033: grid_pane_redo(); return nullptr;
    case 40026: return open_customise_window(main_window);
    case 40027: return open_choices_window(main_window);
    case 40015: return command_help();
    case 40016: return info_window(main_window, 220, "(26-June-2012)", nullptr);
    }
    return nullptr;
}

}  // namespace

const error_block *command_open_path(const char *path)
{
    const error_block *e = open_grid_document(path);
    layout_now();
    return e;
}

const error_block *command_save() { return save_grid(); }

const error_block *command_quit()
{
    // An open Spell Check window closes first, with its question about
    // changed dictionaries (which saves or reverts them, so the question
    // about dictionaries below is not asked again); if it cannot close, the
    // program stays. Then the grid, then edits left unsaved in memory.
    if (spell_check_window())
        if (const error_block *e = close_spell_check())
            return e;
    if (confirm_quit() == 0 && confirm_quit_dictionaries() == 0)
        task_quit(0);
    return nullptr;
}

const error_block *command_set_grid_type(int type)
{
    if (type == grid.grid_type || !may_discard_grid())
        return nullptr;
    set_grid_type(type);
    pane_refresh();
    return nullptr;
}

const error_block *command_help()
{
    char path[FS_PATH_MAX];
    if (const error_block *e = fs_expand_path(help_file, path, sizeof path))
        return e;
    char library[FS_PATH_MAX] = "";
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, help_class_key, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD size = sizeof library - 1, type = 0;
        if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(library), &size) !=
            ERROR_SUCCESS)
            library[0] = 0;
        library[sizeof library - 1] = 0;
        RegCloseKey(key);
    }
    HMODULE viewer = library[0] ? LoadLibraryA(library) : nullptr;
    if (!viewer)
        viewer = LoadLibraryA("hhctrl.ocx");
    if (!viewer)
        return nullptr;
    typedef HWND(WINAPI * html_help)(HWND, LPCSTR, UINT, DWORD_PTR);
    auto show = reinterpret_cast<html_help>(GetProcAddress(viewer, MAKEINTRESOURCEA(14)));
    if (show)
        show(main_window, path, 0, 0);
    return nullptr;
}

const error_block *menu_select(const int *path, HWND)
{
    if (depth_of(path) >= 3 && path[0] == 1)
        return logged(dictionary_menu_choice(path));
    return logged(run_command(last_of(path)));
}

const error_block *menu_preopen(const int *path, HMENU, HWND)
{
    int depth = depth_of(path);
    if (depth == 1) {
        switch (path[0]) {
        case 0:
            menu_grey(MENU_FILE, 40028, grid.grid_file_name[0] != 0);
            break;
        case 1: {
            bool exists = dictionary_directory_exists();
            menu_grey(MENU_WORDS, 40017, exists && grid.grid_type == 0);
            menu_grey(MENU_WORDS, 40020, exists);
            dictionary_menu_tick(-1);
            break;
        }
        case 2: {
            static const int reflections[] = {40009, 40010, 40023, 40011};
            for (int id : reflections)
                menu_grey(MENU_REFLECT, id, grid.grid_type == 0);
            menu_tick(MENU_GRID, 40013, (grid.case_mode & 1) != 0);
            menu_tick(MENU_GRID, 40014, (grid.case_mode & 2) != 0);
            menu_grey(MENU_GRID, 40032, history_can_undo());
            menu_grey(MENU_GRID, 40033, history_can_redo());
            menu_tick(MENU_GRIDTYPE, 40030, grid.grid_type == 0);
            menu_tick(MENU_GRIDTYPE, 40031, grid.grid_type == 1);
            break;
        }
        }
    } else if (depth == 2 && path[0] == 1) {
        dictionary_menu_tick(path[1]);
    }
    return nullptr;
}

namespace {

const error_block *bar_command(int icon)
{
    switch (icon) {
    case BAR_SOLVE: return start_solve();
    case BAR_ANAGRAM: return start_anagram();
    case BAR_NEW: return start_wordsquare_new();
    case BAR_DELETE: return list_delete_selected();
    case BAR_STOP: set_stop_from_button(); return nullptr;
    case BAR_MAKE: return start_wordsquare_make();
    case BAR_WORDSQUARE_SOLVE: return start_wordsquare_solve();
    }
    return nullptr;
}

}  // namespace

const error_block *bar_click(HWND, void *, mouse_block *mouse) { return logged(bar_command(mouse->icon)); }

const error_block *bar_key(HWND, void *, int caret_icon, int *key)
{
    if (*key == 13 && caret_icon == BAR_ANAGRAM_TEXT) {
        *key = -1;
        return logged(start_anagram());
    }
    if (*key == 13 && caret_icon == BAR_WORD) {
        *key = -1;
        return logged(list_add_typed_word());
    }
    if (*key == 27 && job_running()) {
        *key = -1;
        set_stop();
    }
    return nullptr;
}
