#pragma once

#include <cstdint>

#include "host_api/zel_unknown.h"

// The host's view of the system's memory, for the out-of-memory report.
class IMemChecker : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IMemChecker";

  // False when the host cannot read the figures.
  virtual bool isAvailable() = 0;
  // The free and total physical memory and swap, in bytes divided by divisor (a divisor of 0 is taken as 1).
  virtual void query(uint64_t* systemFree, uint64_t* systemTotal, uint64_t* swapFree, uint64_t* swapTotal,
                     int32_t divisor) = 0;
};
