#include "framework/threads/high_resolution_timer.h"

#include "platform/clock.h"

HighResolutionTimer::HighResolutionTimer()
    : secondsPerTick_(1.0 / static_cast<double>(platform::kCounterFrequency)),
      secondsPerHighUnit_(secondsPerTick_ * 4294967296.0) {}

void HighResolutionTimer::start() {
  running_ = true;
  startCount_ = platform::performanceCounter();
}

void HighResolutionTimer::stop() {
  stopCount_ = platform::performanceCounter();
  running_ = false;
}

double HighResolutionTimer::elapsedSeconds() const {
  uint64_t end = running_ ? platform::performanceCounter() : stopCount_;
  // The difference in two 32-bit halves, so that a large count keeps the precision of its low half.
  auto endLow = static_cast<uint32_t>(end);
  auto startLow = static_cast<uint32_t>(startCount_);
  uint32_t low = endLow - startLow;
  auto high = static_cast<int32_t>(static_cast<uint32_t>(end >> 32) -
                                   static_cast<uint32_t>(startCount_ >> 32) - (endLow < startLow ? 1u : 0u));
  return high * secondsPerHighUnit_ + low * secondsPerTick_;
}
