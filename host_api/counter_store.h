#pragma once

// The host's named counters (for example the numbering of device-event files). Safe on any thread.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "host_api/zel_unknown.h"

class ICounter : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ICounter";

  // Back to the counter's reset value.
  virtual void reset() = 0;
  virtual int32_t value() = 0;
  // Adds the counter's step.
  virtual void increment() = 0;
};

class ICounterStore : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ICounterStore";

  // A counter that starts at resetValue and goes up by step. False, leaving the counter as it is, when the
  // name is empty or already taken.
  virtual bool create(const ZelCString& name, int32_t step, int32_t resetValue) = 0;
  // The counter of that name, without a reference for the caller (the store keeps it for its whole life),
  // or null.
  virtual ICounter* find(const ZelCString& name) = 0;
};
