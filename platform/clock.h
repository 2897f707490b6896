#pragma once

// The high-resolution counter: a monotonic clock in nanoseconds, so its frequency is 1e9 counts a second.
// Tests can fix the value it reads (CounterOverride). Safe on any thread.

#include <cstdint>

namespace platform {

inline constexpr int64_t kCounterFrequency = 1000000000;

// The current count; never goes back.
uint64_t performanceCounter();

// While one of these lives, performanceCounter answers the value it holds instead of the clock. One at a
// time.
class CounterOverride {
 public:
  explicit CounterOverride(uint64_t value);
  CounterOverride(const CounterOverride&) = delete;
  CounterOverride& operator=(const CounterOverride&) = delete;
  ~CounterOverride();

  void set(uint64_t value);
};

}  // namespace platform
