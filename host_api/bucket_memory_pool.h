#pragma once

#include <cstdint>

#include "host_api/zel_unknown.h"

// A pool of small blocks in size classes, shared between the host and its modules. Every block carries an
// 8-byte header naming the allocator able to free it, so a block can be freed after its pool is gone.
class IBucketMemoryPool : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IBucketMemoryPool";

  // Frees every cached block and every free list; answers true.
  virtual bool releaseAll() = 0;
  // A block of at least size bytes; *capacity receives its usable size, which free must be given back.
  virtual void* allocate(int32_t size, uint32_t* capacity) = 0;
  // Takes a block back and nulls *block; false when *block is null or capacity is 0.
  virtual bool free(int32_t capacity, void** block) = 0;
  // Switches the size classes on or off; while off every block is allocated and freed directly.
  virtual void setEnabled(bool on) = 0;
};
