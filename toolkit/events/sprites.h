// The sprite pool: sprites loaded at start-up from "Sprites.spr", kept in
// the classic sprite-area layout (area size, sprite count, offset of the
// first sprite, offset of the free space; offsets count from the area's
// start). Drawing sprites belongs to the abx control.
#pragma once
#include <cstdint>

struct error_block;

// One sprite's header inside the area (all words little-endian).
struct sprite_header {
    int32_t next;            // offset from this header to the next sprite
    char name[12];           // NUL-padded, not always terminated
    int32_t width_words;     // width in words minus 1
    int32_t height;          // rows minus 1
    int32_t first_bit, last_bit;
    int32_t image, mask;     // offsets from this header
    int32_t mode;
};

void sprites_clear();
// Appends the sprites of a sprite file held in memory (the file form has
// no area-size word). A file whose counts and offsets do not fit its
// length is refused with "Error reading data." and the pool is unchanged.
const error_block *sprites_add(const unsigned char *bytes, int length);
// From `directory`\Sprites.spr when a directory is given, else from the
// program's resource of type "SPRITES" named "Sprites.spr".
const error_block *addsprites(const char *directory);
int sprites_count();
// The sprite of that name (at most 12 characters, any case), or null.
const sprite_header *sprite_find(const char *name);
// The pool itself: the whole area, size word first (null when empty).
const unsigned char *sprites_area();
