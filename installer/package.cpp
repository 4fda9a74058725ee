// Reads the subset of ZIP that the installer's package uses: the end record
// (searched backwards from the end, so a trailing comment does no harm), the
// central directory, local headers, stored members and raw-deflate members
// expanded by zlib in 32 KB pieces.
//
// Every field is read little-endian through rd16/rd32 and every record is
// checked to lie inside the archive before it is read: a damaged or hostile
// archive gives an error, never a read outside it. The member's stated
// uncompressed size must be exactly what is written: a member whose data is
// shorter or longer than it says is an error, not a silently cut file.
#include "installer/package.h"

#include <cstdio>
#include <cstring>
#include <zlib.h>

#include "installer/platform.h"

package_archive the_package;

enum : uint32_t {
    end_signature = 0x06054B50,
    central_signature = 0x02014B50,
    local_signature = 0x04034B50,
    end_size = 22,
    central_size = 46,
    local_size = 30,
    piece_size = 32768,
};

static uint32_t rd16(const unsigned char *p) { return p[0] | (p[1] << 8); }
static uint32_t rd32(const unsigned char *p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Bytes left from p to the end of the archive (0 when p is outside it).
static size_t room(const unsigned char *p)
{
    if (p < the_package.base || p >= the_package.end)
        return 0;
    return static_cast<size_t>(the_package.end - p);
}

const install_error *package_attach(const void *data, size_t size)
{
    the_package = {};
    const unsigned char *base = static_cast<const unsigned char *>(data);
    if (!base || size < end_size)
        return error_from_text("The installer's package is missing or damaged (no end record)");
    // The record nearest the end whose central directory offset points at a
    // central directory entry (or at the record itself: an empty archive);
    // a comment that happens to hold the signature is passed over.
    const install_error *damaged = nullptr;
    for (const unsigned char *p = base + size - end_size;; p--) {
        if (rd32(p) == end_signature) {
            uint32_t offset = rd32(p + 16);
            size_t before = static_cast<size_t>(p - base);
            if (offset == before ||
                (offset < before && before - offset >= 4 && rd32(base + offset) == central_signature)) {
                the_package = {base, base + size, base + offset};
                return nullptr;
            }
            if (!damaged)
                damaged = error_from_text("The installer's package is damaged (central directory "
                                          "offset %u)", offset);
        }
        if (p == base)
            break;
    }
    if (damaged)
        return damaged;
    return error_from_text("The installer's package is missing or damaged (no end record)");
}

static char fold(char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    return c == '/' ? '\\' : c;
}

// The searched name against an entry name of n bytes: the prefix rule.
static bool name_matches(const char *name, const unsigned char *entry, uint32_t n)
{
    for (uint32_t i = 0; i < n; i++) {
        if (name[i] == 0)
            return true;
        if (fold(name[i]) != fold(static_cast<char>(entry[i])))
            return false;
    }
    return name[n] == 0;
}

const unsigned char *find_member(const char *name, const unsigned char *start,
                                 char *name_buffer, size_t buffer_size,
                                 const unsigned char **next)
{
    const unsigned char *p = start ? start : the_package.central;
    while (room(p) >= central_size && rd32(p) == central_signature) {
        uint32_t n = rd16(p + 28), e = rd16(p + 30), c = rd16(p + 32);
        size_t step = central_size + static_cast<size_t>(n) + e + c;
        if (room(p) < central_size + static_cast<size_t>(n))
            return nullptr;
        if (!name || name_matches(name, p + central_size, n)) {
            if (name_buffer && buffer_size > 0) {
                size_t k = n < buffer_size - 1 ? n : buffer_size - 1;
                for (size_t i = 0; i < k; i++) {
                    char ch = static_cast<char>(p[central_size + i]);
                    name_buffer[i] = ch == '/' ? '\\' : ch;
                }
                name_buffer[k] = 0;
            }
            if (next)
                *next = room(p) > step ? p + step : the_package.end;
            uint32_t offset = rd32(p + 42);
            return offset < room(the_package.base) ? the_package.base + offset : the_package.end;
        }
        if (room(p) <= step)
            break;
        p += step;
    }
    return nullptr;
}

bool member_name_safe(const char *name)
{
    if (!name || !*name || name[0] == '\\' || name[0] == '/' || strchr(name, ':'))
        return false;
    const char *part = name;
    for (const char *p = name;; p++) {
        if (*p == 0 || *p == '\\' || *p == '/') {
            size_t n = static_cast<size_t>(p - part);
            if (n == 0 || (n == 1 && part[0] == '.') || (n == 2 && part[0] == '.' && part[1] == '.'))
                return false;
            if (*p == 0)
                return true;
            part = p + 1;
        }
    }
}

// A member's local header, read and checked: its data lies inside the
// archive for its compressed size.
struct member_header {
    uint32_t method, time, date, compressed, uncompressed;
    const unsigned char *data;
};

static const install_error *read_header(const char *name, const unsigned char *local,
                                        member_header *h)
{
    if (room(local) < local_size || rd32(local) != local_signature)
        return error_from_text("The installer's package is damaged (member %s)", name);
    h->method = rd16(local + 8);
    h->time = rd16(local + 10);
    h->date = rd16(local + 12);
    h->compressed = rd32(local + 18);
    h->uncompressed = rd32(local + 22);
    size_t skip = local_size + static_cast<size_t>(rd16(local + 26)) + rd16(local + 28);
    if (h->method == 0 && h->compressed != h->uncompressed)
        return error_from_text("The installer's package is damaged (member %s has two sizes)",
                               name);
    size_t stored = h->method == 0 ? h->uncompressed : h->compressed;
    if (room(local) < skip || room(local) - skip < stored)
        return error_from_text("The installer's package is damaged (member %s is cut short)",
                               name);
    h->data = local + skip;
    return nullptr;
}

static const install_error *inflate_member(const member_header &h, intptr_t file,
                                           const char *path)
{
    z_stream s = {};
    s.next_in = const_cast<Bytef *>(h.data);
    s.avail_in = h.compressed;
    // Raw deflate: no zlib header, 32 KB window.
    int code = inflateInit2(&s, -MAX_WBITS);
    if (code != Z_OK)
        return error_from_text("Decompression setup failed code %d", code);
    static unsigned char piece[piece_size];
    uint32_t expected = h.uncompressed;
    const install_error *e = nullptr;
    for (;;) {
        s.next_out = piece;
        s.avail_out = piece_size;
        code = inflate(&s, Z_SYNC_FLUSH);
        if (code != Z_OK && code != Z_STREAM_END) {
            e = error_from_text("Decompression failed code %d", code);
            break;
        }
        uint32_t produced = piece_size - s.avail_out;
        if (produced > expected) {
            e = error_from_text("Decompression failed: %s is longer than the package says", path);
            break;
        }
        if (produced > 0 && (e = platform_write(file, piece, produced, path)))
            break;
        expected -= produced;
        if (code == Z_STREAM_END) {
            if (expected > 0)
                e = error_from_text("Decompression failed: %s is shorter than the package says",
                                    path);
            break;
        }
    }
    inflateEnd(&s);
    return e;
}

const install_error *extract_member(const char *name, const char *directory)
{
    if (!member_name_safe(name))
        return error_from_text("The member name %s is not allowed", name ? name : "");
    char entry[261];
    const unsigned char *local = find_member(name, nullptr, entry, sizeof entry, nullptr);
    if (!local)
        return error_from_text("The installer's package holds no %s", name);
    if (!member_name_safe(entry))
        return error_from_text("The member name %s is not allowed", entry);
    member_header h = {};
    if (const install_error *e = read_header(name, local, &h))
        return e;
    char path[600];
    if (snprintf(path, sizeof path, "%s\\%s", directory, name) >= 261)
        return error_from_text("The path %s\\%s is too long", directory, name);
    intptr_t file;
    if (const install_error *e = platform_create(path, &file))
        return e;
    const install_error *e = h.method == 0 ? platform_write(file, h.data, h.uncompressed, path)
                                           : inflate_member(h, file, path);
    if (!e)
        e = platform_set_time(file, h.date, h.time, path);
    const install_error *closed = platform_close(file, path);
    return e ? e : closed;
}

bool member_text(const char *name, const char **text, uint32_t *size)
{
    const unsigned char *local = find_member(name, nullptr, nullptr, 0, nullptr);
    member_header h = {};
    if (!local || read_header(name, local, &h) || h.method != 0)
        return false;
    *text = reinterpret_cast<const char *>(h.data);
    *size = h.uncompressed;
    return true;
}

const install_error *create_path(const char *path)
{
    char part[261];
    size_t n = strlen(path);
    if (n >= sizeof part)
        return error_from_text("The path %s is too long", path);
    memcpy(part, path, n + 1);
    // The longest leading part that exists, ending at a separator or the end.
    size_t have = n;
    while (have > 0) {
        char saved = part[have];
        part[have] = 0;
        bool exists = platform_path_kind(part) != path_missing;
        part[have] = saved;
        if (exists)
            break;
        do
            have--;
        while (have > 0 && part[have] != '\\' && part[have] != '/');
    }
    for (size_t i = have + 1; i <= n; i++) {
        if (i == n || part[i] == '\\' || part[i] == '/') {
            char saved = part[i];
            part[i] = 0;
            if (i > 0 && part[i - 1] != ':' && platform_path_kind(part) == path_missing) {
                if (const install_error *e = platform_make_directory(part))
                    return e;
            }
            part[i] = saved;
        }
    }
    return nullptr;
}
