#pragma once

// Where the device-event log writer puts its records: the process's standard error stream (ConsoleOutput,
// a writer's output until it is given a file) or a file (FileOutput). Each record is written as its bytes
// (log_bytes.h) with nothing added. An output belongs to its writer and to the writer's thread.

#include "basic_types/zel_string.h"
#include "framework/files/zel_fstream.h"

class OutputBase {
 public:
  OutputBase() = default;
  OutputBase(const OutputBase&) = delete;
  OutputBase& operator=(const OutputBase&) = delete;
  virtual ~OutputBase() = default;

  virtual void write(const ZelString& text) = 0;
};

class ConsoleOutput : public OutputBase {
 public:
  void write(const ZelString& text) override;
};

// Creates the file, or empties it, when constructed; in text mode, so a line feed is stored as CR LF. A file
// that cannot be opened drops every record: logging never stops an acquisition.
class FileOutput : public OutputBase {
 public:
  explicit FileOutput(const ZelString& path);
  // Writes what is pending and closes the file.
  ~FileOutput() override = default;

  void write(const ZelString& text) override;
  bool isOpen() const { return stream_.isOpen(); }

 private:
  ZelOfstream stream_;
};
