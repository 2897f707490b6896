#include "host/core/recording_error_service.h"

#include <cstdio>
#include <utility>

#include "framework/object/query_chain.h"
#include "platform/utf8.h"

void RecordingErrorService::report(const ZelString& message, int32_t severity, const ZelCString& context) {
  std::u16string text(message.c_str());
  bool echo = false;
  std::function<void(const ZelString&)> witness;
  {
    std::lock_guard lock(mutex_);
    reports_.push_back({text, severity, context.c_str()});
    echo = echo_;
    witness = witness_;
  }
  if (echo) std::fprintf(stderr, "error: %s\n", platform::toUtf8(text).c_str());
  if (witness) witness(message);
}

std::vector<RecordingErrorService::Report> RecordingErrorService::reports() {
  std::lock_guard lock(mutex_);
  return reports_;
}

void RecordingErrorService::clear() {
  std::lock_guard lock(mutex_);
  reports_.clear();
}

void RecordingErrorService::setEcho(bool on) {
  std::lock_guard lock(mutex_);
  echo_ = on;
}

void RecordingErrorService::setWitness(std::function<void(const ZelString&)> witness) {
  std::lock_guard lock(mutex_);
  witness_ = std::move(witness);
}

void RecordingErrorService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelErrorService>(this).end();
}
