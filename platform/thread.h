#pragma once

// An operating-system thread that its owner starts once and joins. It is never killed: forcing a thread to
// end while it may hold a lock would leave the lock held for good. Destroying a Thread joins it. A Thread is
// driven by one owner thread; finished() may be read from any thread.

#include <atomic>
#include <functional>
#include <thread>

namespace platform {

class Thread {
 public:
  Thread() = default;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  ~Thread() { join(); }

  // Runs body on a new thread. False when the system cannot make one, or when a thread is still held (join it
  // first).
  bool start(std::function<void()> body);
  // Waits for the thread to end; nothing when none is held or when called on the thread itself (a thread
  // cannot wait for its own end).
  void join();
  // True from a successful start until join has seen the thread end.
  bool held() const { return thread_.joinable(); }
  // True once the body has returned.
  bool finished() const { return finished_.load(std::memory_order_acquire); }
  // True on the thread itself. Safe on any thread.
  bool isCurrent() const { return runner_.load(std::memory_order_acquire) == std::this_thread::get_id(); }

 private:
  std::thread thread_;  // touched by the owner only
  std::atomic<bool> finished_{false};
  // The running thread's id, which the thread stores itself: the owner is still moving thread_ into place
  // when the thread starts.
  std::atomic<std::thread::id> runner_{};
};

}  // namespace platform
