#pragma once

// The counting of a host object that one thread alone ever sees, as a DOM document and the elements and
// iterators it hands out: a plain count, without the atomic operation a shared object pays for every
// reference taken or given up, and visible to the class's own code, which counts without a call. A walk over
// a large document takes and gives up references several times per node.

#include "host/core/host_unknown.h"

class ThreadBoundUnknown : public HostUnknown {
 public:
  void addRef() final { ++count_; }
  void release() final {
    if (--count_ == 0) destroy(1);
  }
  uint32_t refCount() final { return static_cast<uint32_t>(count_); }
};
