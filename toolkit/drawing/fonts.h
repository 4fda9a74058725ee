// A font record, 84 bytes as stored in grid and choices files. Portable:
// the grid model keeps these records, the drawing layer makes fonts of them.
#pragma once
#include <cstdint>

struct font_spec {
    int32_t height;     // sixteenths of a point
    int32_t width;      // sixteenths of a point, 0 for the font's own width
    char face[64];      // face name, NUL-terminated
    uint32_t charset;   // character set (400 in the built-in records)
    uint32_t weight;
    uint32_t italic;
};
static_assert(sizeof(font_spec) == 84, "font_spec is 84 bytes in files");
