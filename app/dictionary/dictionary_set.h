// The dictionary set: up to 32 slots, one per .dic file of the dictionary
// directory, and the document's list of the slots it uses.
//
// Slots are numbered 0-31 in byte order of their names; a slot's number is
// what solution codes carry and what the Dictionary menu uses (item id 256
// + number). The document list holds slot numbers in ascending order; each
// appearance in it counts in the slot's `uses`. A slot is loaded while the
// document uses it, or while it is edited; a slot with unsaved changes
// (`changed`) is never unloaded, so its edits cannot be lost that way.
#pragma once
#include <cstdint>

#include "app/dictionary/dictionary.h"

struct error_block;
struct grid_dictionary_name;

const int DICTIONARY_SLOTS = 32;
const int DICTIONARY_NAME_SIZE = 32;       // a slot's name field, terminator included
const int DICTIONARY_NAME_KEPT = 12;       // bytes of a name that the grid file keeps
const int DICTIONARY_MENU_BASE = 256;      // menu item id of slot 0
const int EDNAME = 534;                    // a name that cannot be a dictionary's

extern const char *const default_dictionary_names[];   // ended by null

struct DictionarySlot {
    char name[DICTIONARY_NAME_SIZE];   // leafname without ".dic"
    Dictionary dictionary;             // empty unless loaded
    uint8_t uses;                      // appearances in the document list
    uint8_t loaded;                    // dictionary holds the file's contents
    uint8_t changed;                   // edits not yet saved
};

struct DictionarySet {
    DictionarySlot slots[DICTIONARY_SLOTS];
    int count;                         // slots in use, 0-32
};
extern DictionarySet dictionary_set;

struct DocumentList {
    int count;                         // 0-32
    int slots[DICTIONARY_SLOTS];       // ascending slot numbers
};
extern DocumentList document_list;

// What the shell provides; every field may be null (nothing happens).
// (toggle_in_document marks the grid modified through the grid's own hooks.)
struct DictionarySetHooks {
    void (*menus_changed)();                        // after discovery, create, delete
    const error_block *(*open_edit_window)(int slot);  // edit_slot, once loaded
};
void dictionary_set_hooks(const DictionarySetHooks *hooks);

// The dictionary directory: the registry reference by default; tests and
// quill may name another (null restores the default).
const char *dictionary_directory();
void set_dictionary_directory(const char *directory);

const error_block *discover_dictionaries();
int find_slot(const char *name);                   // ignoring case; -1 when absent
const error_block *load_slot(int slot);
void unload_slot(int slot);                        // kept when changed
const error_block *document_list_add(int slot);   // EMDC when full
void document_list_remove(int slot);
bool document_list_contains(int slot);
const error_block *toggle_in_document(int slot);
const error_block *edit_slot(int slot);
const error_block *create_dictionary(const char *name);
const error_block *delete_dictionary(int slot);
const error_block *ensure_dictionary();            // ENOD when none could be attached
void load_document_dictionaries();
void release_document_list();

// The grid file's list: the names of the document list, and taking a list
// read from a file. Installed into the grid file by
// dictionary_set_install_grid_hooks.
int write_document_list(grid_dictionary_name *names, int max);
void read_document_list(const grid_dictionary_name *names, int count);
void dictionary_set_install_grid_hooks();

// Frees every slot and empties the table and the document list.
void dictionary_set_clear();

// Change tracking.
void mark_slot_changed(int slot);
const error_block *save_changed_dictionaries();
void revert_changed_dictionaries();
int any_dictionary_changed();
