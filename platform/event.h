#pragma once

// A waitable event, as the module's queues and pacing use them. A manual-reset event stays set until reset
// and releases every waiter; an auto-reset event releases one waiter and clears itself as it does. Safe on
// any thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

class Event {
 public:
  enum class Reset { kAuto, kManual };

  explicit Event(Reset reset, bool initiallySet = false)
      : manual_(reset == Reset::kManual), set_(initiallySet) {}
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void set();
  void reset();
  // Waits until the event is set.
  void wait();
  // Waits at most the given milliseconds (0: looks without waiting); true when the event was set in time.
  bool waitFor(uint32_t milliseconds);

 private:
  // With the lock held: takes the signal an auto-reset event gives one waiter.
  bool takeLocked();

  const bool manual_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool set_;  // guarded by mutex_
};

}  // namespace platform
