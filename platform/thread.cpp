#include "platform/thread.h"

#include <system_error>

namespace platform {

Thread::~Thread() {
  if (thread_.joinable() && isCurrent()) {
    thread_.detach();
    return;
  }
  join();
}

bool Thread::start(std::function<void()> body) {
  if (thread_.joinable()) return false;
  state_ = std::make_shared<State>();
  try {
    thread_ = std::thread([state = state_, body = std::move(body)] {
      // The body may destroy this object: not before start has finished with it.
      state->published.wait(false, std::memory_order_acquire);
      state->runner.store(std::this_thread::get_id(), std::memory_order_release);
      body();
      state->finished.store(true, std::memory_order_release);
    });
  } catch (const std::system_error&) {
    return false;
  }
  std::shared_ptr<State> state = state_;
  state->published.store(true, std::memory_order_release);
  state->published.notify_one();
  return true;
}

void Thread::join() {
  if (isCurrent() || !thread_.joinable()) return;
  thread_.join();
  // A later thread may be given the same id.
  state_->runner.store(std::thread::id(), std::memory_order_release);
}

}  // namespace platform
