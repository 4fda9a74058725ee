// The grid as a Windows picture: a Windows metafile, a placeable metafile
// or an enhanced metafile, drawn through the drawing layer in 1/180 inch
// (y downwards in the picture, so OS y = -picture y). The picture is
// W x S + 1 by H x S + 1 units; it shows the background and grid lines,
// for a crossword its bars, filled squares and clue numbers, the letters,
// and for a Wordsquare a line through every listed word when
// show_solutions is set. The SVG writer (picture_svg.h) draws the same
// picture with the same geometry.
#pragma once
#include <cstdint>

struct error_block;

// The measures a picture is drawn with, in 1/180 inch.
struct picture_measures {
    int side;          // S, the square side (square_size)
    int grid_ascent;   // the grid font's ascent and height
    int grid_height;
    int clue_ascent;   // the clue font's ascent
};

// Computes S and measures the grid and clue fonts through the platform's
// text metrics; a font that cannot be made is the error.
const error_block *prepare_picture(picture_measures *m);
// Draws the grid into the current drawing context, which must map
// 180 device units to the inch. Leaves the numbering work bits in the
// grid as any numbering pass does.
const error_block *draw_picture(const picture_measures &m);

// The writers. The two Windows metafile kinds write the whole file once it
// is complete (no file on failure); the enhanced metafile is written by
// the platform at the path.
const error_block *save_metafile(const char *path);
const error_block *save_placeable_metafile(const char *path);
const error_block *save_enhanced_metafile(const char *path);

// The 22-byte placeable metafile header for a picture of `width` x
// `height` units at 120 units per inch, with its checksum.
void placeable_header(int width, int height, uint8_t out[22]);
