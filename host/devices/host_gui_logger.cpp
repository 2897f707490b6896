#include "host/devices/host_gui_logger.h"

#include "framework/object/query_chain.h"
#include "host/core/module_path.h"
#include "host/devices/host_log_format.h"

bool HostGuiLogger::startRecording(const std::string& path) {
  std::lock_guard lock(mutex_);
  stopLocked();
  file_.open(path, std::ios::binary | std::ios::trunc);
  if (!file_.is_open()) return false;
  path_ = path;
  return true;
}

void HostGuiLogger::stopRecording() {
  std::lock_guard lock(mutex_);
  stopLocked();
}

void HostGuiLogger::stopLocked() {
  if (file_.is_open()) file_.close();
  file_.clear();
  path_.clear();
  suspended_ = false;
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
  file_ << line << std::flush;
  return file_.good();
}

void HostGuiLogger::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiLogger>(this).end();
}
