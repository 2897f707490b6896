#pragma once

// ZelCString: the narrow string that carries interface names, class names, settings keys and other ASCII
// identifiers. Most instances borrow a literal (capacity 0) and cost no allocation; an owned text lives in a
// pool buffer. The length is never stored: it is found by scanning to the terminator. One string belongs to
// one thread at a time.

#include <cstdint>

class ZelCString {
 public:
  ZelCString() = default;
  // Borrows the text without copying: it must outlive the string (a literal, as a rule).
  explicit ZelCString(const char* literal) : text_(const_cast<char*>(literal)) {}
  // An owned copy of at most maxLength bytes of text; a null text gives the empty string.
  ZelCString(const char* text, int32_t maxLength);
  // A borrowed source stays borrowed; an owned one is copied.
  ZelCString(const ZelCString& other);
  ZelCString(ZelCString&& other) noexcept;
  ~ZelCString();

  ZelCString& operator=(const ZelCString& other);
  ZelCString& operator=(ZelCString&& other) noexcept;
  // An owned copy of text (null empties the string). Text inside this string's own buffer is copied first.
  ZelCString& operator=(const char* text);
  // As operator=, but reuses the owned buffer in place when the new text has the current length.
  void assign(const char* text);
  // Turns a borrowed text into an owned copy.
  void makeOwned();

  const char* data() const { return text_; }
  // Never null: the empty string reads as "".
  const char* c_str() const { return text_ ? text_ : ""; }
  int32_t length() const;
  bool isEmpty() const { return !text_ || !*text_; }
  bool isBorrowed() const { return text_ && capacity_ == 0; }
  uint32_t capacity() const { return capacity_; }

  ZelCString& operator+=(const char* text);
  void append(char c);
  // Replaces count bytes at pos with text; positions outside the string are clamped to it.
  void replace(int32_t pos, int32_t count, const char* text);
  // Index of the first occurrence of needle at or after start, or -1; an empty needle is found at 0.
  int32_t find(const char* needle, int32_t start) const;
  // Replaces every "%1" with text, left to right, continuing after each inserted text.
  void arg(const char* text);
  // At most count bytes from pos (clamped to the string).
  ZelCString mid(int32_t pos, int32_t count) const;
  ZelCString trimmed() const;
  // text followed by "DumpCounter", owned.
  static ZelCString concatDumpCounter(const char* text);

  friend bool operator==(const ZelCString& a, const ZelCString& b);

 private:
  void releaseBuffer();
  // Replaces the text with an owned copy of the first length bytes of source, which may lie in this buffer.
  void copyFrom(const char* source, int64_t length);

  char* text_ = nullptr;
  uint32_t capacity_ = 0;  // bytes of the owned buffer; 0 while borrowed or empty
};

// The shared empty narrow text, passed wherever an empty context text is needed.
const ZelCString& emptyZelCString();
