// POSIX half of the memory module: the allocator's own block size and heap
// validation (glibc offers none that is cheap; report the heap as sound).
#include <malloc.h>

#include "toolkit/memory/memory.h"
#include "toolkit/memory/memory_os.h"

int heap_block_size(void *block) { return block ? static_cast<int>(malloc_usable_size(block)) : 0; }

bool memory_heap_valid() { return true; }
