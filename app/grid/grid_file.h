// The grid file (".qlx", file type 259): reading and writing.
//
// Layout, little-endian, every integer signed 32-bit:
//   header, 264 bytes: identifier (24, "Quillmere Grid"), version (8,
//     "1.02"), date text (184), then at 216 split_fraction, window_width,
//     window_height, min_word_length, show_solutions, fill_directions,
//     grid_type, case_mode, spare_setting, picture_caps, width, height;
//     every other byte 0;
//   dictionary records, 12 bytes each, ended by a record whose first byte
//     is 0 (the writer writes 12 zero bytes; grid_dictionaries.h);
//   letters: for each column 0..width-1 its height bytes, top row first;
//   attributes in the same order, all eight bits;
//   appearance, 188 bytes (versions "1.02" and later by byte-wise text
//     comparison): grid_font, clue_font (84 bytes each), text_colour,
//     grid_colour, filled_colour, background_colour, square_percent.
// Versions before "1.01" have no bars: attribute bits 2-3 are cleared on
// loading. Versions before "1.02" take the default appearance settings.
//
// Loading reads and checks the whole file before anything changes: a file
// that cannot be read or is damaged (ends early, width or height outside 2
// to 127, grid type other than 0 or 1) gives an error and leaves the grid,
// its settings and the document's dictionaries exactly as they were.
// Saving writes a temporary file beside the target that replaces it only
// when everything was written.
#pragma once
#include <cstdint>

struct error_block;
struct fs_stream;

const int grid_file_type = 259;
const int grid_header_size = 264;
const int grid_appearance_size = 188;
const int grid_version_size = 8;

// The version text of the last file loaded (up to 8 characters).
extern char loaded_version[grid_version_size + 1];

// Writes the grid file for the current grid to `path` (references in angle
// brackets are expanded). On failure the file at `path` is unchanged.
const error_block *save_grid_file(const char *path);
// Reads the grid file at `path` into the grid (see above); the grid type it
// holds is left in grid.loaded_grid_type for the caller to apply.
const error_block *load_grid_file(const char *path);

// The same on streams and memory: the format's own entry points.
const error_block *write_grid_stream(fs_stream *stream);
const error_block *load_grid_stream(fs_stream *stream);
const error_block *load_grid_bytes(const void *bytes, int length);

// The size of the file the current grid would write with k dictionaries.
int grid_file_size(int dictionaries);
