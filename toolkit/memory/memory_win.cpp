// Windows half of the memory module: the C runtime's block size and the
// process heap's own validation.
#include <windows.h>
#include <malloc.h>

#include "toolkit/memory/memory.h"
#include "toolkit/memory/memory_os.h"

int heap_block_size(void *block) { return block ? static_cast<int>(_msize(block)) : 0; }

bool memory_heap_valid() { return HeapValidate(GetProcessHeap(), 0, nullptr) != 0; }
