#include "host/devices/host_log_format.h"

#include <new>
#include <string>

#include "host/core/field_escape.h"
#include "platform/file.h"
#include "platform/text_encoding.h"
#include "platform/utf8.h"

namespace {

constexpr char kSeparator = '\t';

bool isUtf8(const std::string& bytes) {
  return platform::toUtf8(platform::fromUtf8(bytes)) == bytes;
}

}  // namespace

std::string encodeLogRecord(std::string_view kind, std::u16string_view text) {
  return escapeField(kind) + kSeparator + escapeField(platform::toUtf8(text)) + '\n';
}

std::optional<HostLogRecord> decodeLogRecord(std::string_view line) {
  // The host's texts end at a zero: one inside a record would cut what follows off unseen.
  if (line.find('\0') != std::string_view::npos) return std::nullopt;
  size_t separator = line.find(kSeparator);
  if (separator == std::string_view::npos) return std::nullopt;
  std::optional<std::string> kind = unescapeField(line.substr(0, separator));
  std::optional<std::string> text = unescapeField(line.substr(separator + 1));
  if (!kind || kind->empty() || !text || !isUtf8(*text)) return std::nullopt;
  return HostLogRecord{std::move(*kind), platform::fromUtf8(*text)};
}

bool HostLogReader::open(const std::string& path) {
  // A directory opens, and would play as an empty log.
  bool regular = platform::fileKind(platform::fromUtf8(path)) == platform::FileKind::kRegular;
  if (regular) in_.open(path, std::ios::binary);
  lineNumber_ = 0;
  finished_ = !in_.is_open();
  return in_.is_open();
}

HostLogReader::LineEnd HostLogReader::readLine(std::string& line) {
  std::streambuf* bytes = in_.rdbuf();
  line.clear();
  for (;;) {
    const int byte = bytes->sbumpc();
    if (byte == std::char_traits<char>::eof()) return line.empty() ? LineEnd::kNone : LineEnd::kCut;
    if (byte == '\n') return LineEnd::kFeed;
    if (line.size() == kLongestLine) return LineEnd::kTooLong;
    line.push_back(static_cast<char>(byte));
  }
}

HostLogReader::Status HostLogReader::next(HostLogRecord& record) {
  if (finished_) return Status::kEnd;
  // Memory running out for one line is that line's failure, said as such: not the end of the log.
  try {
    return readRecord(record);
  } catch (const std::bad_alloc&) {
    return damaged(lineNumber_ + 1, "cannot be read: memory ran out");
  }
}

HostLogReader::Status HostLogReader::readRecord(HostLogRecord& record) {
  std::string line;
  const LineEnd end = readLine(line);
  if (end == LineEnd::kNone) {
    finished_ = true;
    return Status::kEnd;
  }
  if (end == LineEnd::kTooLong) {
    return damaged(lineNumber_ + 1, "is longer than " + std::to_string(kLongestLine >> 20) + " MiB");
  }
  // An editor's UTF-16 or UTF-32 shows in the first line already, and no line of the log reads after it.
  if (const char* refusal = lineNumber_ == 0 ? platform::encodingRefusal(line) : nullptr) {
    return damaged(1, std::string("cannot be read: ") + refusal);
  }
  std::optional<HostLogRecord> decoded = end == LineEnd::kFeed ? decodeLogRecord(line) : std::nullopt;
  // An editor that saved the log with CR LF line ends puts a raw carriage return at the end of every line.
  if (!decoded && end == LineEnd::kFeed && line.ends_with('\r')) {
    return damaged(lineNumber_ + 1, "is damaged: it ends in CR LF, and the log's lines end in LF alone");
  }
  if (!decoded) return damaged(lineNumber_ + 1, "is damaged");
  ++lineNumber_;
  record = std::move(*decoded);
  return Status::kRecord;
}

HostLogReader::Status HostLogReader::damaged(int64_t line, std::string why) {
  lineNumber_ = line;
  damage_ = std::move(why);
  finished_ = true;
  return Status::kDamaged;
}
