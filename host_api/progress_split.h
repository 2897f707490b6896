#pragma once

// The host's progress display for a long task split into equal steps: shown from begin to finish. A new
// object per request. Main thread only.

#include <cstdint>

#include "host_api/zel_unknown.h"

class IZelProgressSplit : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelProgressSplit";

  virtual void begin(int32_t steps) = 0;
  // One step done; steps beyond the count are ignored.
  virtual void step() = 0;
  virtual void finish() = 0;
};
