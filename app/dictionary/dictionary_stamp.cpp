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
//
// Dictionaries travel between people, stamps with them, so a stamp must
// not be something anyone can make: a damaged .dic shipped with a matching
// stamp would otherwise skip the walk the decoder relies on. Both sums are
// keyed by a secret drawn from this machine and user (fs_user_secret): the
// stamp's own checksum is a SipHash of its fields under that key, and the
// content sum is seeded by the key. A stamp written on another machine or
// by another user fails its own checksum here and is simply replaced; where
// no secret can be had, stamps are neither trusted nor written.
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
// The last byte is the format: 2 is the keyed stamp (1 was unkeyed; such
// stamps are stale and get replaced).
const char kMagic[8] = {'Q', 'M', 'D', 'C', 'K', 0, 0, 2};
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
    kAtSelf = 48,      // the keyed hash of bytes 0-47
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

// The stamp's key: 128 bits derived from this machine's and user's secret.
struct StampKey {
    uint64_t k0, k1;
};

inline void sip_round(uint64_t &v0, uint64_t &v1, uint64_t &v2, uint64_t &v3)
{
    v0 += v1; v1 = rotl(v1, 13); v1 ^= v0; v0 = rotl(v0, 32);
    v2 += v3; v3 = rotl(v3, 16); v3 ^= v2;
    v0 += v3; v3 = rotl(v3, 21); v3 ^= v0;
    v2 += v1; v1 = rotl(v1, 17); v1 ^= v2; v2 = rotl(v2, 32);
}

// SipHash-2-4 of `length` bytes under `key`: a keyed hash whose output
// tells nothing of the key, so a stamp read elsewhere does not teach how
// to make one.
uint64_t siphash(StampKey key, const uint8_t *p, size_t length)
{
    uint64_t v0 = key.k0 ^ 0x736f6d6570736575ull, v1 = key.k1 ^ 0x646f72616e646f6dull,
             v2 = key.k0 ^ 0x6c7967656e657261ull, v3 = key.k1 ^ 0x7465646279746573ull;
    size_t i = 0;
    auto absorb = [&](uint64_t m) {
        v3 ^= m;
        sip_round(v0, v1, v2, v3);
        sip_round(v0, v1, v2, v3);
        v0 ^= m;
    };
    for (; i + 8 <= length; i += 8) {
        uint64_t m = 0;
        for (int b = 0; b < 8; b++)
            m |= static_cast<uint64_t>(p[i + b]) << (8 * b);
        absorb(m);
    }
    uint64_t last = static_cast<uint64_t>(length) << 56;
    for (int b = 0; i < length; i++, b++)
        last |= static_cast<uint64_t>(p[i]) << (8 * b);
    absorb(last);
    v2 ^= 0xff;
    for (int r = 0; r < 4; r++)
        sip_round(v0, v1, v2, v3);
    return v0 ^ v1 ^ v2 ^ v3;
}

// The key for stamps of this machine and user, or false when there is no
// secret to derive one from. One small read (a file or a registry value)
// per load, so a test may change the secret between loads.
bool stamp_key(StampKey *key)
{
    uint8_t secret[192];
    int length = fs_user_secret(secret, sizeof secret);
    if (length <= 0)
        return false;
    const StampKey fixed = {0x5175696c6c6d6572ull, 0x652d64636b2d6b32ull};
    key->k0 = siphash(fixed, secret, static_cast<size_t>(length));
    key->k1 = siphash({fixed.k1, fixed.k0}, secret, static_cast<size_t>(length));
    return true;
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

// The content sum under the stamp's key: the counts and the rules version
// go through SipHash, whose result seeds the fast hash of both blocks.
uint64_t content_sum(StampKey key, const Dictionary *d)
{
    uint8_t counts[12];
    store32(counts, d->words);
    store32(counts + 4, d->noindex);
    store32(counts + 8, kRules);
    uint64_t h = siphash(key, counts, sizeof counts);
    h = block_sum(h, &d->wordblock);
    return block_sum(h, &d->index);
}

}  // namespace

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
    StampKey key;
    if (!stamp_key(&key))
        return STAMP_FOREIGN;   // nothing to check it by, nor to write one with
    uint8_t self[8];
    store64(self, siphash(key, stamp, kAtSelf));
    if (length != kStampSize || stamp[kAtMagic + 7] != kMagic[7] ||
        load32(stamp + kAtRules) != kRules || memcmp(stamp + kAtSelf, self, 8) != 0)
        return STAMP_STALE;     // another format or rules version, or damaged
    if (load32(stamp + kAtLength) != info->length || load32(stamp + kAtLoad) != info->load ||
        load32(stamp + kAtExec) != info->exec || load32(stamp + kAtWords) != d->words ||
        load32(stamp + kAtNoindex) != d->noindex)
        return STAMP_STALE;     // the file has changed since
    uint8_t content[8];
    store64(content, content_sum(key, d));
    if (memcmp(stamp + kAtContent, content, 8) != 0)
        return STAMP_STALE;     // same length and time, other bytes
    *spaced = load32(stamp + kAtSpaced);
    return STAMP_VOUCHES;
}

void stamp_record(const char *path, const fs_info *info, const Dictionary *d, uint32_t spaced)
{
    char where[FS_PATH_MAX];
    StampKey key;
    if (!stamp_path(path, where) || !stamp_key(&key))
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
    store64(stamp + kAtContent, content_sum(key, d));
    store64(stamp + kAtSelf, siphash(key, stamp, kAtSelf));
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
