#pragma once

// The host log file of the stand-in host: one record per line. The format is described in host_log_format.md
// beside this file. Encoding never fails; decoding tells a damaged line from a good one and never guesses.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

// The kind of the host's own record of an error shown to the user while recording, its text the message: a
// replay that shows the same errors reproduces what was recorded.
inline constexpr const char* kErrorShownRecord = "HostErrorShown";

struct HostLogRecord {
  std::string kind;     // narrow, never empty
  std::u16string text;  // may be empty
};

// The record's line, newline included.
std::string encodeLogRecord(std::string_view kind, std::u16string_view text);
// The record of one line given without its newline, or none when the line is damaged.
std::optional<HostLogRecord> decodeLogRecord(std::string_view line);

// Reads the records of a log file in order. Belongs to one thread at a time.
class HostLogReader {
 public:
  enum class Status { kRecord, kEnd, kDamaged };

  // Far above any record: a longer line is damage, and is never read whole into memory.
  static constexpr size_t kLongestLine = size_t{16} << 20;

  // False when the file cannot be read or is no regular file.
  bool open(const std::string& path);
  // The next record; kEnd after the last one; kDamaged for a line that is no record, a line longer than
  // kLongestLine, one that memory ran out for, or a last line cut short (without its newline). After kEnd or
  // kDamaged the reader reads nothing more.
  Status next(HostLogRecord& record);
  // The number of the last line read, from 1.
  int64_t lineNumber() const { return lineNumber_; }
  // After kDamaged, what is wrong with the line, as "line 7 is damaged" ends.
  const std::string& damage() const { return damage_; }

 private:
  enum class LineEnd { kNone, kFeed, kCut, kTooLong };
  LineEnd readLine(std::string& line);
  Status readRecord(HostLogRecord& record);
  // Ends the reading at that line, for that reason.
  Status damaged(int64_t line, std::string why);

  std::ifstream in_;
  std::string damage_;
  int64_t lineNumber_ = 0;
  bool finished_ = false;
};
