#include "framework/object/zel_unknown_impl.h"

#include <atomic>

#include "framework/object/host_root.h"
#include "host_api/zel_root.h"

void ZelUnknownImpl::destroy(uint32_t flags) {
  if (flags & 1) {
    delete this;
    return;
  }
  this->~ZelUnknownImpl();
}

void ZelUnknownImpl::addRef() {
  if (IZelRoot* root = hostRoot()) {
    root->addRef(&count_);
    return;
  }
  // Atomic even without a host, so that objects handed between threads before initialise stay sound.
  std::atomic_ref<int32_t>(count_).fetch_add(1, std::memory_order_relaxed);
}

void ZelUnknownImpl::release() {
  if (IZelRoot* root = hostRoot()) {
    if (root->release(&count_)) destroy(1);
    return;
  }
  if (std::atomic_ref<int32_t>(count_).fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  count_ = kDestroyedCount;
  destroy(1);
}

uint32_t ZelUnknownImpl::refCount() {
  return static_cast<uint32_t>(std::atomic_ref<int32_t>(count_).load(std::memory_order_relaxed));
}
