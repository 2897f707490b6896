#include "framework/memory/heap_refusal.h"

#include <atomic>

namespace {

// 0: no refusal; otherwise 1 + the Calls value.
std::atomic<int> refusedCalls{0};
std::atomic<uint64_t> refusedFrom{0};

}  // namespace

HeapRefusal::HeapRefusal(Calls calls, uint64_t fromBytes) {
  refusedFrom.store(fromBytes, std::memory_order_relaxed);
  refusedCalls.store(1 + static_cast<int>(calls), std::memory_order_release);
}

HeapRefusal::~HeapRefusal() {
  refusedCalls.store(0, std::memory_order_release);
}

bool heapRefuses(uint64_t bytes, bool resize) {
  int calls = refusedCalls.load(std::memory_order_acquire);
  if (calls == 0 || bytes < refusedFrom.load(std::memory_order_relaxed)) return false;
  return resize || calls == 1 + static_cast<int>(HeapRefusal::Calls::kReallocAndMalloc);
}
