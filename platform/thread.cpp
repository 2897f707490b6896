#include "platform/thread.h"

#include <system_error>

namespace platform {

bool Thread::start(std::function<void()> body) {
  if (thread_.joinable()) return false;
  finished_.store(false, std::memory_order_relaxed);
  try {
    thread_ = std::thread([this, body = std::move(body)] {
      body();
      finished_.store(true, std::memory_order_release);
    });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void Thread::join() {
  if (!thread_.joinable() || isCurrent()) return;
  thread_.join();
}

}  // namespace platform
