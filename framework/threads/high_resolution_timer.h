#pragma once

// HighResolutionTimer: elapsed seconds from the high-resolution counter. The devices limit the rate of move
// events with it, and the device-event log stamps the milliseconds between events. A timer belongs to one
// thread at a time.

#include <cstdint>

class HighResolutionTimer {
 public:
  HighResolutionTimer();

  // Starts (or restarts) the timer at the current count.
  void start();
  // Holds the current count as the end; elapsedSeconds then stays fixed until the next start.
  void stop();
  // Seconds from the start to now while running, else to the stop. A timer never started reads 0.
  double elapsedSeconds() const;

 private:
  bool running_ = false;
  uint64_t startCount_ = 0;
  uint64_t stopCount_ = 0;
  double secondsPerTick_;
  double secondsPerHighUnit_;  // the seconds of 2^32 ticks
};
