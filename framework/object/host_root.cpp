#include "framework/object/host_root.h"

#include <atomic>

namespace {
std::atomic<IZelRoot*> theHostRoot{nullptr};
}

IZelRoot* hostRoot() {
  return theHostRoot.load(std::memory_order_acquire);
}

void setHostRoot(IZelRoot* root) {
  theHostRoot.store(root, std::memory_order_release);
}
