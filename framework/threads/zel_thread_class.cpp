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
  running_ = handle_.start([this] { threadBody(); });
  return running_;
}

void ZelThreadClass::wait() {
  if (handle_.isCurrent()) {
    reportAssertion("wait from another thread", kSource, 186);
    return;
  }
  handle_.join();
  running_ = false;
}
