// The sprite pool, in one flex block holding a classic sprite area.
//
// Adding a file appends its sprites behind those already held; each
// sprite is checked to lie inside the file before anything is copied.
#include "toolkit/events/sprites.h"

#include <windows.h>
#include <cstdio>
#include <cstring>

#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/text/cp1252.h"

namespace {

void *area = nullptr;        // anchor: size, count, first, free, sprites...

int32_t word_at(const unsigned char *p)
{
    return (int32_t)(p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24);
}

int32_t *words() { return flex_ptr<int32_t>(area); }

const error_block *bad_file() { return make_error0(3); }

// Checks the file's sprites and returns the byte range they occupy.
const error_block *check(const unsigned char *bytes, int length, int *first, int *end)
{
    if (length < 12)
        return bad_file();
    int count = word_at(bytes), start = word_at(bytes + 4) - 4, free = word_at(bytes + 8) - 4;
    if (count < 0 || start < 12 || free < start || free > length)
        return bad_file();
    int at = start;
    for (int i = 0; i < count; i++) {
        if (at + (int)sizeof(sprite_header) > free)
            return bad_file();
        int next = word_at(bytes + at);
        if (next < (int)sizeof(sprite_header) || next > free - at)
            return bad_file();
        at += next;
    }
    *first = start;
    *end = at;
    return nullptr;
}

}  // namespace

void sprites_clear()
{
    flex_dispose(&area);
}

const error_block *sprites_add(const unsigned char *bytes, int length)
{
    int first = 0, end = 0;
    if (const error_block *e = check(bytes, length, &first, &end))
        return e;
    if (!area) {
        if (const error_block *e = flex_new(&area, 16))
            return e;
        words()[0] = 16;
        words()[1] = 0;
        words()[2] = 16;
        words()[3] = 16;
    }
    int used = words()[3];
    int added = end - first;
    if (const error_block *e = flex_resize(&area, used + added))
        return e;
    memcpy(flex_ptr<unsigned char>(area) + used, bytes + first, added);
    words()[0] = used + added;
    words()[1] += word_at(bytes);
    words()[3] = used + added;
    return nullptr;
}

const error_block *addsprites(const char *directory)
{
    if (directory && *directory) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\%s", directory, "Sprites.spr");
        FILE *f = fopen(path, "rb");
        if (!f)
            return make_error(28, path);
        static unsigned char data[1 << 16];
        int n = (int)fread(data, 1, sizeof data, f);
        bool more = fgetc(f) != EOF;
        fclose(f);
        return more ? make_error0(2) : sprites_add(data, n);
    }
    HRSRC found = FindResourceA(nullptr, "Sprites.spr", "SPRITES");
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void *p = loaded ? LockResource(loaded) : nullptr;
    if (!p)
        return make_error(28, "Sprites.spr");
    return sprites_add(static_cast<const unsigned char *>(p), (int)SizeofResource(nullptr, found));
}

int sprites_count() { return area ? words()[1] : 0; }

const sprite_header *sprite_find(const char *name)
{
    if (!area)
        return nullptr;
    const unsigned char *base = flex_ptr<unsigned char>(area);
    int at = words()[2];
    for (int i = 0; i < words()[1]; i++) {
        auto *s = reinterpret_cast<const sprite_header *>(base + at);
        char held[13] = {};
        memcpy(held, s->name, 12);
        char wanted[13] = {};
        strncpy(wanted, name, 12);
        if (cp_compare_nocase(held, wanted) == 0)
            return s;
        at += s->next;
    }
    return nullptr;
}

const unsigned char *sprites_area() { return flex_ptr<unsigned char>(area); }
