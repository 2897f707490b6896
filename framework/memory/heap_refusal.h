#pragma once

// A test hook on the C heap behind kvoMalloc and kvoRealloc. A machine that has really run out of memory
// cannot be had on demand, so while a HeapRefusal lives the chosen heap calls refuse every request of at
// least `fromBytes` bytes, as an exhausted heap would, and the allocation layer's fallbacks run. Smaller
// requests (the out-of-memory report's own strings) are still served. One at a time; safe on any thread.

#include <cstdint>

class HeapRefusal {
 public:
  enum class Calls {
    kRealloc,           // resizing an existing block fails; fresh blocks are served
    kReallocAndMalloc,  // nothing of that size can be had at all
  };

  HeapRefusal(Calls calls, uint64_t fromBytes);
  HeapRefusal(const HeapRefusal&) = delete;
  HeapRefusal& operator=(const HeapRefusal&) = delete;
  ~HeapRefusal();
};

// Whether the heap is to refuse a request of this size now: a resize of an existing block (resize true) or a
// fresh block.
bool heapRefuses(uint64_t bytes, bool resize);
