#include "devices/event_log/log_output.h"

#include <cstdio>
#include <string>

#include "devices/event_log/log_bytes.h"
#include "framework/files/zel_path.h"

void ConsoleOutput::write(const ZelString& text) {
  std::string bytes = logBytes(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
}

FileOutput::FileOutput(const ZelString& path)
    : stream_(ZelPath::directoryForm(path), std::ios_base::out | std::ios_base::trunc) {
  stream_.rdbuf()->pubsetbuf(nullptr, 0);
  held_.reserve(kBatchBytes);
}

FileOutput::~FileOutput() {
  writeHeldRecords();
}

void FileOutput::write(const ZelString& text) {
  if (!stream_.good()) return;
  appendLogBytes(held_, text);
  if (held_.size() >= kBatchBytes) writeHeldRecords();
}

void FileOutput::writeHeldRecords() {
  if (held_.empty() || !stream_.good()) return;
  stream_.write(held_.data(), static_cast<std::streamsize>(held_.size()));
  held_.clear();
}
