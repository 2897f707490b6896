#include "platform/clock.h"

#include <atomic>
#include <chrono>

namespace platform {
namespace {

std::atomic<bool> overridden{false};
std::atomic<uint64_t> overrideValue{0};

}  // namespace

uint64_t performanceCounter() {
  if (overridden.load(std::memory_order_acquire)) return overrideValue.load(std::memory_order_relaxed);
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

CounterOverride::CounterOverride(uint64_t value) {
  set(value);
  overridden.store(true, std::memory_order_release);
}

CounterOverride::~CounterOverride() {
  overridden.store(false, std::memory_order_release);
}

void CounterOverride::set(uint64_t value) {
  overrideValue.store(value, std::memory_order_relaxed);
}

}  // namespace platform
