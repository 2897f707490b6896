#include "host/core/host_unknown.h"

#include <atomic>

void HostUnknown::destroy(uint32_t flags) {
  if (flags & 1) {
    delete this;
    return;
  }
  this->~HostUnknown();
}

void HostUnknown::addRef() {
  std::atomic_ref<int32_t>(count_).fetch_add(1, std::memory_order_relaxed);
}

void HostUnknown::release() {
  if (std::atomic_ref<int32_t>(count_).fetch_sub(1, std::memory_order_acq_rel) == 1) destroy(1);
}

uint32_t HostUnknown::refCount() {
  return static_cast<uint32_t>(std::atomic_ref<int32_t>(count_).load(std::memory_order_relaxed));
}
