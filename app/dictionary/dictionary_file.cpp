// The .dic file: a 256-byte header, the two counts, then the word block and
// the index block, each behind a 20-byte block header whose second value
// is the block's length plus 20. All integers are little-endian.
//
// Loading checks the lengths against the file and walks every invariant
// of the store before the dictionary is used; anything amiss is refused as
// "Corruption in file." and leaves the dictionary empty. The walk is
// skipped when the check stamp beside the file vouches for the very bytes
// read (dictionary_stamp.cpp); a sound load without one writes it. Saving goes
// through a temporary file, so a failed save keeps the previous file.
#include <cstdio>
#include <cstring>

#include "app/dictionary/dictionary.h"
#include "app/dictionary/store_internal.h"
#include "app/grid/app_errors.h"
#include "toolkit/files/files.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"

namespace {

const int kHeaderSize = 256;
const int kBlockHeaderSize = 20;
const int kFileBuffer = 32768;
const int kCountsSize = 8;
const char kName[] = "Quillmere Dictionary";
const char kVersion[] = "1.00";
const char kDate[] = "(16-Mar-2002)";

char corruption_reason[160];

const error_block *corrupt(const char *why)
{
    debug_log("dictionary corrupt: %s", why);
    snprintf(corruption_reason, sizeof corruption_reason, "%s", why);
    return make_error0(ECR);
}

// Reads a block header and the block into a new flex block, after checking
// that `length` bytes remain in the file for it.
const error_block *read_block(fs_stream *s, void **anchor, int64_t remaining, int64_t *length)
{
    int32_t values[5];
    for (int32_t &v : values)
        if (const error_block *e = stream_read32(s, &v))
            return e;
    *length = static_cast<int64_t>(values[1]) - kBlockHeaderSize;
    if (*length < 0 || *length > remaining - kBlockHeaderSize)
        return corrupt("block length does not match the file");
    if (const error_block *e = flex_new(anchor, static_cast<int>(*length)))
        return e;
    return stream_read(s, *anchor, static_cast<int>(*length));
}

const error_block *read_header(fs_stream *s)
{
    char header[kHeaderSize];
    if (const error_block *e = stream_read(s, header, kHeaderSize))
        return e;
    char version[9] = {};
    memcpy(version, header + 24, 8);
    uint32_t flags = static_cast<uint8_t>(header[96]) | static_cast<uint8_t>(header[97]) << 8 |
                     static_cast<uint8_t>(header[98]) << 16 |
                     static_cast<uint32_t>(static_cast<uint8_t>(header[99])) << 24;
    if (flags != 0)
        return make_error0(EDCAPS);
    if (strcmp(version, kVersion) < 0)
        return make_error0(EDCOLD);
    return nullptr;
}

const error_block *read_body(fs_stream *s, Dictionary *d, const char *path, const fs_info &info)
{
    int64_t file_length = info.length;
    if (file_length < kHeaderSize + kCountsSize + 2 * kBlockHeaderSize)
        return corrupt("file shorter than its headers");
    if (const error_block *e = read_header(s))
        return e;
    int32_t words, noindex;
    const error_block *e = stream_read32(s, &words);
    if (!e)
        e = stream_read32(s, &noindex);
    if (e)
        return e;
    if (words < 0 || noindex < 0)
        return corrupt("negative counts");
    int64_t remaining = file_length - kHeaderSize - kCountsSize, word_length, index_length;
    if ((e = read_block(s, &d->wordblock, remaining, &word_length)) != nullptr)
        return e;
    remaining -= kBlockHeaderSize + word_length;
    if ((e = read_block(s, &d->index, remaining, &index_length)) != nullptr)
        return e;
    if (index_length != remaining - kBlockHeaderSize)
        return corrupt("bytes after the index block");
    if (index_length != static_cast<int64_t>(noindex) * INDEX_ENTRY_SIZE)
        return corrupt("index block length does not match its count");
    d->words = static_cast<uint32_t>(words);
    d->noindex = static_cast<uint32_t>(noindex);
    uint32_t spaced;
    StampVerdict stamp = stamp_vouches(path, &info, d, &spaced);
    if (stamp != STAMP_VOUCHES) {
        char why[160];
        if (dictionary_check_counting(d, why, sizeof why, &spaced))
            return corrupt(why);
        if (stamp == STAMP_STALE)
            stamp_record(path, &info, d, spaced);
    }
    d->spaced = spaced;
    return nullptr;
}

const error_block *write_block(fs_stream *s, const void *block, int length)
{
    const int32_t values[5] = {0, length + kBlockHeaderSize, length + kBlockHeaderSize, 0,
                               length + kBlockHeaderSize};
    for (int32_t v : values)
        if (const error_block *e = stream_write32(s, v))
            return e;
    return length ? stream_write(s, block, length) : nullptr;
}

}  // namespace

const error_block *dictionary_path(const char *directory, const char *name, char *path)
{
    char leaf[FS_PATH_MAX];
    if (strlen(directory) >= FS_PATH_MAX || strlen(name) + 5 > sizeof leaf)
        return make_error(30, "dictionary_path");
    strcpy(path, directory);
    strcpy(leaf, name);
    strcat(leaf, ".dic");
    return fs_strcat(path, FS_PATH_MAX, leaf);
}

const char *dictionary_corruption_reason() { return corruption_reason; }

const error_block *load_dictionary_file(Dictionary *d, const char *path)
{
    DictionaryTouch touch{d};
    corruption_reason[0] = 0;
    debug_log("dopen %s", path);
    clear_dictionary(d);
    fs_info info;
    const error_block *e = fs_file_info(path, &info);
    fs_stream s;
    if (!e)
        e = stream_open(path, "r", kFileBuffer, &s);
    if (e)
        return e;
    e = stream_close(&s, read_body(&s, d, path, info));
    if (e)
        clear_dictionary(d);
    return e;
}

const error_block *save_dictionary_file(const Dictionary *d, const char *path)
{
    debug_log("dopen %s", path);
    char header[kHeaderSize] = {};
    memcpy(header, kName, sizeof kName);
    memcpy(header + 24, kVersion, sizeof kVersion);
    memcpy(header + 32, kDate, sizeof kDate);
    fs_stream s;
    if (const error_block *e = stream_open_safe(path, kFileBuffer, &s))
        return e;
    int word_length = flex_length(const_cast<void **>(&d->wordblock));
    int index_length = flex_length(const_cast<void **>(&d->index));
    const error_block *e = stream_write(&s, header, kHeaderSize);
    if (!e)
        e = stream_write32(&s, static_cast<int32_t>(d->words));
    if (!e)
        e = stream_write32(&s, static_cast<int32_t>(d->noindex));
    if (!e)
        e = write_block(&s, d->wordblock, word_length);
    if (!e)
        e = write_block(&s, d->index, index_length);
    return stream_close(&s, e);
}

const error_block *load_dictionary(Dictionary *d, const char *directory, const char *name)
{
    char path[FS_PATH_MAX];
    if (const error_block *e = dictionary_path(directory, name, path)) {
        clear_dictionary(d);
        return e;
    }
    return load_dictionary_file(d, path);
}

const error_block *save_dictionary(const Dictionary *d, const char *directory, const char *name)
{
    char path[FS_PATH_MAX];
    if (const error_block *e = dictionary_path(directory, name, path))
        return e;
    return save_dictionary_file(d, path);
}
