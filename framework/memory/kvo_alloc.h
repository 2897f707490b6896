#pragma once

// The raw memory of the foundation's own containers. These calls never hand a failure back: when the C heap
// refuses, they ask the host's memory manager to give memory back and try again, a growing block settles for
// less than it asked and, as a last resort, its contents wait in a private temporary file (the host's "temp"
// directory) while the old block is freed and the new one allocated. When nothing helps the out-of-memory
// policy ends the process with exit code -1; contents are never lost or cut short on the way.
// Sizes are element size times element count, computed in 64 bits; a product that does not fit is out of
// memory, never a short block. Safe on any thread.

#include <cstdint>

// Stores a new block of elementSize * count bytes (contents undefined) in *out and answers count. A request
// of 0 bytes may store null.
int32_t kvoMalloc(void** out, int32_t elementSize, int32_t count);

// Changes the block *inOut, which holds curCount elements, to hold between minNewCount and maxNewCount
// elements (maxNewCount -1: exactly minNewCount) and answers the count it now holds. Bytes gained by growing
// an existing block are zero; a first block is not cleared. A request that cannot be met in full keeps the
// old block intact until a smaller one is found.
int32_t kvoRealloc(void** inOut, int32_t elementSize, int32_t curCount, int32_t minNewCount,
                   int32_t maxNewCount);

// Frees a block from kvoMalloc, kvoRealloc or kvoTryMalloc; null is ignored.
void kvoFree(void* block);

// A block of elementSize * count bytes, or null when the heap refuses it at once: no memory manager, no
// report. For callers that have a way on without the block and must not end the process (a release).
void* kvoTryMalloc(int32_t elementSize, int32_t count);
