#pragma once

// The host's random numbers: one generator, shared by every user and safe on any thread. The same seed gives
// the same sequence of draws, on every machine.

#include <cstdint>

#include "host_api/zel_unknown.h"

class IZelRandom : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelRandom";

  virtual void seed(uint32_t seed) = 0;
  // A uniform draw between 0 (included) and upperBound (excluded; a negative bound mirrors the interval).
  virtual double uniform(double upperBound) = 0;
};
