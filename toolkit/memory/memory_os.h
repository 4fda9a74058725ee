// What each platform half of the memory module provides.
#pragma once

// True when the platform's own check finds the process heap consistent.
bool memory_heap_valid();
