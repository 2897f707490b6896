#include "host/core/recording_assert_handler.h"

#include "framework/object/query_chain.h"

void RecordingAssertHandler::report(const char* expression, const char* file, int line) {
  std::lock_guard lock(mutex_);
  reports_.push_back({expression ? expression : "", file ? file : "", line});
}

std::vector<RecordingAssertHandler::Report> RecordingAssertHandler::reports() {
  std::lock_guard lock(mutex_);
  return reports_;
}

void RecordingAssertHandler::clear() {
  std::lock_guard lock(mutex_);
  reports_.clear();
}

void RecordingAssertHandler::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelAssertHandlerCB>(this).end();
}
