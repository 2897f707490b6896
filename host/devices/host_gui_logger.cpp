#include "host/devices/host_gui_logger.h"

#include <cstdio>
#include <utility>

#include "framework/object/query_chain.h"
#include "host/core/module_path.h"
#include "host/devices/host_log_format.h"
#include "platform/file.h"

HostGuiLogger::~HostGuiLogger() {
  stopLocked();  // a log still recording keeps what it holds
}

bool HostGuiLogger::startRecording(const std::string& path) {
  auto log = std::make_unique<FileReplacement>(path);
  std::lock_guard lock(mutex_);
  stopLocked();
  if (!log->stream()) return false;
  log_ = std::move(log);
  path_ = path;
  return true;
}

bool HostGuiLogger::stopRecording(std::string* why) {
  std::lock_guard lock(mutex_);
  return stopLocked(why);
}

bool HostGuiLogger::stopLocked(std::string* why) {
  const bool kept = log_ && log_->commit();
  const std::string unwritten = std::exchange(unwrittenFile_, {});
  log_.reset();
  path_.clear();
  suspended_ = false;
  if (!kept) {
    if (why) *why = kUnwrittenLog;
    return false;
  }
  if (unwritten.empty()) return true;
  if (why) *why = "the device event file '" + unwritten + "' of the host log could not be written whole";
  return false;
}

void HostGuiLogger::reportUnwrittenFile(const ZelString& path) {
  std::string shown = platform::systemPath(path.c_str());
  std::lock_guard lock(mutex_);
  if (!path_.empty() && unwrittenFile_.empty()) unwrittenFile_.swap(shown);
}

bool HostGuiLogger::isRecording() {
  std::lock_guard lock(mutex_);
  return !path_.empty();
}

std::string HostGuiLogger::recordingPath() {
  std::lock_guard lock(mutex_);
  return path_;
}

ZelString HostGuiLogger::currentLogFile() {
  std::lock_guard lock(mutex_);
  return modulePathOf(path_);
}

void HostGuiLogger::suspend() {
  std::lock_guard lock(mutex_);
  suspended_ = !path_.empty();
}

void HostGuiLogger::resume() {
  std::lock_guard lock(mutex_);
  suspended_ = false;
}

bool HostGuiLogger::isSuspended() {
  std::lock_guard lock(mutex_);
  return suspended_;
}

bool HostGuiLogger::writeRecord(const ZelCString& kind, const ZelString& text) {
  if (kind.isEmpty()) return false;
  std::string line = encodeLogRecord(kind.c_str(), text.c_str());
  std::lock_guard lock(mutex_);
  if (path_.empty() || suspended_) return false;
  std::FILE* stream = log_->stream();
  return std::fwrite(line.data(), 1, line.size(), stream) == line.size() && std::fflush(stream) == 0;
}

void HostGuiLogger::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiLogger>(this).end();
}
