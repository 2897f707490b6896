#pragma once

#include <atomic>
#include <thread>

namespace platform {

// A lock for sections of a few instructions, where a mutex would cost more than the work it guards. Not
// recursive; a waiter yields its time slice rather than burn it. Never hold it across a call that may block
// or take it again.
class SpinLock {
 public:
  constexpr SpinLock() = default;
  SpinLock(const SpinLock&) = delete;
  SpinLock& operator=(const SpinLock&) = delete;

  void lock() {
    while (held_.exchange(true, std::memory_order_acquire)) {
      while (held_.load(std::memory_order_relaxed)) std::this_thread::yield();
    }
  }
  void unlock() { held_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> held_{false};
};

}  // namespace platform
