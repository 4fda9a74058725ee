// The Dictionary menu: one entry per dictionary slot (command 256 +
// slot), hung under the Words menu's Load, Edit and Delete entries. A
// choice goes to the dictionary set by the entry through which the menu
// was reached.
#include <windows.h>

#include "app/dictionary/dictionary_set.h"
#include "app/shell/shell.h"
#include "toolkit/events/menus.h"
#include "toolkit/events/window.h"

namespace {

const int entry_load = 1, entry_edit = 2, entry_delete = 4;   // in the Words menu

}  // namespace

void dictionary_menu_build()
{
    menu_record *r = menu_find(MENU_DICTIONARY);
    if (!r)
        return;
    if (!r->handle)
        menu_build(MENU_DICTIONARY, 0, nullptr, nullptr);
    else
        menu_remove_all(MENU_DICTIONARY);
    for (int i = 0; i < dictionary_set.count; i++)
        menu_add(MENU_DICTIONARY, dictionary_set.slots[i].name, 0, DICTIONARY_MENU_BASE + i);
    dictionary_menu_attach();
    edit_window_slots_changed();
}

void dictionary_menu_attach()
{
    menu_attach(MENU_DICTIONARY, MENU_WORDS, entry_load);
    menu_attach(MENU_DICTIONARY, MENU_WORDS, entry_edit);
    menu_attach(MENU_DICTIONARY, MENU_WORDS, entry_delete);
}

// Ticks the document's dictionaries when the menu opens through Load;
// through any other entry nothing is ticked.
void dictionary_menu_tick(int through_entry)
{
    for (int i = 0; i < dictionary_set.count; i++)
        menu_tick(MENU_DICTIONARY, DICTIONARY_MENU_BASE + i,
                  through_entry == entry_load && document_list_contains(i));
}

const error_block *dictionary_menu_choice(const int *path)
{
    int slot = path[2] - DICTIONARY_MENU_BASE;
    switch (path[1]) {
    case entry_load: return toggle_in_document(slot);
    case entry_edit: return edit_slot(slot);
    case entry_delete: return delete_dictionary(slot);
    }
    return nullptr;
}

void shell_install_dictionary_hooks()
{
    DictionarySetHooks h{};
    h.menus_changed = dictionary_menu_build;
    h.open_edit_window = open_edit_window;
    dictionary_set_hooks(&h);
}
