#include "framework/files/zel_unicode_stream.h"

#include <string>

#include "framework/translation/tr.h"

namespace {
constexpr char kByteOrderMark[] = {'\xFF', '\xFE'};
}  // namespace

ZelUnicodeStream::ZelUnicodeStream(const ZelString& path)
    : narrow_(!(tr("kvo:unicode") == ZelString(u"yes"))),
      stream_(std::make_unique<ZelOfstream>(path, std::ios_base::out | std::ios_base::binary)) {}

ZelUnicodeStream& ZelUnicodeStream::operator<<(const ZelString& text) {
  if (!bomWritten_) {
    if (!narrow_) stream_->write(kByteOrderMark, sizeof kByteOrderMark);
    bomWritten_ = true;
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.length()) * 2);
  for (const char16_t* unit = text.c_str(); *unit; ++unit) {
    bytes += static_cast<char>(*unit & 0xFF);
    if (!narrow_) bytes += static_cast<char>(*unit >> 8);
  }
  stream_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return *this;
}

ZelUnicodeStream& ZelUnicodeStream::operator<<(const char* text) {
  return *this << ZelString(text);
}

ZelUnicodeStream& ZelUnicodeStream::operator<<(double value) {
  return *this << ZelString::number(value);
}
