#pragma once

#include <mutex>

namespace platform {

// A recursive lock, as the module's critical sections are: the thread that holds it may enter it again.
class CriticalSection {
 public:
  CriticalSection() = default;
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void enter() { mutex_.lock(); }
  void leave() { mutex_.unlock(); }

  // Lockable, so std::lock_guard and std::scoped_lock work on it.
  void lock() { enter(); }
  void unlock() { leave(); }

 private:
  std::recursive_mutex mutex_;
};

}  // namespace platform
