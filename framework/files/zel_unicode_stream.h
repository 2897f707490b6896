#pragma once

// ZelUnicodeStream: a writer of text files in the encoding the user's language chose. When the translation of
// "kvo:unicode" is "yes", every character is written as UTF-16 little-endian after the byte-order mark FF FE;
// otherwise each character below U+0100 is written as its one byte, any other as '?', and no mark. The file
// is created or emptied and written in binary mode: line ends are the caller's. One thread at a time.

#include <memory>

#include "basic_types/zel_string.h"
#include "framework/files/zel_fstream.h"

class ZelUnicodeStream {
 public:
  explicit ZelUnicodeStream(const ZelString& path);

  // The mark first (wide mode, first text only), then the characters.
  ZelUnicodeStream& operator<<(const ZelString& text);
  // Each byte as one character.
  ZelUnicodeStream& operator<<(const char* text);
  // As ZelString::number formats it.
  ZelUnicodeStream& operator<<(double value);

  // False once the file could not be opened or a write failed.
  bool good() const { return stream_->good(); }
  bool isNarrow() const { return narrow_; }

 private:
  bool bomWritten_ = false;
  bool narrow_;
  std::unique_ptr<ZelOfstream> stream_;
};
