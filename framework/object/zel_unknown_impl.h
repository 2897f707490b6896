#pragma once

// The one implementation of counting and destruction that every object of this code base shares. A class
// derives from its interfaces and from ZelUnknownImpl; since all of them share the virtual IZelUnknown base,
// these operations are the final overriders, and the class writes only queryInterface and className.
//
// Counting: before the host root is known each object counts for itself, and a destroyed object's count reads
// -42; once the root is known, every change goes through it and the root decides when an object dies.

#include "host_api/zel_unknown.h"

// The count a locally counted object is left with when it is destroyed.
inline constexpr int32_t kDestroyedCount = -42;

class ZelUnknownImpl : public virtual IZelUnknown {
 public:
  void destroy(uint32_t flags) override;
  void addRef() override;
  void release() override;
  uint32_t refCount() override;
};
