// Buffered file streams.
//
// A stream reads and writes bytes, blocks and little-endian 16- and 32-bit
// words through a buffer held in a flex block. It runs over one open file,
// over the memory transfer in progress, or over memory alone (no path: the
// buffer grows instead of being written out, and holds the whole content).
//
// Every operation that can fail returns an error record (null on success).
// Short reads give error 3 "Error reading data.", short writes error 4
// "Error writing data.". Always close an opened stream, also after an
// error: closing writes a dirty buffer out and frees the buffer.
#pragma once
#include <cstdint>

struct error_block;

// Stream flags (the low byte of `flags`); bits 8-15 hold the open mode letter.
const int STREAM_TRANSFER = 1;   // over the memory transfer in progress
const int STREAM_DIRTY = 2;      // the buffer holds bytes not yet written
const int STREAM_REFILL = 4;     // refill (or restart) before the next access
const int STREAM_MEMORY = 8;     // memory only: the buffer grows, never written

struct fs_stream {
    void *buffer;        // anchor of the flex block holding the buffered bytes
    int32_t capacity;    // the buffer's size in bytes
    int32_t valid;       // bytes of the buffer that hold file data
    int32_t position;    // the current file position
    int32_t buffer_start;  // file position of the buffer's first byte
    int32_t flags;       // STREAM_* bits, mode letter in bits 8-15
    intptr_t file;       // the platform file handle (-1 when none)
    void *replace;       // heap block of a safe-save stream (target and
                         // temporary path), null otherwise
    void *failure;       // heap copy of the error that made a byte read
                         // fail (stream_error), null while none did
};

// Opens a stream. `path` null: a memory-only stream. `mode` "r" opens an
// existing file for reading, "u" for reading and writing (created when
// missing), "w" (any other letter) for reading and writing, truncated or
// created. The buffer starts at `buffer_size` bytes, halved after each
// failed allocation while above 128 bytes (error 2 when even that fails).
// On failure nothing is left open.
const error_block *stream_open(const char *path, const char *mode, int buffer_size,
                               fs_stream *stream);

// Opens a stream for writing that leaves the file at `path` untouched until
// it is closed without error: the bytes go to a temporary file beside the
// target, which closing moves over the target. A stream closed with an
// error (its own or the caller's) deletes the temporary file instead.
const error_block *stream_open_safe(const char *path, int buffer_size, fs_stream *stream);

// Writes a dirty buffer out, closes the file (or ends the memory transfer),
// frees the buffer. Returns `error` when it is not null, else the first
// error of closing. Safe to call on a cleared record.
const error_block *stream_close(fs_stream *stream, const error_block *error);

// The next byte (0-255), or -1 at the end of the data or on an error. An
// error (a read that fails, or a dirty buffer that cannot be written out
// before the refill) is kept: stream_error returns it from then on, and
// stream_close returns it when nothing else failed.
int stream_getc(fs_stream *stream);
// The next byte without moving, or -1 (as stream_getc).
int stream_peek(fs_stream *stream);
// The error that made a byte read return -1, or null when it was the end.
const error_block *stream_error(const fs_stream *stream);
// Reads exactly `length` bytes; error 3 when fewer were available.
const error_block *stream_read(fs_stream *stream, void *destination, int length);
// Little-endian words; error 3 at the end of the data.
const error_block *stream_read32(fs_stream *stream, int32_t *value);
const error_block *stream_read16(fs_stream *stream, int32_t *value);  // zero-extended

const error_block *stream_putc(fs_stream *stream, int byte);
// Writes exactly `length` bytes; error 4 when not all could be written.
const error_block *stream_write(fs_stream *stream, const void *source, int length);
const error_block *stream_write32(fs_stream *stream, int32_t value);
const error_block *stream_write16(fs_stream *stream, int32_t value);  // low 16 bits

// Sets the position (0 or more); a position outside the buffered bytes
// marks the buffer for refilling. Error 5 for a negative position.
const error_block *stream_seek(fs_stream *stream, int position);
int stream_tell(const fs_stream *stream);

// A memory-only stream's content: its bytes and their count (the highest
// position written). Valid until the next write or close.
const char *stream_memory(const fs_stream *stream, int *length);

// The memory transfer: while one is in progress, streams opened for it and
// whole-file saves read from and write into the caller's flex block instead
// of a file. `anchor` names the block; `length` how many of its bytes hold
// data (for reading). Ending a write transfer leaves the written bytes in
// the block and their count in stream_transfer_length().
void stream_transfer_begin(void **anchor, int length);
void stream_transfer_end();
bool stream_transfer_active();
int stream_transfer_length();
