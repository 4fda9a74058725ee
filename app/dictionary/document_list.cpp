// The document's list of dictionaries: adding and removing slots, the
// default dictionary, and the grid file's list of names.
#include <cstring>

#include "app/dictionary/dictionary_set.h"
#include "app/grid/app_errors.h"
#include "app/grid/grid.h"
#include "app/grid/grid_dictionaries.h"
#include "toolkit/messages/error.h"
#include "toolkit/text/cp1252.h"

DocumentList document_list;

namespace {

DictionarySlot &slot_at(int slot) { return dictionary_set.slots[slot]; }

void load_if_needed(int slot)
{
    if (!slot_at(slot).loaded)
        load_slot(slot);   // a failed load leaves the slot listed, empty
}

// The slot a grid file record names: the name ignoring case or, for a full
// 12-byte record, the one slot whose longer name begins with it.
int slot_of_record(const grid_dictionary_name &record)
{
    char name[grid_name_record + 1];
    grid_dictionary_name_text(record, name);
    if (!name[0])
        return -1;
    int slot = find_slot(name);
    if (slot >= 0 || strlen(name) < DICTIONARY_NAME_KEPT)
        return slot;
    for (int i = 0; i < dictionary_set.count; i++) {
        char prefix[DICTIONARY_NAME_KEPT + 1] = {};
        memcpy(prefix, slot_at(i).name, DICTIONARY_NAME_KEPT);
        if (cp_compare_nocase(prefix, name) == 0) {
            if (slot >= 0)
                return -1;   // ambiguous: leave it out
            slot = i;
        }
    }
    return slot;
}

}  // namespace

bool document_list_contains(int slot)
{
    for (int i = 0; i < document_list.count; i++)
        if (document_list.slots[i] == slot)
            return true;
    return false;
}

const error_block *document_list_add(int slot)
{
    if (document_list.count == DICTIONARY_SLOTS)
        return make_error0(EMDC);
    int at = 0;
    while (at < document_list.count && document_list.slots[at] < slot)
        at++;
    memmove(&document_list.slots[at + 1], &document_list.slots[at],
            sizeof(int) * (document_list.count - at));
    document_list.slots[at] = slot;
    document_list.count++;
    slot_at(slot).uses++;
    return nullptr;
}

void document_list_remove(int slot)
{
    for (int i = 0; i < document_list.count; i++) {
        if (document_list.slots[i] != slot)
            continue;
        memmove(&document_list.slots[i], &document_list.slots[i + 1],
                sizeof(int) * (document_list.count - i - 1));
        document_list.count--;
        DictionarySlot &s = slot_at(slot);
        if (s.uses > 0)
            s.uses--;
        if (s.uses == 0 && s.loaded)
            unload_slot(slot);
        return;
    }
}

const error_block *toggle_in_document(int slot)
{
    if (slot < 0 || slot >= dictionary_set.count)
        return nullptr;
    if (document_list_contains(slot)) {
        document_list_remove(slot);
    } else {
        if (const error_block *e = document_list_add(slot))
            return e;
        load_if_needed(slot);
    }
    mark_modified();
    return nullptr;
}

const error_block *ensure_dictionary()
{
    for (int i = 0; document_list.count == 0 && default_dictionary_names[i]; i++) {
        int slot = find_slot(default_dictionary_names[i]);
        if (slot >= 0 && !document_list_add(slot)) {
            load_if_needed(slot);
            break;
        }
    }
    return document_list.count == 0 ? make_error0(ENOD) : nullptr;
}

void load_document_dictionaries()
{
    for (int i = 0; i < document_list.count; i++)
        load_if_needed(document_list.slots[i]);
}

void release_document_list()
{
    for (int i = 0; i < document_list.count; i++) {
        DictionarySlot &s = slot_at(document_list.slots[i]);
        if (s.uses > 0)
            s.uses--;
    }
    document_list.count = 0;
}

int write_document_list(grid_dictionary_name *names, int max)
{
    int n = document_list.count < max ? document_list.count : max;
    for (int i = 0; i < n; i++) {
        memset(names[i].bytes, 0, sizeof names[i].bytes);
        memcpy(names[i].bytes, slot_at(document_list.slots[i]).name,
               strnlen(slot_at(document_list.slots[i]).name, grid_name_record));
    }
    return n;
}

void read_document_list(const grid_dictionary_name *names, int count)
{
    release_document_list();
    for (int i = 0; i < count; i++) {
        int slot = slot_of_record(names[i]);
        // A dictionary named twice ("Alpha", "ALPHA") is listed once.
        if (slot >= 0 && !document_list_contains(slot))
            document_list_add(slot);   // a full list ignores the rest
    }
    for (int i = 0; i < dictionary_set.count; i++)
        if (slot_at(i).loaded && slot_at(i).uses == 0)
            unload_slot(i);
    load_document_dictionaries();
}

void dictionary_set_install_grid_hooks()
{
    static const grid_dictionary_hooks grid_hooks = {write_document_list, read_document_list};
    grid_set_dictionary_hooks(&grid_hooks);
}
