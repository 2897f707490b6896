#pragma once

#include <atomic>
#include <thread>

namespace platform {

// A lock for sections of a few instructions, where a mutex would cost more than the work it guards. Not
// recursive. A waiter spins briefly, as the holder is usually about to let go, then yields its time slice
// rather than burn it (the holder may have been descheduled). Never hold it across a call that may block or
// take it again.
class SpinLock {
 public:
  constexpr SpinLock() = default;
  SpinLock(const SpinLock&) = delete;
  SpinLock& operator=(const SpinLock&) = delete;

  void lock() {
    int spins = 0;
    while (held_.exchange(true, std::memory_order_acquire)) {
      while (held_.load(std::memory_order_relaxed)) {
        if (++spins < kSpinsBeforeYield) {
          pause();
        } else {
          std::this_thread::yield();
        }
      }
    }
  }
  void unlock() { held_.store(false, std::memory_order_release); }

 private:
  // Longer than the sections it guards take (a pause lasts from a few to some hundred cycles, by processor).
  static constexpr int kSpinsBeforeYield = 100;

  static void pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
  }

  std::atomic<bool> held_{false};
};

}  // namespace platform
