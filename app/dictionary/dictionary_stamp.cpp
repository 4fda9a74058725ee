// The check stamp: a small file beside a .dic ("MainDict.dck" beside
// "MainDict.dic") recording that one exact content of the file passed the
// full invariant walk. The walk decodes and compares every word, which is
// most of what a fresh process spends before its first lookup; a load whose
// file still matches its stamp skips it.
//
// A stamp only vouches for bytes that hash to the checksum it holds: the
// loader hashes what it has just read (both blocks, their lengths and the
// counts) and compares. The file's length and time are a quick first test,
// so a changed file is walked without being hashed twice. A stamp that is
// missing, short, of another format or rules version, or whose own
// checksum fails is ignored, and the next sound load writes a fresh one.
// A file of the stamp's name that is not a stamp is never overwritten, and
// deleting a dictionary's file deletes its stamp.
// Writing is best effort: a read-only directory or a failed write leaves
// the loads walking every time, nothing else.
#include <cstring>

#include "app/dictionary/store_internal.h"
#include "toolkit/files/fileinfo.h"
#include "toolkit/files/fileops.h"
#include "toolkit/files/paths.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/log.h"

namespace {

// Raise when the rules dictionary_check walks change: older stamps then
// vouch for nothing.
const uint32_t kRules = 1;
const char kMagic[8] = {'Q', 'M', 'D', 'C', 'K', 0, 0, 1};
const int kStampSize = 56;

// The stamp's fields, little-endian at these offsets.
enum : int {
    kAtMagic = 0,      // 8 bytes
    kAtRules = 8,      // kRules of the writer
    kAtLength = 12,    // fs_info length of the .dic
    kAtLoad = 16,      // fs_info load and exec: the .dic's time
    kAtExec = 20,
    kAtWords = 24,     // the store's counts
    kAtNoindex = 28,
    kAtSpaced = 32,    // words holding a space, as the walk counted them
    kAtReserved = 36,  // 0
    kAtContent = 40,   // dictionary_content_sum
    kAtSelf = 48,      // the hash of bytes 0-47
};

const uint64_t P1 = 0x9E3779B185EBCA87ull, P2 = 0xC2B2AE3D27D4EB4Full,
               P3 = 0x165667B19E3779F9ull, P4 = 0x85EBCA77C2B2AE63ull;

inline uint64_t rotl(uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }
inline uint64_t mix(uint64_t acc, uint64_t input) { return rotl(acc + input * P2, 31) * P1; }

// Eight bytes in the machine's order: a stamp never leaves the machine
// that wrote it, and one moved elsewhere merely fails to match.
uint64_t load64(const uint8_t *p)
{
    uint64_t v;
    memcpy(&v, p, sizeof v);
    return v;
}

uint32_t load32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

void store32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void store64(uint8_t *p, uint64_t v)
{
    for (int i = 0; i < 8; i++)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// A 64-bit hash of `length` bytes, folded into `seed`: four independent
// lanes of multiply-rotate rounds over 32-byte stripes, the tail a byte at
// a time, and a final avalanche. Every byte and the length count.
uint64_t hash_bytes(uint64_t seed, const uint8_t *p, size_t length)
{
    uint64_t a = seed + P1 + P2, b = seed + P2, c = seed, d = seed - P1;
    size_t i = 0;
    for (; i + 32 <= length; i += 32) {
        a = mix(a, load64(p + i));
        b = mix(b, load64(p + i + 8));
        c = mix(c, load64(p + i + 16));
        d = mix(d, load64(p + i + 24));
    }
    uint64_t h = rotl(a, 1) + rotl(b, 7) + rotl(c, 12) + rotl(d, 18) + length;
    for (; i < length; i++)
        h = rotl(h ^ (p[i] * P4), 11) * P1;
    h ^= h >> 33;
    h *= P2;
    h ^= h >> 29;
    h *= P3;
    return h ^ (h >> 32);
}

uint64_t block_sum(uint64_t seed, void *const *anchor)
{
    auto length = static_cast<size_t>(flex_length(const_cast<void **>(anchor)));
    return hash_bytes(seed, static_cast<const uint8_t *>(*anchor), length);
}

// "X.dck" for "X.dic" (any letter case), else the path with ".dck" added.
bool stamp_path(const char *path, char *out)
{
    size_t length = strlen(path);
    size_t stem = length;
    if (length >= 4 && path[length - 4] == '.' && (path[length - 3] | 0x20) == 'd' &&
        (path[length - 2] | 0x20) == 'i' && (path[length - 1] | 0x20) == 'c')
        stem = length - 4;
    if (stem + 5 > static_cast<size_t>(FS_PATH_MAX))
        return false;
    memcpy(out, path, stem);
    memcpy(out + stem, ".dck", 5);
    return true;
}

}  // namespace

uint64_t dictionary_content_sum(const Dictionary *d)
{
    uint8_t counts[8];
    store32(counts, d->words);
    store32(counts + 4, d->noindex);
    uint64_t h = hash_bytes(kRules, counts, sizeof counts);
    h = block_sum(h, &d->wordblock);
    return block_sum(h, &d->index);
}

StampVerdict stamp_vouches(const char *path, const fs_info *info, const Dictionary *d, uint32_t *spaced)
{
    char where[FS_PATH_MAX];
    uint8_t stamp[kStampSize + 1];
    int length = 0;
    if (!stamp_path(path, where))
        return STAMP_FOREIGN;   // no name for one: never write
    if (fs_load_file(where, stamp, sizeof stamp, &length))
        return STAMP_FOREIGN;   // unreadable, or too long to be ours
    if (length == 0)
        return STAMP_STALE;     // none yet (or an empty file: nothing to lose)
    // A file of that name that does not begin as ours belongs to someone
    // else and is left alone.
    if (length < 7 || memcmp(stamp + kAtMagic, kMagic, 7) != 0)
        return STAMP_FOREIGN;
    uint8_t self[8];
    store64(self, hash_bytes(0, stamp, kAtSelf));
    if (length != kStampSize || stamp[kAtMagic + 7] != kMagic[7] ||
        load32(stamp + kAtRules) != kRules || memcmp(stamp + kAtSelf, self, 8) != 0)
        return STAMP_STALE;     // another format or rules version, or damaged
    if (load32(stamp + kAtLength) != info->length || load32(stamp + kAtLoad) != info->load ||
        load32(stamp + kAtExec) != info->exec || load32(stamp + kAtWords) != d->words ||
        load32(stamp + kAtNoindex) != d->noindex)
        return STAMP_STALE;     // the file has changed since
    uint8_t content[8];
    store64(content, dictionary_content_sum(d));
    if (memcmp(stamp + kAtContent, content, 8) != 0)
        return STAMP_STALE;     // same length and time, other bytes
    *spaced = load32(stamp + kAtSpaced);
    return STAMP_VOUCHES;
}

void stamp_record(const char *path, const fs_info *info, const Dictionary *d, uint32_t spaced)
{
    char where[FS_PATH_MAX];
    if (!stamp_path(path, where))
        return;
    uint8_t stamp[kStampSize] = {};
    memcpy(stamp + kAtMagic, kMagic, sizeof kMagic);
    store32(stamp + kAtRules, kRules);
    store32(stamp + kAtLength, info->length);
    store32(stamp + kAtLoad, info->load);
    store32(stamp + kAtExec, info->exec);
    store32(stamp + kAtWords, d->words);
    store32(stamp + kAtNoindex, d->noindex);
    store32(stamp + kAtSpaced, spaced);
    store64(stamp + kAtContent, dictionary_content_sum(d));
    store64(stamp + kAtSelf, hash_bytes(0, stamp, kAtSelf));
    if (fs_save_block_safely(where, 0, stamp, kStampSize))
        debug_log("no check stamp written beside %s", path);
}

void stamp_forget(const char *path)
{
    char where[FS_PATH_MAX];
    uint8_t head[kStampSize + 1];   // larger files are not read, nor ours
    int length = 0;
    if (!stamp_path(path, where) || fs_load_file(where, head, sizeof head, &length) ||
        length < 7 || memcmp(head, kMagic, 7) != 0)
        return;   // none, or not ours
    fs_delete(where);
}
