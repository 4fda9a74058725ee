// Buffered file streams.
//
// The buffer mirrors the file bytes [buffer_start, buffer_start + valid).
// Invariants:
//   1. With STREAM_DIRTY set, those bytes may differ from the file and are
//      written out (all of them) before the buffer is reused.
//   2. With STREAM_REFILL set, the buffer's contents are not used for the
//      next access: a read refills it from `position`, a write restarts it
//      at `position`.
//   3. A memory stream (STREAM_MEMORY or STREAM_TRANSFER) has no file: its
//      buffer starts at position 0, `valid` is the content's length, and
//      the buffer grows instead of being written out.
// Blocks longer than the buffer move directly between the caller's memory
// and the file in whole multiples of `capacity`; only the remainder passes
// through the buffer.
#include "toolkit/files/stream.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "toolkit/files/fileinfo.h"
#include "toolkit/files/files_internal.h"
#include "toolkit/files/files_os.h"
#include "toolkit/files/paths.h"
#include "toolkit/memory/memory.h"
#include "toolkit/messages/error.h"

namespace {

char *bytes(fs_stream *s) { return static_cast<char *>(s->buffer); }
char mode_of(const fs_stream *s) { return static_cast<char>((s->flags >> 8) & 0xFF); }
bool in_memory(const fs_stream *s) { return s->flags & (STREAM_MEMORY | STREAM_TRANSFER); }

// The next read can be served from the buffer.
bool readable_here(const fs_stream *s)
{
    return !(s->flags & STREAM_REFILL) && s->position >= s->buffer_start &&
           s->position < s->buffer_start + s->valid;
}

// The next write can go into the buffer without restarting it.
bool writable_here(const fs_stream *s)
{
    return !(s->flags & STREAM_REFILL) && s->position >= s->buffer_start &&
           s->position <= s->buffer_start + s->valid &&
           s->position < s->buffer_start + s->capacity;
}

const error_block *flush(fs_stream *s)
{
    if (!(s->flags & STREAM_DIRTY) || in_memory(s))
        return nullptr;
    const error_block *e = raw_write_at(s->file, s->buffer_start, s->buffer, s->valid);
    if (!e)
        s->flags &= ~STREAM_DIRTY;
    return e;
}

// Writes a dirty buffer out and refills it from `position`.
const error_block *refill(fs_stream *s)
{
    const error_block *e = flush(s);
    if (e)
        return e;
    s->buffer_start = s->position;
    s->valid = 0;
    s->flags |= STREAM_REFILL;
    int got = 0;
    e = raw_read_some(s->file, s->position, s->buffer, s->capacity, &got);
    if (e)
        return e;
    s->valid = got;
    s->flags &= ~STREAM_REFILL;
    return nullptr;
}

// Writes a dirty buffer out and starts an empty buffer at `position`.
const error_block *restart(fs_stream *s)
{
    const error_block *e = flush(s);
    if (e)
        return e;
    s->buffer_start = s->position;
    s->valid = 0;
    s->flags &= ~STREAM_REFILL;
    return nullptr;
}

// Makes a memory stream's buffer hold `end` bytes, growing it to the
// larger of twice its size and the size needed.
const error_block *grow_memory(fs_stream *s, int end)
{
    if (end > s->capacity) {
        // Counted in 64 bits: past 1 GB the doubled size would wrap. Near
        // the top the growth stops at the largest block the memory layer
        // can hold (and its own error 2 refuses anything larger).
        int64_t doubled = int64_t(s->capacity) * 2;
        int64_t wanted = doubled > end ? doubled : end;
        const int64_t largest = INT32_MAX - 12;
        if (end > largest)
            return make_error0(2);
        int size = static_cast<int>(wanted > largest ? largest : wanted);
        const error_block *e = flex_resize(&s->buffer, size);
        if (e)
            return e;
        s->capacity = size;
    }
    if (s->position > s->valid)   // a seek past the end leaves zeros behind
        memset(bytes(s) + s->valid, 0, s->position - s->valid);
    return nullptr;
}

const error_block *write_memory(fs_stream *s, const void *source, int length)
{
    if (length > 0x7FFFFFFF - s->position)
        return make_error0(4);
    const error_block *e = grow_memory(s, s->position + length);
    if (e)
        return e;
    memcpy(bytes(s) + s->position, source, length);
    s->position += length;
    if (s->position > s->valid)
        s->valid = s->position;
    return nullptr;
}

const error_block *allocate(fs_stream *s, int size)
{
    if (size < 16)
        size = 16;
    for (;;) {
        if (!flex_new(&s->buffer, size)) {
            s->capacity = size;
            return nullptr;
        }
        if (size <= 128)
            return make_error0(2);
        size /= 2;
    }
}

// Loads the transfer's data into a transfer stream's buffer.
const error_block *load_transfer(fs_stream *s)
{
    int length = stream_transfer_length();
    void **anchor = transfer_anchor();
    if (mode_of(s) == 'w' || length <= 0 || !*anchor)
        return nullptr;
    const error_block *e = grow_memory(s, length);
    if (e)
        return e;
    memcpy(s->buffer, *anchor, length);
    s->valid = length;
    return nullptr;
}

const error_block *open_stream(const char *full, char mode, int buffer_size, fs_stream *s)
{
    *s = fs_stream{};
    s->file = -1;
    const error_block *e = allocate(s, buffer_size);
    if (e)
        return e;
    s->flags = STREAM_REFILL | (static_cast<unsigned char>(mode) << 8);
    if (transfer_anchor()) {
        s->flags |= STREAM_TRANSFER;
        e = load_transfer(s);
    } else if (full) {
        e = raw_open_path(full, mode, &s->file);
    } else {
        s->flags |= STREAM_MEMORY;
    }
    if (e) {
        flex_dispose(&s->buffer);
        *s = fs_stream{};
        s->file = -1;
    }
    return e;
}

char mode_letter(const char *mode) { return (mode && mode[0]) ? mode[0] : 'r'; }

// A safe-save stream's paths.
struct replacement {
    char target[FS_PATH_MAX];
    char temporary[FS_PATH_MAX];
};

// True when something has the name (or its status cannot be read: a name
// that might be taken is never used).
bool exists(const char *full)
{
    raw_stat st{};
    return fs_os.stat.current(full, &st) != 0 || st.object_type != FS_NOT_FOUND;
}

// Candidate n of a temporary name beside `target`: 0-9 are the target's
// name with ".~qm" (and a digit from 1) after it, 10-19 the short names
// "~qm0.tmp" to "~qm9.tmp" in its directory, for targets whose name leaves
// no room. False when the candidate does not fit `size`.
bool temporary_name(const char *target, int n, char *out, int size)
{
    char tail[16];
    size_t keep = strlen(target);
    if (n < 10) {
        snprintf(tail, sizeof tail, n ? ".~qm%d" : ".~qm", n);
    } else {
        snprintf(tail, sizeof tail, "~qm%d.tmp", n - 10);
        keep = fs_leaf(target) - target;
    }
    if (keep + strlen(tail) >= static_cast<size_t>(size))
        return false;
    memcpy(out, target, keep);
    strcpy(out + keep, tail);
    return true;
}

// Opens the stream on a new temporary file beside the target: a name that
// nothing has, created so that it cannot replace anything, with the
// target's permission bits. A symbolic link is followed, so the file it
// names is the one replaced. A target that the plain save could not open
// for writing is refused with that error. When no temporary file can be
// made (no name fits, or the directory cannot be written), `temporary`
// is left empty and the caller saves directly.
const error_block *open_temporary(replacement *r, int buffer_size, fs_stream *s)
{
    r->temporary[0] = 0;
    fs_os.final_path.current(r->target, sizeof r->target);
    raw_stat st{};
    fs_os.stat.current(r->target, &st);
    if (st.object_type != FS_NOT_FOUND) {
        intptr_t file;
        const error_block *e = raw_open_path(r->target, 'u', &file);
        if (e)
            return e;
        raw_close_file(file);
    }
    for (int n = 0; n < 20; n++) {
        if (!temporary_name(r->target, n, r->temporary, sizeof r->temporary) ||
            exists(r->temporary))
            continue;
        if (!open_stream(r->temporary, 'n', buffer_size, s)) {
            if (st.object_type == FS_FILE)
                fs_os.copy_attributes.current(r->target, r->temporary);
            return nullptr;
        }
        if (exists(r->temporary))
            continue;   // taken meanwhile: the next name
        if (n >= 10)
            break;      // the directory takes no new file
        n = 9;          // a long name the file system refuses: the short ones
    }
    r->temporary[0] = 0;
    return nullptr;
}

// Ends a safe-save stream: moves the temporary file over the target, or
// deletes it when the stream failed.
const error_block *finish_replacement(fs_stream *s, bool failed)
{
    replacement *r = static_cast<replacement *>(s->replace);
    const error_block *e = nullptr;
    if (failed) {
        fs_os.delete_file.current(r->temporary);
    } else {
        int code = fs_os.replace.current(r->temporary, r->target);
        if (code) {
            e = os_error(fs_os.replace.name, code, "%s %s", r->temporary, r->target);
            fs_os.delete_file.current(r->temporary);
        }
    }
    heap_dispose(&s->replace);
    return e;
}

}  // namespace

const error_block *stream_open(const char *path, const char *mode, int buffer_size,
                               fs_stream *stream)
{
    char full[FS_PATH_MAX];
    if (path) {
        const error_block *e = fs_expand_path(path, full, sizeof full);
        if (e) {
            *stream = fs_stream{};
            stream->file = -1;
            return e;
        }
    }
    return open_stream(path ? full : nullptr, mode_letter(mode), buffer_size, stream);
}

const error_block *stream_open_safe(const char *path, int buffer_size, fs_stream *stream)
{
    if (transfer_anchor())   // the bytes go to the transfer, not to a file
        return open_stream(nullptr, 'w', buffer_size, stream);
    *stream = fs_stream{};
    stream->file = -1;
    void *block = nullptr;
    const error_block *e = heap_new(&block, sizeof(replacement));
    if (e)
        return e;
    replacement *r = static_cast<replacement *>(block);
    e = fs_expand_path(path, r->target, sizeof r->target);
    if (!e)
        e = open_temporary(r, buffer_size, stream);
    if (!e && !r->temporary[0])   // no temporary file: save directly
        e = open_stream(r->target, 'w', buffer_size, stream);
    else if (!e)
        stream->replace = block;
    if (!stream->replace)
        heap_dispose(&block);
    return e;
}

const error_block *stream_close(fs_stream *s, const error_block *error)
{
    if (((s->flags >> 8) & 0xFF) == 0)
        return error;   // nothing open
    const error_block *e = nullptr;
    if (s->flags & STREAM_TRANSFER) {
        if (mode_of(s) != 'r' && transfer_anchor())
            e = transfer_store(s->buffer, s->valid);
    } else if (!(s->flags & STREAM_MEMORY)) {
        e = flush(s);
        const error_block *c = raw_close_file(s->file);
        if (!e)
            e = c;
    }
    flex_dispose(&s->buffer);
    if (!e && s->failure)
        e = stream_error(s);
    heap_dispose(&s->failure);
    if (s->replace) {
        const error_block *r = finish_replacement(s, error || e);
        if (!e)
            e = r;
    }
    *s = fs_stream{};
    s->file = -1;
    return error ? error : e;
}

namespace {

// Keeps a copy of the error that a byte read met (the records themselves
// are overwritten by the next failure anywhere).
void remember_failure(fs_stream *s, const error_block *e)
{
    if (s->failure || heap_new(&s->failure, sizeof(error_block)))
        return;
    memcpy(s->failure, e, sizeof(error_block));
}

}  // namespace

const error_block *stream_error(const fs_stream *s)
{
    if (!s->failure)
        return nullptr;
    const error_block *kept = static_cast<const error_block *>(s->failure);
    return make_error_text(kept->errnum, "%s", kept->errmess);
}

int stream_peek(fs_stream *s)
{
    if (in_memory(s))
        return s->position < s->valid ? static_cast<unsigned char>(bytes(s)[s->position]) : -1;
    if (!readable_here(s)) {
        if (const error_block *e = refill(s)) {
            remember_failure(s, e);
            return -1;
        }
    }
    if (s->position >= s->buffer_start + s->valid)
        return -1;
    return static_cast<unsigned char>(bytes(s)[s->position - s->buffer_start]);
}

int stream_getc(fs_stream *s)
{
    int c = stream_peek(s);
    if (c >= 0)
        s->position++;
    return c;
}

const error_block *stream_read(fs_stream *s, void *destination, int length)
{
    if (length < 0)
        return make_error0(5);
    if (length == 0)
        return nullptr;
    char *to = static_cast<char *>(destination);
    if (in_memory(s)) {
        int take = s->valid - s->position;
        take = take < 0 ? 0 : (take > length ? length : take);
        memcpy(to, bytes(s) + s->position, take);
        s->position += take;
        return take < length ? make_error0(3) : nullptr;
    }
    int done = 0;
    if (readable_here(s)) {
        int take = s->buffer_start + s->valid - s->position;
        take = take > length ? length : take;
        memcpy(to, bytes(s) + (s->position - s->buffer_start), take);
        s->position += take;
        done = take;
    }
    int direct = (length - done) - (length - done) % s->capacity;
    if (direct > 0) {
        const error_block *e = flush(s);
        int got = 0;
        if (!e)
            e = raw_read_at(s->file, s->position, to + done, direct, &got);
        s->position += got;
        if (e)
            return e;
        done += direct;
    }
    int rest = length - done;
    if (rest > 0) {
        const error_block *e = refill(s);
        if (e)
            return e;
        int take = rest > s->valid ? s->valid : rest;
        memcpy(to + done, s->buffer, take);
        s->position += take;
        if (take < rest)
            return make_error0(3);
    }
    return nullptr;
}

const error_block *stream_read32(fs_stream *s, int32_t *value)
{
    unsigned char b[4];
    const error_block *e = stream_read(s, b, 4);
    *value = e ? 0
               : static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) |
                                      (static_cast<uint32_t>(b[3]) << 24));
    return e;
}

const error_block *stream_read16(fs_stream *s, int32_t *value)
{
    unsigned char b[2];
    const error_block *e = stream_read(s, b, 2);
    *value = e ? 0 : (b[0] | (b[1] << 8));
    return e;
}

const error_block *stream_write(fs_stream *s, const void *source, int length)
{
    if (length < 0)
        return make_error0(5);
    if (mode_of(s) == 'r' || mode_of(s) == 0)
        return make_error0(4);
    if (length == 0)
        return nullptr;
    const char *from = static_cast<const char *>(source);
    if (in_memory(s))
        return write_memory(s, source, length);
    int done = 0;
    if (writable_here(s)) {
        int take = s->buffer_start + s->capacity - s->position;
        take = take > length ? length : take;
        memcpy(bytes(s) + (s->position - s->buffer_start), from, take);
        s->position += take;
        if (s->position - s->buffer_start > s->valid)
            s->valid = s->position - s->buffer_start;
        s->flags |= STREAM_DIRTY;
        done = take;
    }
    int direct = (length - done) - (length - done) % s->capacity;
    if (direct > 0) {
        // The buffer is written out first and dropped: the direct bytes may
        // overlap the range it mirrors.
        const error_block *e = flush(s);
        if (!e)
            e = raw_write_at(s->file, s->position, from + done, direct);
        if (e)
            return e;
        s->position += direct;
        s->valid = 0;
        s->flags |= STREAM_REFILL;
        done += direct;
    }
    int rest = length - done;
    if (rest > 0) {
        const error_block *e = restart(s);
        if (e)
            return e;
        memcpy(s->buffer, from + done, rest);
        s->valid = rest;
        s->position += rest;
        s->flags |= STREAM_DIRTY;
    }
    return nullptr;
}

const error_block *stream_putc(fs_stream *s, int byte)
{
    if (!in_memory(s) && writable_here(s) && mode_of(s) != 'r') {
        bytes(s)[s->position - s->buffer_start] = static_cast<char>(byte);
        s->position++;
        if (s->position - s->buffer_start > s->valid)
            s->valid = s->position - s->buffer_start;
        s->flags |= STREAM_DIRTY;
        return nullptr;
    }
    char b = static_cast<char>(byte);
    return stream_write(s, &b, 1);
}

const error_block *stream_write32(fs_stream *s, int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                          static_cast<unsigned char>(v >> 16),
                          static_cast<unsigned char>(v >> 24)};
    return stream_write(s, b, 4);
}

const error_block *stream_write16(fs_stream *s, int32_t value)
{
    unsigned char b[2] = {static_cast<unsigned char>(value),
                          static_cast<unsigned char>(value >> 8)};
    return stream_write(s, b, 2);
}

const error_block *stream_seek(fs_stream *s, int position)
{
    if (position < 0)
        return make_error0(5);
    s->position = position;
    if (!in_memory(s) &&
        (position < s->buffer_start || position > s->buffer_start + s->valid))
        s->flags |= STREAM_REFILL;
    return nullptr;
}

int stream_tell(const fs_stream *s) { return s->position; }

const char *stream_memory(const fs_stream *s, int *length)
{
    *length = in_memory(s) ? s->valid : 0;
    return static_cast<const char *>(s->buffer);
}
