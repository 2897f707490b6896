#include "devices/event_log/log_output.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "devices/event_log/log_bytes.h"
#include "framework/files/zel_path.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
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
  if (written_ == 0 && !failed_) {
    leaveNoEmptyFile();
  } else if (fd_ >= 0 && platform::closeFile(std::exchange(fd_, -1)) != 0) {
    fail("closing the file failed; its last records may be lost");
  }
}

void FileOutput::write(const ZelString& text) {
  if (failed_) return;
  appendAsText(held_, text);
  heldEnds_.push_back(held_.size());
  if (held_.size() >= kBatchBytes) writeHeldRecords();
}

bool FileOutput::open() {
  if (fd_ >= 0) return true;
  fd_ = platform::openFile(std::u16string_view(path_.c_str(), static_cast<size_t>(path_.length())),
                           platform::kWriteOnly | platform::kCreate | platform::kTruncate | platform::kBinary,
                           platform::kPermitRead | platform::kPermitWrite);
  made_ = fd_ >= 0;
  if (made_) return true;
  fail("the file cannot be created; every record is dropped");
  return false;
}

void FileOutput::writeHeldRecords() {
  if (failed_ || held_.empty() || !open()) return;
  const int64_t done = platform::writeFile(fd_, held_.data(), held_.size());
  if (done == static_cast<int64_t>(held_.size())) {
    written_ += held_.size();
    held_.clear();
    heldEnds_.clear();
    return;
  }
  keepWholeRecords(done);
  fail(
      "the system took only part of a batch (a full disk, for one); the file keeps the whole records it "
      "took, and the records from here on are dropped");
}

void FileOutput::keepWholeRecords(int64_t done) {
  const size_t took = done > 0 ? static_cast<size_t>(done) : 0;
  const auto beyond = std::upper_bound(heldEnds_.begin(), heldEnds_.end(), took);
  const size_t whole = beyond == heldEnds_.begin() ? 0 : *std::prev(beyond);
  // What went out past the last whole record ends in the middle of one.
  if (took > whole && platform::truncateFile(fd_, written_ + whole) != 0) return;
  written_ += whole;
}

void FileOutput::fail(const char* what) {
  const std::string message = "Device event log " + logBytes(path_) + ": " + what + ".\n";
  std::fwrite(message.data(), 1, message.size(), stderr);
  if (fd_ >= 0) platform::closeFile(fd_);
  fd_ = -1;
  failed_ = true;
  held_.clear();
  heldEnds_.clear();
  if (written_ == 0) return leaveNoEmptyFile();
  // The recording that names the file must not end as if it held every record.
  SPtr<IGuiLogger> logger;
  if (IGuiLoggerReports* reports = queryPart<IGuiLoggerReports>(logger.get()))
    reports->reportUnwrittenFile(path_);
}

void FileOutput::leaveNoEmptyFile() {
  if (fd_ >= 0) platform::closeFile(std::exchange(fd_, -1));
  if (made_) platform::unlinkFile(std::u16string_view(path_.c_str(), static_cast<size_t>(path_.length())));
  made_ = false;
  SPtr<IGuiLogger> logger;
  if (IGuiLoggerReports* reports = queryPart<IGuiLoggerReports>(logger.get()))
    return reports->reportEmptyFile(path_);
  // A host that is not told must not leave the user thinking the log that names the file replays.
  const std::string message =
      "Device event log " + logBytes(path_) + ": it holds no record and is not there.\n";
  std::fwrite(message.data(), 1, message.size(), stderr);
}
