// Flex blocks and heap blocks: the toolkit's memory.
//
// A flex block is a growable block reached through an anchor: a `void*`
// variable owned by the caller that the toolkit updates whenever the block
// moves. Read the block through the anchor every time; never keep its
// address across a call that can resize it. Keep offsets, not pointers.
// An anchor holding null has no block.
//
// Heap blocks are plain allocations reached through a pointer variable that
// the allocation calls fill.
//
// Errors: 2 "Not enough memory." when an allocation fails (the anchor and
// the old block stay as they were), 5 "Memory is corrupt!" for a negative
// size or an offset outside the block.
#pragma once
#include <cstddef>

struct error_block;

// Called after a block with a mover has moved: (argument, signed distance
// in bytes from the old address to the new one). Must not fail.
typedef void (*flex_mover)(void *argument, ptrdiff_t distance);

// Asked to free memory when an allocation fails; receives 0. Returning null
// means "try again", returning an error gives that error to the caller.
typedef const error_block *(*low_memory_handler)(int);

const error_block *flex_new(void **anchor, int size);
void flex_dispose(void **anchor);
const error_block *flex_resize(void **anchor, int new_size);
const error_block *flex_shift(void **anchor, int at, int by);
const error_block *flex_ensure(void **anchor, int needed, int chunk);
int flex_length(void **anchor);
void flex_set_mover(void **anchor, flex_mover mover, void *argument);
void flex_swap(void **anchor_a, void **anchor_b);
int flex_free_memory();
const error_block *flex_init2();

void memory_set_low_memory_handler(low_memory_handler handler);
void memory_check(const char *label);

const error_block *heap_new(void **pointer, int size);
const error_block *heap_new_uncleared(void **pointer, int size);
void heap_dispose(void **pointer);
const error_block *heap_resize(void **pointer, int size);
const error_block *heap_ensure(void **pointer, int needed, int chunk);
int heap_block_size(void *block);

// The raw allocator calls, one table so that tests can make them fail.
struct memory_calls {
    void *(*alloc)(size_t size);      // malloc: null on failure
    void *(*resize)(void *p, size_t size);  // realloc: null on failure, p kept
    void (*release)(void *p);         // free
};
extern memory_calls memory_os;       // current calls (tests may replace them)
extern const memory_calls memory_os_default;

// Typed view of a flex block through its anchor.
template <class T> inline T *flex_ptr(void *anchor) { return static_cast<T *>(anchor); }
