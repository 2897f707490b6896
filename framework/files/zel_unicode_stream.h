#pragma once

// ZelUnicodeStream: a writer of text files in the encoding the user's language chose. When the translation of
// "kvo:unicode" is "yes", every character is written as UTF-16 little-endian after the byte-order mark FF FE;
// otherwise each character below U+0100 is written as its one byte, any other as '?', and no mark. The text
// goes to a new version beside the file, in binary mode (line ends are the caller's), which takes the file's
// place on commit: a write that fails, or a stream dropped without commit, leaves the file as it was. One
// thread at a time.

#include <cstddef>

#include "basic_types/zel_string.h"
#include "platform/file_replacement.h"

class ZelUnicodeStream {
 public:
  explicit ZelUnicodeStream(const ZelString& path);

  // The mark first (wide mode, first text only), then the characters.
  ZelUnicodeStream& operator<<(const ZelString& text);
  // Each byte as one character.
  ZelUnicodeStream& operator<<(const char* text);
  // As ZelString::number formats it.
  ZelUnicodeStream& operator<<(double value);

  // False once the new version could not be made or a write failed.
  bool good();
  bool isNarrow() const { return narrow_; }
  // Whether the new version was made; false for a missing folder or a path that is no file.
  bool isOpen() { return file_.stream() != nullptr; }
  // Writes out the new version and puts it in the file's place; false, with the file as it was, when any
  // write failed.
  bool commit() { return file_.commit(); }

 private:
  void write(const char* bytes, size_t size);

  bool bomWritten_ = false;
  bool narrow_;
  FileReplacement file_;
};
