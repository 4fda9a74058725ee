// Menus: tables of menu records addressed by tag, built from menu
// resources, as submenus of other menus or at run time. Entries are
// numbered from 0 without the separators; a choice reaches the root
// menu's selection handler as a path of entry numbers ended by the
// command number and -1.
#pragma once
#include <cstdint>

#include "toolkit/events/handles.h"

struct error_block;

typedef const error_block *(*menu_select_handler)(const int *path, HWND window);
typedef const error_block *(*menu_preopen_handler)(const int *path, HMENU menu, HWND window);

struct menu_record {
    int32_t tag;             // -1 ends a table
    const char *resource;    // menu resource name, or null
    HMENU handle;            // filled at registration or when built
    intptr_t word1;          // the application's own
    uint32_t separators;     // bit n: platform position n is a separator
    int32_t parent;          // tag of the menu holding this one, or 0
    int32_t position;        // entry number in the parent; the entry opened through
    intptr_t word2;          // the application's own
    menu_select_handler select;
    menu_preopen_handler preopen;
};

struct menu_link {
    menu_link *next;
    menu_record *table;
};

const int MENU_PATH_MAX = 16;

// Registers a table: resource records load their menu, submenu records take
// the submenu at their position in the parent (which must come earlier).
const error_block *menu_register(menu_record *table, menu_link *link);
void menu_clear_tables();
menu_record *menu_find(int tag);
menu_record *menu_find_handle(HMENU handle);

// Run-time menus: an empty pop-up menu (bar 0) or menu bar (bar 1).
const error_block *menu_build(int tag, int bar, menu_select_handler select, menu_preopen_handler preopen);
void menu_set_handlers(int tag, menu_select_handler select, menu_preopen_handler preopen);
void menu_set_word(int tag, int which, intptr_t value);

// Entry flags for menu_add.
enum : int { MENU_TICKED = 1, MENU_SEPARATOR_AFTER = 2, MENU_GREYED = 16 };
const error_block *menu_add(int tag, const char *text, int flags, int command);
const error_block *menu_remove_all(int tag);
const error_block *menu_attach(int tag, int parent_tag, int entry);

const error_block *menu_tick(int tag, int command, int on);
const error_block *menu_grey(int tag, int command, int enabled);
// Sets the text only when it differs; *changed says whether it did.
const error_block *menu_set_text(int tag, int entry, const char *text, int *changed);
// Reads an entry's text and state (1 ticked, 16 greyed).
const error_block *menu_get_text(int tag, int entry, char *buffer, int size, int *state);

const error_block *menu_popup(HWND window, int tag);
const error_block *menu_set_bar(HWND window, int tag);
const error_block *menu_remove_bar(HWND window);
void menu_destroy_all();

// Entry numbers and platform positions.
int menu_position_of(const menu_record *menu, int entry);
int menu_entry_of(const menu_record *menu, int position);
// The current menu's tag (the menu that opened, is highlighted or popped up).
int menu_current();
void menu_set_current(int tag);
