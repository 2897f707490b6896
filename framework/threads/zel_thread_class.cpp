#include "framework/threads/zel_thread_class.h"

#include "framework/memory/assertion.h"

namespace {
constexpr const char* kSource = "kvothread";
}

ZelThreadClass::~ZelThreadClass() {
  if (handle_.held() && !handle_.finished()) reportAssertion("!running || finished", kSource, 203);
  handle_.join();
}

bool ZelThreadClass::start() {
  if (handle_.held()) {
    if (!handle_.finished()) {
      reportAssertion("!running", kSource, 146);
      return false;
    }
    handle_.join();
  }
  // Set before the thread exists: a thread may end by destroying this object, after which nothing here may
  // be touched.
  running_ = true;
  bool started = handle_.start([this] { threadBody(); });
  if (!started) running_ = false;
  return started;
}

void ZelThreadClass::wait() {
  if (handle_.isCurrent()) {
    reportAssertion("wait from another thread", kSource, 186);
    return;
  }
  handle_.join();
  running_ = false;
}
