// The grid as an SVG picture: the same drawing as the metafile pictures
// (background, grid lines, and for a crossword its bars, filled squares
// and clue numbers; the letters; for a Wordsquare a line through every
// listed word when show_solutions is set), in user units of 1/180 inch,
// W x S + 1 by H x S + 1 units with y growing downwards, and a physical
// size in points (0.4 point a unit, exact in one decimal) so that it
// places at the grid's own size.
//
// Font measures come from the face's published proportions (ascent and
// descent per em) instead of the platform's text metrics, so both builds
// write the same file. Running it leaves the numbering work bits in the
// grid as any numbering pass does.
#pragma once

struct error_block;
struct fs_stream;
struct font_spec;

// A font's measures in 1/180 inch, rounded to whole units.
struct picture_font {
    int em;       // the font size: its height in points x 2.5
    int ascent;   // baseline below the top of a line
    int height;   // ascent plus descent
};
picture_font picture_font_measure(const font_spec &font);

const error_block *write_svg_picture_stream(fs_stream *stream);
// Written through a temporary file: on failure an old file stays as it was.
const error_block *save_svg_picture(const char *path);
