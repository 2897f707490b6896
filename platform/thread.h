#pragma once

// An operating-system thread that its owner starts once and joins. It is never killed: forcing a thread to
// end while it may hold a lock would leave the lock held for good. Destroying a Thread joins it, except on
// the thread itself (its body destroyed the object that holds it): a thread cannot wait for its own end, so
// it is detached and ends on its own once the body returns. A Thread is driven by one owner thread;
// finished() and isCurrent() may be read from any thread.

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace platform {

class Thread {
 public:
  Thread() = default;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  ~Thread();

  // Runs body on a new thread. False when the system cannot make one, or when a thread is still held (join it
  // first). The body starts once start no longer touches this object, so it may destroy it; the caller then
  // must not touch it after a true answer either, unless it knows the body has not done so.
  bool start(std::function<void()> body);
  // Waits for the thread to end; nothing when none is held or when called on the thread itself (a thread
  // cannot wait for its own end).
  void join();
  // True from a successful start until join has seen the thread end.
  bool held() const { return thread_.joinable(); }
  // True once the body has returned.
  bool finished() const { return state_->finished.load(std::memory_order_acquire); }
  // True on the thread itself. Safe on any thread.
  bool isCurrent() const {
    return state_->runner.load(std::memory_order_acquire) == std::this_thread::get_id();
  }

 private:
  // Shared with the running thread, so that a thread that outlives its Thread object (detached by the
  // destructor) still has somewhere to record its end.
  struct State {
    std::atomic<bool> published{false};  // set once start no longer touches the Thread
    std::atomic<bool> finished{false};
    // The running thread's id, which the thread stores itself: the owner is still moving thread_ into place
    // when the thread starts.
    std::atomic<std::thread::id> runner{};
  };

  std::thread thread_;  // touched by the owner only
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace platform
