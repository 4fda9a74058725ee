// Numeric file types (12 bits) and their chained tables of extensions.
//
// A table is an array of entries ended by type -1; tables are registered
// into a chain, newest first. An entry of type -2 gives the extension and
// description used for types without their own.
#pragma once

const int FILETYPE_TEXT = 0xFFF;
const int FILETYPE_DATA = 0xFFD;
const int FILETYPE_END = -1;      // table end, and "no type"
const int FILETYPE_DEFAULT = -2;  // the entry for types without their own

struct filetype_entry {
    int type;
    const char *extension;     // without the dot; null for none
    const char *description;   // filter text; may hold {TOKEN}s
};

struct filetype_link {
    filetype_link *next;
    const filetype_entry *table;
};

// Pushes a table on the chain; `link` is provided and kept alive by the caller.
void filetype_register(const filetype_entry *table, filetype_link *link);
void filetype_clear_tables();

// The type of a file name: the leaf's text after its last "."; without one,
// the text after a ","; compared without regard to case with the tables'
// extensions (first match wins). An unmatched extension gives the type of
// the first entry without extension (-1 when none); a leaf with neither "."
// nor "," gives 0xFFD.
int filetype_of_name(const char *name);
// The extension of a type: its first entry with an extension, else the -2
// entry's; null when neither exists.
const char *filetype_extension(int type);
// The description of a type: its first entry's, else the -2 entry's, else null.
const char *filetype_description(int type);

// The application's table (the grid file, text, data and picture types).
extern const filetype_entry quillmere_filetypes[];
