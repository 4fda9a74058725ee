// Text files of words: import and export.
//
// Import keeps each word's first byte as it is, lower-cases the later
// letters and drops every other byte (New York -> Newyork); a word ends at
// any byte below 32. A word that reaches 32 characters is not added and
// the rest of its line is skipped. Raw import instead takes each line as
// written (spaces and capitals kept), for lists of multi-word entries.
// Each word is added as it is read (add_word), so an imported file is
// exactly the file that adding its words one by one in file order gives;
// on an error the words added before it stay.
// Export writes every word followed by CR LF; an empty dictionary writes
// no file at all.
#pragma once

struct Dictionary;
struct error_block;

struct ImportCounts {
    int words;      // words read (duplicates and refused ones included)
    int too_long;   // lines refused for length
    int refused;    // words read that the store could not hold (left unchanged)
};

const error_block *import_word_file(Dictionary *d, const char *path, bool raw, ImportCounts *counts);
const error_block *export_word_file(const Dictionary *d, const char *path);

// The slot forms: importing sets the slot's changed flag when a word was
// read; exporting an empty dictionary is silently nothing.
const error_block *import_words(int slot, const char *path);
const error_block *export_words(int slot, const char *path);
