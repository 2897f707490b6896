#include "platform/thread.h"

#include <system_error>

namespace platform {

bool Thread::start(std::function<void()> body) {
  if (thread_.joinable()) return false;
  finished_.store(false, std::memory_order_relaxed);
  try {
    thread_ = std::thread([this, body = std::move(body)] {
      runner_.store(std::this_thread::get_id(), std::memory_order_release);
      body();
      finished_.store(true, std::memory_order_release);
    });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void Thread::join() {
  if (isCurrent() || !thread_.joinable()) return;
  thread_.join();
  // A later thread may be given the same id.
  runner_.store(std::thread::id(), std::memory_order_release);
}

}  // namespace platform
