// The dictionaries the searches read: the document's list, in list order,
// and the slot table behind solution codes. One small seam over the
// dictionary set, so that the searches name nothing else of it.
#pragma once

struct Dictionary;
struct error_block;

// Number of dictionaries in the document's list.
int search_dictionary_count();
// Slot index of the dictionary at `position` in the document's list.
int search_dictionary_slot(int position);
// The word store at `position` (an empty store when the slot is not loaded).
const Dictionary *search_dictionary(int position);
// The word store of a slot; null when the slot does not exist.
const Dictionary *search_slot_dictionary(int slot);
// Attaches a default dictionary ("MainDict", "MainDict-UK", "MainDict-US",
// "Puzzle-UK", "Puzzle-US") when the document has none; {ENOD} when the
// list stays empty.
const error_block *search_ensure_dictionary();
