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
    : stream_(ZelPath::directoryForm(path), std::ios_base::out | std::ios_base::trunc) {}

void FileOutput::write(const ZelString& text) {
  if (!stream_.good()) return;
  std::string bytes = logBytes(text);
  stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
