// The slot table: discovery, loading and unloading, creating and deleting
// dictionary files.
#include "app/dictionary/dictionary_set.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/dictionary/search_index.h"
#include "app/dictionary/store_internal.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "toolkit/files/files.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/messages/messages.h"
#include "toolkit/text/cp1252.h"

DictionarySet dictionary_set;

const char *const default_dictionary_names[] = {"MainDict", "MainDict-UK", "MainDict-US",
                                                "Puzzle-UK", "Puzzle-US", nullptr};

namespace {

const char kDefaultDirectory[] = "<HKEY_LOCAL_MACHINE\\Software\\Tarrantworks\\Dictionaries\\>";
char directory_override[FS_PATH_MAX];
DictionarySetHooks hooks;

void menus_changed()
{
    if (hooks.menus_changed)
        hooks.menus_changed();
}

DictionarySlot &slot_at(int slot) { return dictionary_set.slots[slot]; }

bool valid_slot(int slot) { return slot >= 0 && slot < dictionary_set.count; }

void init_slot(DictionarySlot &s, const char *name)
{
    memset(&s, 0, sizeof s);
    strncpy(s.name, name, DICTIONARY_NAME_SIZE - 1);
}

// Whether "%s\%s.dic" names an existing file.
bool reachable_file(const char *directory, const char *name)
{
    char path[FS_PATH_MAX];
    fs_info info;
    return !dictionary_path(directory, name, path) && !fs_file_info(path, &info) && info.object_type == FS_FILE;
}

// Whether any .dic file of the directory has this name, ignoring case
// (also a file the table does not hold: the 33rd, or one copied in later).
bool dictionary_file_exists(const char *directory, const char *name)
{
    if (reachable_file(directory, name))
        return true;
    bool exists = false;
    if (fs_dir_open(directory, "*.dic"))
        return false;
    fs_dir_entry entry;
    int done = 0;
    while (!exists && !fs_dir_next(&entry, &done) && !done) {
        std::string leaf = entry.name;
        leaf = leaf.substr(0, leaf.rfind('.'));
        exists = cp_compare_nocase(leaf.c_str(), name) == 0;
    }
    fs_dir_close();
    return exists;
}

// Names that Windows keeps for devices, with or without an extension: a
// file of that name cannot be created there.
bool device_name(const char *name)
{
    std::string stem = name;
    stem = stem.substr(0, stem.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    for (const char *device : {"CON", "NUL", "AUX", "PRN"})
        if (cp_compare_nocase(stem.c_str(), device) == 0)
            return true;
    if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9')
        return false;
    std::string head = stem.substr(0, 3);
    return cp_compare_nocase(head.c_str(), "COM") == 0 || cp_compare_nocase(head.c_str(), "LPT") == 0;
}

// The leafnames of the directory's .dic files, without the extension, in
// byte order; names too long for a slot are left out.
std::vector<std::string> dictionary_files(const char *directory)
{
    std::vector<std::string> names, found;
    if (fs_dir_open(directory, "*.dic"))
        return names;
    fs_dir_entry entry;
    int done = 0;
    while (!fs_dir_next(&entry, &done) && !done) {
        if (entry.info.object_type != FS_FILE)
            continue;
        debug_log("name %s", entry.name);
        std::string name = entry.name;
        name = name.substr(0, name.rfind('.'));
        if (name.empty() || name.size() >= DICTIONARY_NAME_SIZE) {
            debug_log("dictionary name too long: %s", entry.name);
            continue;
        }
        names.push_back(name);
        found.push_back(entry.name);
    }
    fs_dir_close();
    // The pattern matches "X.DIC" too, but a slot's file is always
    // "X.dic": where file names keep case apart that is another name, which
    // could be neither loaded nor deleted. Offer only what the slot reaches.
    std::vector<std::string> reachable;
    for (size_t i = 0; i < names.size(); i++) {
        if (reachable_file(directory, names[i].c_str()))
            reachable.push_back(names[i]);
        else
            debug_log("not a .dic name: %s", found[i].c_str());
    }
    std::sort(reachable.begin(), reachable.end());
    return reachable;
}

// A name must be usable as a leafname and survive in the grid file.
bool acceptable_name(const char *name)
{
    size_t n = strlen(name);
    if (n == 0 || n > DICTIONARY_NAME_KEPT || name[0] == '.' || name[0] == ' ' || name[n - 1] == ' ' ||
        name[n - 1] == '.' || device_name(name))
        return false;
    for (const char *p = name; *p; p++)
        if (static_cast<unsigned char>(*p) < 32 || strchr("\\/:*?\"<>|", *p))
            return false;
    return true;
}

void remove_slot(int slot)
{
    // Every appearance in the document list goes; later slots move down.
    int kept = 0;
    for (int i = 0; i < document_list.count; i++) {
        int s = document_list.slots[i];
        if (s != slot)
            document_list.slots[kept++] = s > slot ? s - 1 : s;
    }
    document_list.count = kept;
    clear_dictionary(&slot_at(slot).dictionary);
    memmove(&slot_at(slot), &slot_at(slot + 1),
            sizeof(DictionarySlot) * (dictionary_set.count - slot - 1));
    dictionary_set.count--;
    memset(&slot_at(dictionary_set.count), 0, sizeof(DictionarySlot));
}

// A changed slot whose file could not be read holds only the edits made to
// its empty stand-in; showing, searching or saving that alone would lose
// the file's own words. Read the file now and add the edits to its words
// one by one (a word that cannot be stored beside them is left out, never
// a word of the file); or, while the file still cannot be read, leave the
// slot as it is and give the reading error.
const error_block *merge_unread_slot(DictionarySlot &s)
{
    Dictionary file{};
    const error_block *e = load_dictionary(&file, dictionary_directory(), s.name);
    WordCursor cursor;
    if (!e && word_at(&s.dictionary, 0, &cursor)) {
        do
            e = add_word(&file, cursor.text);
        while (!e && next_word(&s.dictionary, &cursor));
    }
    if (e) {
        clear_dictionary(&file);
        return e;
    }
    clear_dictionary(&s.dictionary);
    s.dictionary = file;
    s.loaded = 1;
    search_forget_tables();
    return nullptr;
}

}  // namespace

void dictionary_set_hooks(const DictionarySetHooks *given) { hooks = given ? *given : DictionarySetHooks{}; }

const char *dictionary_directory() { return directory_override[0] ? directory_override : kDefaultDirectory; }

void set_dictionary_directory(const char *directory)
{
    directory_override[0] = 0;
    if (directory)
        xzstrncpy(directory_override, directory, sizeof directory_override);
}

void dictionary_set_clear()
{
    for (int i = 0; i < DICTIONARY_SLOTS; i++)
        clear_dictionary(&slot_at(i).dictionary);
    memset(&dictionary_set, 0, sizeof dictionary_set);
    memset(&document_list, 0, sizeof document_list);
}

const error_block *discover_dictionaries()
{
    debug_log("dic dir %s", dictionary_directory());
    dictionary_set_clear();
    for (const std::string &name : dictionary_files(dictionary_directory())) {
        if (dictionary_set.count == DICTIONARY_SLOTS)
            break;
        init_slot(slot_at(dictionary_set.count++), name.c_str());
    }
    menus_changed();
    return nullptr;
}

int find_slot(const char *name)
{
    for (int i = 0; i < dictionary_set.count; i++)
        if (cp_compare_nocase(slot_at(i).name, name) == 0)
            return i;
    return -1;
}

const error_block *load_slot(int slot)
{
    if (!valid_slot(slot))
        return nullptr;
    DictionarySlot &s = slot_at(slot);
    if (s.changed)   // the edits in memory are newer than the file
        return s.loaded ? nullptr : merge_unread_slot(s);
    const error_block *e = load_dictionary(&s.dictionary, dictionary_directory(), s.name);
    s.loaded = e ? 0 : 1;
    return e;
}

void unload_slot(int slot)
{
    if (!valid_slot(slot))
        return;
    DictionarySlot &s = slot_at(slot);
    if (s.changed) {
        debug_log("keep changed %s", s.name);
        return;
    }
    clear_dictionary(&s.dictionary);
    s.loaded = 0;
}

const error_block *edit_slot(int slot)
{
    if (!valid_slot(slot))
        return nullptr;
    if (!slot_at(slot).loaded)
        if (const error_block *e = load_slot(slot))
            return e;
    return hooks.open_edit_window ? hooks.open_edit_window(slot) : nullptr;
}

const error_block *create_dictionary(const char *name)
{
    if (!acceptable_name(name))
        return make_error_text(EDNAME, "Dictionary names have 1 to 12 characters, none of \\ / : * ? \" < > |, "
                                       "and are not device names (CON, NUL, AUX, PRN, COM1-9, LPT1-9).");
    if (dictionary_set.count == DICTIONARY_SLOTS)
        return make_error0(ENUD);
    if (find_slot(name) >= 0 || dictionary_file_exists(dictionary_directory(), name))
        return make_error0(EDAX);   // never replace a file, listed or not
    int at = 0;
    while (at < dictionary_set.count && strcmp(slot_at(at).name, name) <= 0)
        at++;
    memmove(&slot_at(at + 1), &slot_at(at), sizeof(DictionarySlot) * (dictionary_set.count - at));
    dictionary_set.count++;
    for (int i = 0; i < document_list.count; i++)
        if (document_list.slots[i] >= at)
            document_list.slots[i]++;
    DictionarySlot &s = slot_at(at);
    init_slot(s, name);
    s.loaded = 1;
    init_dictionary(&s.dictionary);
    const error_block *e = save_dictionary(&s.dictionary, dictionary_directory(), name);
    if (e) {
        // The save left no file (it writes a temporary file first), so the
        // slot simply goes again.
        remove_slot(at);
    }
    menus_changed();
    return e;
}

const error_block *delete_dictionary(int slot)
{
    if (!valid_slot(slot))
        return nullptr;
    char path[FS_PATH_MAX];
    const error_block *e = dictionary_path(dictionary_directory(), slot_at(slot).name, path);
    if (!e)
        e = fs_delete(path);
    if (e)
        return e;
    stamp_forget(path);
    // The grid file still names a listed dictionary: the grid has changed.
    bool listed = document_list_contains(slot);
    remove_slot(slot);
    if (listed)
        mark_modified();
    menus_changed();
    return nullptr;
}

void mark_slot_changed(int slot)
{
    if (valid_slot(slot))
        slot_at(slot).changed = 1;
    search_forget_tables();   // the searches' precomputed tables are stale now
}

const error_block *save_changed_dictionaries()
{
    const error_block *first = nullptr;
    for (int i = 0; i < dictionary_set.count; i++) {
        DictionarySlot &s = slot_at(i);
        if (!s.changed)
            continue;
        debug_log("savechanges");
        // A slot that fails to save keeps its flag, so its edits stay.
        const error_block *e = s.loaded ? nullptr : merge_unread_slot(s);
        if (!e)
            e = save_dictionary(&s.dictionary, dictionary_directory(), s.name);
        if (e) {
            first = first ? first : e;
            continue;
        }
        s.changed = 0;
    }
    return first;
}

void revert_changed_dictionaries()
{
    for (int i = 0; i < dictionary_set.count; i++) {
        DictionarySlot &s = slot_at(i);
        if (!s.changed)
            continue;
        s.changed = 0;
        clear_dictionary(&s.dictionary);
        load_slot(i);
    }
}

int any_dictionary_changed()
{
    for (int i = 0; i < dictionary_set.count; i++) {
        debug_log("changes %d", slot_at(i).changed);
        if (slot_at(i).changed)
            return 1;
    }
    return 0;
}
