#include "framework/files/zel_unicode_stream.h"

#include <cstdio>
#include <string>

#include "framework/translation/tr.h"
#include "platform/file.h"

namespace {

constexpr char kByteOrderMark[] = {'\xFF', '\xFE'};
// What the narrow form writes for a character beyond one byte, so that no other character stands in for it.
constexpr char kUnrepresentable = '?';

bool isHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The narrow form: each character below U+0100 as its one byte, every other one (a surrogate pair included)
// as one '?'.
void appendNarrow(const char16_t* text, std::string& bytes) {
  for (const char16_t* unit = text; *unit; ++unit) {
    if (*unit <= 0xFF) {
      bytes += static_cast<char>(*unit);
      continue;
    }
    bytes += kUnrepresentable;
    if (isHighSurrogate(unit[0]) && isLowSurrogate(unit[1])) ++unit;
  }
}

void appendWide(const char16_t* text, std::string& bytes) {
  for (const char16_t* unit = text; *unit; ++unit) {
    bytes += static_cast<char>(*unit & 0xFF);
    bytes += static_cast<char>(*unit >> 8);
  }
}

}  // namespace

ZelUnicodeStream::ZelUnicodeStream(const ZelString& path)
    : narrow_(!(tr("kvo:unicode") == ZelString(u"yes"))), file_(platform::systemPath(path.c_str())) {}

bool ZelUnicodeStream::good() {
  return file_.stream() && !std::ferror(file_.stream());
}

ZelUnicodeStream& ZelUnicodeStream::operator<<(const ZelString& text) {
  if (!bomWritten_) {
    if (!narrow_) write(kByteOrderMark, sizeof kByteOrderMark);
    bomWritten_ = true;
  }
  std::string bytes;
  if (narrow_) {
    appendNarrow(text.c_str(), bytes);
  } else {
    appendWide(text.c_str(), bytes);
  }
  write(bytes.data(), bytes.size());
  return *this;
}

void ZelUnicodeStream::write(const char* bytes, size_t size) {
  if (file_.stream()) std::fwrite(bytes, 1, size, file_.stream());
}

ZelUnicodeStream& ZelUnicodeStream::operator<<(const char* text) {
  return *this << ZelString(text);
}

ZelUnicodeStream& ZelUnicodeStream::operator<<(double value) {
  return *this << ZelString::number(value);
}
