// Flex and heap blocks.
//
// A flex block is one allocation: a private header, then the caller's bytes,
// whose address is what the anchor holds. The header keeps the size the way
// the toolkit has always counted it, usable bytes plus a 12-byte header, so
// `flex_length` is size - 12 whatever the real header occupies on this host.
#include "toolkit/memory/memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "toolkit/messages/error.h"
#include "toolkit/messages/log.h"
#include "toolkit/memory/memory_os.h"

namespace {

const int kHeaderWords = 12;  // the counted header: size, mover, argument

struct flex_header {
    int32_t size;       // usable size + 12
    flex_mover mover;   // called after the block moves, or null
    void *argument;     // passed to the mover
    void *pad;          // keeps the caller's bytes 16-byte aligned
};

low_memory_handler low_memory = nullptr;

flex_header *header_of(void *anchor)
{
    return reinterpret_cast<flex_header *>(static_cast<char *>(anchor) - sizeof(flex_header));
}

void *body_of(flex_header *h) { return reinterpret_cast<char *>(h) + sizeof(flex_header); }

const error_block *no_memory() { return make_error0(2); }
const error_block *corrupt() { return make_error0(5); }

// Calls the low-memory handler after a failed attempt: null means retry.
// The retry happens once: a handler that reports success without freeing
// anything must not keep the caller spinning.
const error_block *ask_for_memory(const error_block *failure)
{
    if (!low_memory)
        return failure;
    return low_memory(0);
}

// The counted size (usable + 12) must stay a positive 32-bit number.
const int kMaxUsable = INT32_MAX - kHeaderWords;

const error_block *raw_new(void **anchor, int size)
{
    if (size < 0)
        return corrupt();
    if (size > kMaxUsable)
        return no_memory();
    auto *h = static_cast<flex_header *>(memory_os.alloc(sizeof(flex_header) + size));
    if (!h)
        return no_memory();
    memset(h, 0, sizeof(flex_header) + size);
    h->size = size + kHeaderWords;
    *anchor = body_of(h);
    return nullptr;
}

const error_block *raw_resize(void **anchor, int new_size)
{
    if (new_size < 0 || !*anchor)
        return corrupt();
    if (new_size > kMaxUsable)
        return no_memory();
    flex_header *old = header_of(*anchor);
    auto *h = static_cast<flex_header *>(memory_os.resize(old, sizeof(flex_header) + new_size));
    if (!h)
        return no_memory();
    // The full signed distance: blocks far apart (more than 2 GB) must not
    // reach the mover truncated or with the wrong sign.
    ptrdiff_t distance = reinterpret_cast<intptr_t>(h) - reinterpret_cast<intptr_t>(old);
    h->size = new_size + kHeaderWords;
    *anchor = body_of(h);
    if (distance != 0 && h->mover) {
        if (distance < 0)
            debug_log("!!!!XXX realloc down");
        h->mover(h->argument, distance);
    }
    return nullptr;
}

}  // namespace

memory_calls memory_os = {malloc, realloc, free};
const memory_calls memory_os_default = {malloc, realloc, free};

void memory_set_low_memory_handler(low_memory_handler handler) { low_memory = handler; }

const error_block *flex_new(void **anchor, int size)
{
    const error_block *e = raw_new(anchor, size);
    if (e && e->errnum == 2 && (e = ask_for_memory(e)) == nullptr)
        e = raw_new(anchor, size);
    debug_log("Alloc %d valid %d", size, 1);
    return e;
}

void flex_dispose(void **anchor)
{
    if (*anchor) {
        memory_os.release(header_of(*anchor));
        *anchor = nullptr;
    }
}

const error_block *flex_resize(void **anchor, int new_size)
{
    const error_block *e = raw_resize(anchor, new_size);
    if (e && e->errnum == 2 && (e = ask_for_memory(e)) == nullptr)
        e = raw_resize(anchor, new_size);
    return e;
}

int flex_length(void **anchor)
{
    return *anchor ? header_of(*anchor)->size - kHeaderWords : 0;
}

const error_block *flex_shift(void **anchor, int at, int by)
{
    if (!*anchor)
        return corrupt();
    int length = flex_length(anchor);
    if (at < 0 || at > length)
        return corrupt();
    if (by < 0) {
        int n = by < -at ? at : -by;
        char *base = static_cast<char *>(*anchor);
        memmove(base + at - n, base + at, length - at);
        // If the shrink fails the block keeps its place and allocation, but
        // its counted size is already the smaller one.
        if (raw_resize(anchor, length - n) != nullptr)
            header_of(*anchor)->size = length - n + kHeaderWords;
    } else if (by > 0) {
        if (by > kMaxUsable - length)
            return no_memory();
        if (const error_block *e = flex_resize(anchor, length + by))
            return e;
        char *base = static_cast<char *>(*anchor);
        memmove(base + at + by, base + at, length - at);
    }
    return nullptr;
}

// The chunk rule shared by flex and heap blocks: the new size, -1 when the
// current size already suits, or -2 when the size the rule asks for would
// pass `limit` (counted in 64 bits, so nothing wraps near the top).
static int64_t chunk_size(int current, int needed, int chunk, int64_t limit)
{
    int64_t wide_needed = needed;
    if (current > wide_needed && current <= wide_needed + chunk)
        return -1;
    int64_t size = (wide_needed / chunk + 1) * chunk;
    return size > limit ? -2 : size;
}

const error_block *flex_ensure(void **anchor, int needed, int chunk)
{
    if (needed < 0 || chunk <= 0)
        return corrupt();
    if (!*anchor)
        return flex_new(anchor, needed > chunk ? needed : chunk);
    int64_t size = chunk_size(flex_length(anchor), needed, chunk, kMaxUsable);
    if (size == -2)
        return no_memory();
    return size < 0 ? nullptr : flex_resize(anchor, static_cast<int>(size));
}

void flex_set_mover(void **anchor, flex_mover mover, void *argument)
{
    if (*anchor) {
        header_of(*anchor)->mover = mover;
        header_of(*anchor)->argument = argument;
    }
}

void flex_swap(void **anchor_a, void **anchor_b)
{
    void *t = *anchor_a;
    *anchor_a = *anchor_b;
    *anchor_b = t;
}

int flex_free_memory() { return 0x7FFFFFFF; }

const error_block *flex_init2() { return nullptr; }

void memory_check(const char *label)
{
    debug_log("Check memory %s valid %d", label, 1);
    debug_log("heap %s", memory_heap_valid() ? "OK" : "Bad");
}

static const error_block *heap_alloc(void **pointer, int size, bool clear)
{
    if (size < 0)
        return corrupt();
    size_t n = size == 0 ? 1 : size;
    void *p = memory_os.alloc(n);
    if (!p)
        return no_memory();
    if (clear)
        memset(p, 0, n);
    *pointer = p;
    return nullptr;
}

const error_block *heap_new(void **pointer, int size) { return heap_alloc(pointer, size, true); }

const error_block *heap_new_uncleared(void **pointer, int size)
{
    return heap_alloc(pointer, size, false);
}

void heap_dispose(void **pointer)
{
    if (*pointer) {
        memory_os.release(*pointer);
        *pointer = nullptr;
    }
}

const error_block *heap_resize(void **pointer, int size)
{
    if (size < 0)
        return corrupt();
    void *p = memory_os.resize(*pointer, size == 0 ? 1 : size);
    if (!p)
        return no_memory();
    *pointer = p;
    return nullptr;
}

const error_block *heap_ensure(void **pointer, int needed, int chunk)
{
    if (needed < 0 || chunk <= 0)
        return corrupt();
    if (!*pointer)
        return heap_new(pointer, needed > chunk ? needed : chunk);
    int64_t size = chunk_size(heap_block_size(*pointer), needed, chunk, INT32_MAX);
    if (size == -2)
        return no_memory();
    return size < 0 ? nullptr : heap_resize(pointer, static_cast<int>(size));
}
