#include "host/devices/host_gui_logger.h"

#include <unistd.h>

#include <cstdio>
#include <utility>

#include "framework/object/query_chain.h"
#include "host/core/module_path.h"
#include "host/devices/host_log_format.h"
#include "platform/file.h"
#include "platform/utf8.h"

namespace {

constexpr const char* kUnrecordedAcquisition = "an acquisition was not recorded in the host log";
constexpr const char* kNothingPlaced = ": the log holds no record and is not put in place";
constexpr const char* kNotPlaced = ": the log is not put in place";

std::string unwrittenFileText(const std::string& file) {
  return "the device event file '" + file + "' of the host log could not be written whole";
}

std::string emptyFileText(const std::string& file) {
  return "the device event file '" + file + "' of the host log holds no record";
}

}  // namespace

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
  const std::unique_ptr<FileReplacement> log = std::move(log_);
  const std::string failure = recordingFailureLocked();
  // A log that names an event file without a record does not replay, and a failed recording without a record
  // has nothing to replay: the file there stays as it was.
  const bool namesEmptyFile = !emptyFile_.empty();
  const bool places = !namesEmptyFile && (failure.empty() || holdsRecords_);
  const bool placed = log && places && log->commit();
  placedLog_ = placedLog_ || placed;
  // A file that no log names would never be replayed, nor known for what it is.
  if (!placed) {
    for (const auto& file : eventFiles_) ::unlink(file->path().c_str());
  }
  eventFiles_.clear();
  path_.clear();
  suspended_ = false;
  holdsRecords_ = false;
  unwrittenFile_.clear();
  emptyFile_.clear();
  unrecorded_ = false;
  if (placed && failure.empty()) return true;
  if (!why) return false;
  if (places) {
    *why = placed ? failure : kUnwrittenLog;
  } else {
    *why = failure + (namesEmptyFile ? kNotPlaced : kNothingPlaced);
  }
  return false;
}

std::string HostGuiLogger::recordingFailureLocked() const {
  if (!emptyFile_.empty()) return emptyFileText(emptyFile_);
  if (!unwrittenFile_.empty()) return unwrittenFileText(unwrittenFile_);
  if (unrecorded_) return kUnrecordedAcquisition;
  return {};
}

void HostGuiLogger::reportEventFile(const ZelString& path) {
  auto file = std::make_unique<platform::UnfinishedFile>(platform::systemPath(path.c_str()));
  std::lock_guard lock(mutex_);
  if (!path_.empty()) eventFiles_.push_back(std::move(file));
}

void HostGuiLogger::reportUnwrittenFile(const ZelString& path) {
  reportFile(path, &HostGuiLogger::unwrittenFile_, unwrittenFileText);
}

void HostGuiLogger::reportEmptyFile(const ZelString& path) {
  reportFile(path, &HostGuiLogger::emptyFile_, emptyFileText);
}

void HostGuiLogger::reportFile(const ZelString& path, std::string HostGuiLogger::*first,
                               std::string (*text)(const std::string& file)) {
  std::string shown = platform::systemPath(path.c_str());
  std::string late;
  {
    std::lock_guard lock(mutex_);
    if (!path_.empty()) {
      if ((this->*first).empty()) (this->*first).swap(shown);
      return;
    }
    if (!placedLog_) return;
    late = text(shown) + " after the recording ended";
    if (lateFailure_.empty()) lateFailure_ = late;
  }
  errors_.report(ZelString(platform::fromUtf8(late).c_str()), 1, emptyZelCString());
}

void HostGuiLogger::reportUnrecordedAcquisition() {
  std::lock_guard lock(mutex_);
  if (!path_.empty()) unrecorded_ = true;
}

std::string HostGuiLogger::lateFailure() {
  std::lock_guard lock(mutex_);
  return lateFailure_;
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
  return givenPathOf(path_);
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
  return writeLine(encodeLogRecord(kind.c_str(), text.c_str()), true);
}

bool HostGuiLogger::recordShownError(const ZelString& message) {
  return writeLine(encodeLogRecord(kErrorShownRecord, message.c_str()), false);
}

bool HostGuiLogger::writeLine(const std::string& line, bool ofTheWork) {
  std::lock_guard lock(mutex_);
  if (path_.empty() || suspended_) return false;
  std::FILE* stream = log_->stream();
  holdsRecords_ = holdsRecords_ || ofTheWork;  // a record written in part is one the log holds, damaged
  return std::fwrite(line.data(), 1, line.size(), stream) == line.size() && std::fflush(stream) == 0;
}

void HostGuiLogger::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IGuiLogger>(this)
      .offer<IGuiLoggerReports>(this)
      .end();
}
