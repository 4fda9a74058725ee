// The grid file's list of dictionaries in use, and the interface through
// which the dictionary set keeps it.
//
// In the file each dictionary is one 12-byte record: the first 12 bytes of
// its name, NUL-padded (a name of 12 bytes or more fills the record with no
// NUL); an all-zero record ends the list. The grid file code reads and
// checks the whole file before it hands the names over, so a damaged file
// never touches the document's list.
//
// Until the dictionary set installs its hooks, the names are kept here as
// read (up to 32) and written back unchanged.
#pragma once

const int grid_name_record = 12;      // bytes per dictionary record in the file
const int grid_max_dictionaries = 32; // the document list's capacity

struct grid_dictionary_name {
    char bytes[grid_name_record];     // NUL-padded; full when 12 bytes long
};

struct grid_dictionary_hooks {
    // Saving: fills `names` with the document list in list order (at most
    // `max` entries) and returns how many.
    int (*document_names)(grid_dictionary_name *names, int max);
    // Loading, once the file has been read and checked in full: releases
    // the old document's list, adds each name that names a known dictionary
    // (ignoring letter case; unknown names and those beyond a full list are
    // skipped without a message), closes dictionaries no longer used and
    // opens the listed ones. `count` may exceed 32.
    void (*take_document_names)(const grid_dictionary_name *names, int count);
};

// Installs the dictionary set's hooks; null restores the keep-as-read
// defaults (and empties the kept names).
void grid_set_dictionary_hooks(const grid_dictionary_hooks *hooks);

// Through the installed hooks.
int grid_document_names(grid_dictionary_name *names, int max);
void grid_take_document_names(const grid_dictionary_name *names, int count);

// A record's name as a NUL-terminated string (at most 12 characters).
void grid_dictionary_name_text(const grid_dictionary_name &name, char out[grid_name_record + 1]);
