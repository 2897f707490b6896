#pragma once

#include <cstdint>

#include "host_api/zel_unknown.h"

namespace ZelMM {

// The host's memory manager: frees memory on request and keeps the pages of paged containers. Its counters
// are in units of 24 KiB.
class IZelMManager : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMManager";

  virtual void* allocatePage(uint64_t bytes, int32_t flag) = 0;
  virtual void freePage(void* page) = 0;
  // Gives memory back to the system; true when the caller should try its allocation again.
  virtual bool freeMemory() = 0;
  virtual uint32_t coreNow() = 0;
  virtual uint32_t coreLimit() = 0;
  virtual uint32_t swapNow() = 0;
  virtual uint32_t swapLimit() = 0;
};

}  // namespace ZelMM
