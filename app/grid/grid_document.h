// The grid as a document: saving under its name, opening a file, and the
// per-user default grid.
#pragma once

struct error_block;

// save_grid_file, then clear_modified and set_grid_file_name(path). On
// failure the modified count and the name stay as they were. A path longer
// than the grid can hold as its name (259 characters) is refused before
// anything is written.
const error_block *save_grid_to(const char *path);
// "Save": save_grid_to with grid_file_name; error 532 (ENOSAVE) when the
// grid has never been saved, with nothing written.
const error_block *save_grid();
// "Open" and a file named on the command line: load_grid_file, then
// clear_modified, set_grid_file_name(path) and the loaded grid type
// applied with set_grid_type_light. A file that does not load changes
// nothing (its grid type is not applied either).
const error_block *open_grid_document(const char *path);

// The default grid's path: "<...App Paths\Quillmere.exe\Path>\Default\NAME.qlx"
// with the user's login name (unexpanded; the file layer expands it).
const error_block *default_grid_path(char *out, int size);
// At start-up: loads the default grid when it exists and then takes its
// appearance as the default settings; otherwise (or when it does not load)
// restores the default settings. Applies the loaded grid type (crossword
// when nothing was loaded). Fails only when the login name is unknown.
const error_block *load_default_grid();
// "Save As Default": writes the grid to the default path and takes its
// appearance as the default settings. Name and modified count stay.
const error_block *save_default_grid();
