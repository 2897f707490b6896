#include "platform/event.h"

namespace platform {

void Event::set() {
  // Notified under the lock: a waiter may destroy the event as soon as it wakes, so set must be done with the
  // event by the time the waiter can run.
  std::lock_guard lock(mutex_);
  set_ = true;
  if (manual_) {
    changed_.notify_all();
  } else {
    changed_.notify_one();
  }
}

void Event::reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool Event::takeLocked() {
  if (!set_) return false;
  if (!manual_) set_ = false;
  return true;
}

void Event::wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return takeLocked(); });
}

bool Event::waitFor(uint32_t milliseconds) {
  std::unique_lock lock(mutex_);
  // A poll: a timed wait on the condition would still sleep out the system's timer slack.
  if (milliseconds == 0) return takeLocked();
  return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return takeLocked(); });
}

}  // namespace platform
