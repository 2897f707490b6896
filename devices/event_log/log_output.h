#pragma once

// Where the device-event log writer puts its records: the process's standard error stream (ConsoleOutput,
// a writer's output until it is given a file) or a file (FileOutput). Each record is written as its bytes
// (log_bytes.h) with nothing added. An output belongs to its writer and to the writer's thread.

#include <cstddef>
#include <string>
#include <vector>

#include "basic_types/zel_string.h"

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

// Creates the file, or empties it, with its first batch: a host killed before then leaves no empty file that
// no finished recording names. A line feed is stored as CR LF, as a text-mode file stores it.
//
// Records are held back and written in batches of whole records, one system call per kBatchBytes or so
// rather than one or two every few records. A crash of the process loses the records of the last batch at
// most (a fraction of a second of moves), never a part of a record: a record cut off at the end would make
// the whole log unplayable, so the file always ends where a record ends. A batch the system takes only in
// part (a full disk) is cut back to the last whole record it took, the failure is told on the standard error
// stream and to the host's log (IGuiLoggerReports::reportUnwrittenFile), and the records from then on are dropped.
// A file that cannot be created drops every record in the same way: logging never stops an acquisition.
//
// A file that holds no record when its writer goes (the acquisition delivered none, or none could be
// written) would not replay: it is removed, or never made, and the host's log, which names it, is told
// (IGuiLoggerReports::reportEmptyFile). Nothing is flushed to the disk itself: what the system holds of the file
// outlives the process, not the machine.
class FileOutput : public OutputBase {
 public:
  static constexpr size_t kBatchBytes = 16 * 1024;

  explicit FileOutput(const ZelString& path);
  // Writes the records held back and closes the file.
  ~FileOutput() override;

  void write(const ZelString& text) override;

 private:
  // Creates the file unless it is open; false, having failed, when it cannot be.
  bool open();
  void writeHeldRecords();
  // Keeps the whole records of a batch the system took in part, done bytes of it.
  void keepWholeRecords(int64_t done);
  // Tells the standard error stream and the host's log what failed, and drops every record from now on.
  void fail(const char* what);
  // Removes the file that took no record, and tells the host's log.
  void leaveNoEmptyFile();

  ZelString path_;
  int32_t fd_ = -1;               // binary: every write is one batch of whole records, converted already
  bool made_ = false;             // the file was created by this output
  bool failed_ = false;           // every record from now on is dropped
  uint64_t written_ = 0;          // the bytes of the records in the file
  std::string held_;              // whole records not yet written
  std::vector<size_t> heldEnds_;  // where each record in held_ ends
};
