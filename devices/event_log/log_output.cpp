#include "devices/event_log/log_output.h"

#include <cstdio>
#include <string>
#include <utility>

#include "devices/event_log/log_bytes.h"
#include "framework/files/zel_path.h"
#include "framework/object/iptr.h"
#include "host_api/host_log.h"
#include "platform/file.h"

void ConsoleOutput::write(const ZelString& text) {
  std::string bytes = logBytes(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
}

namespace {

// The record's bytes appended to held, each line feed as CR LF.
void appendAsText(std::string& held, const ZelString& text) {
  const size_t start = held.size();
  appendLogBytes(held, text);
  // Nearly every record is one line.
  if (held.find('\n', start) == std::string::npos) return;
  const std::string record = held.substr(start);
  held.resize(start);
  for (char c : record) {
    if (c == '\n') held += '\r';
    held += c;
  }
}

}  // namespace

FileOutput::FileOutput(const ZelString& path) : path_(ZelPath::directoryForm(path)) {
  held_.reserve(kBatchBytes);
}

FileOutput::~FileOutput() {
  writeHeldRecords();
  if (fd_ < 0) return;
  if (platform::closeFile(std::exchange(fd_, -1)) != 0)
    fail("closing the file failed; its last records may be lost");
}

void FileOutput::write(const ZelString& text) {
  if (failed_) return;
  appendAsText(held_, text);
  if (held_.size() >= kBatchBytes) writeHeldRecords();
}

bool FileOutput::open() {
  if (fd_ >= 0) return true;
  fd_ = platform::openFile(std::u16string_view(path_.c_str(), static_cast<size_t>(path_.length())),
                           platform::kWriteOnly | platform::kCreate | platform::kTruncate | platform::kBinary,
                           platform::kPermitRead | platform::kPermitWrite);
  if (fd_ >= 0) return true;
  fail("the file cannot be created; every record is dropped");
  return false;
}

void FileOutput::writeHeldRecords() {
  if (failed_ || !open() || held_.empty()) return;
  const int64_t done = platform::writeFile(fd_, held_.data(), held_.size());
  if (done == static_cast<int64_t>(held_.size())) {
    written_ += held_.size();
    held_.clear();
    return;
  }
  // What went out of the batch ends in the middle of a record.
  if (done > 0) platform::truncateFile(fd_, written_);
  fail(
      "the system took only part of a batch (a full disk, for one); the file ends with the last whole "
      "record before it, and the records from here on are dropped");
}

void FileOutput::fail(const char* what) {
  const std::string message = "Device event log " + logBytes(path_) + ": " + what + ".\n";
  std::fwrite(message.data(), 1, message.size(), stderr);
  // The recording that names the file must not end as if it held every record.
  SPtr<IGuiLogger> logger;
  if (logger) logger->reportUnwrittenFile(path_);
  if (fd_ >= 0) platform::closeFile(fd_);
  fd_ = -1;
  failed_ = true;
  held_.clear();
}
