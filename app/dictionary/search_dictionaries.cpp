// The searches' view of the dictionary set: the document list and slots.
#include "app/dictionary/search_dictionaries.h"

#include "app/dictionary/dictionary_set.h"

int search_dictionary_count() { return document_list.count; }

int search_dictionary_slot(int position) { return document_list.slots[position]; }

const Dictionary *search_dictionary(int position)
{
    return search_slot_dictionary(document_list.slots[position]);
}

const Dictionary *search_slot_dictionary(int slot)
{
    if (slot < 0 || slot >= dictionary_set.count)
        return nullptr;
    return &dictionary_set.slots[slot].dictionary;
}

const error_block *search_ensure_dictionary() { return ensure_dictionary(); }
