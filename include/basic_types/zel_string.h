#pragma once

// ZelString: the wide (UTF-16) string of the system. Every user-visible message, file path, parameter key and
// translated text is one, and it is the exception type that carries error text. A string made from a u""
// literal borrows it (no allocation); owned text lives in a pool buffer. Where the host offers its string
// support service "IZelStrSupport", narrow conversion, ordering, white space and number parsing are the
// host's. One string belongs to one thread at a time.

#include <cstdint>

#include "basic_types/zel_cstring.h"

template <class T>
class ZelCountedArray;

class ZelString {
 public:
  ZelString() = default;
  // Borrows the literal without copying: it must outlive the string.
  explicit ZelString(const char16_t* literal) : text_(const_cast<char16_t*>(literal)) {}
  // Each byte becomes one code unit of the same value (Latin-1); null gives the empty string.
  explicit ZelString(const char* narrow);
  explicit ZelString(char c);
  // An owned source is copied, a borrowed one borrowed again.
  ZelString(const ZelString& other);
  ZelString(ZelString&& other) noexcept;
  ~ZelString();

  ZelString& operator=(const ZelString& other);
  ZelString& operator=(ZelString&& other) noexcept;

  // Replaces the text: null empties it; n 0 borrows text, -1 copies all of it, another n the first n units.
  void setBuffer(const char16_t* text, int32_t n);
  // Replaces the text by the first n bytes of narrow (none for n <= 0), each one code unit of the same value
  // (Latin-1), as the constructor from bytes does, in the string's own buffer where it fits.
  void setNarrow(const char* narrow, int32_t n);

  const char16_t* data() const { return text_; }
  // Never null.
  const char16_t* c_str() const { return text_ ? text_ : u""; }
  int32_t length() const;
  bool isEmpty() const { return !text_ || !*text_; }
  bool isBorrowed() const { return text_ && capacity_ == 0; }

  friend bool operator==(const ZelString& a, const ZelString& b);
  // The host's ordering when it offers one; otherwise shorter first, then by the first differing unit.
  friend bool operator<(const ZelString& a, const ZelString& b);

  // True when the first n units of both strings exist and are equal (always true for n <= 0).
  bool equalsPrefix(const ZelString& other, int32_t n) const;
  int32_t find(const ZelString& needle, int32_t start) const;
  ZelString& operator+=(const ZelString& other);
  ZelString left(int32_t n) const;
  void truncate(int32_t n);
  ZelString mid(int32_t pos, int32_t count) const;
  // Removes count units at pos; pos + count must lie within the string.
  void remove(int32_t pos, int32_t count);
  // Units [0, from), then text, then units [to, end).
  ZelString replace(int32_t from, int32_t to, const ZelString& text) const;
  ZelString removeWhitespace() const;

  // Replaces the placeholders "%1" to "%9" and "%:" (the tenth) with the given arguments in one pass; a
  // placeholder without an argument, or with an empty one, is removed. See the translation header.
  ZelString substituteArgs(const ZelString* const* args, int32_t count) const;

  // "%d".
  static ZelString number(int32_t value);
  // "%e" when the magnitude exceeds 1e10, otherwise "%f".
  static ZelString number(double value);

  struct DoubleFormat {
    bool scientific = false;          // false: fixed notation ('f')
    bool exponent = false;            // with scientific: 'e' rather than the shortest form 'g'
    const char* precision = nullptr;  // flags, width and precision as in a C format, e.g. ".3"
  };
  static ZelString formatDouble(double value, const DoubleFormat& format);
  // The leading number of the text ("%lf"); 0 with *ok false when there is none. ok may be null.
  double toDouble(bool* ok) const;

  // The narrow form (the host's conversion, else ASCII only: other units are dropped), valid until the next
  // call or change. Never null.
  const char* toNarrow() const;
  // The UTF-8 form, valid until the next call or change. Never null.
  const char* toUtf8() const;

  // Appends one item of a counted list: the item's length in decimal, one blank, then the item. Items follow
  // one another with nothing between them: "ab" then "xyz" give "2 ab3 xyz".
  void appendCounted(const ZelString& item);
  // Reads this string as a counted list and appends each item to out. A text without a blank gives no item. A
  // count that is not a finite number of at least 1 (0, negative, no number at all) makes the whole string
  // one item and ends the list; a count running past the end of the text gives an item cut at the end.
  void splitCounted(ZelCountedArray<ZelString>& out) const;

 private:
  void releaseBuffer();
  // Makes an owned buffer for n units (plus terminator) and answers it; the old buffer is not touched.
  char16_t* allocBuffer(int64_t units, uint32_t& capacity) const;
  // Whether the owned buffer takes a text of n units in place: it is large enough, and small or not twice
  // the size needed, so that a string refilled in a loop allocates once while a short text never keeps a
  // large buffer.
  bool holdsInPlace(int64_t units) const;
  static constexpr uint32_t kSmallBuffer = 256;
  void adopt(char16_t* buffer, uint32_t capacity);
  // The text of the n bytes of narrow, Latin-1 (see setNarrow); a length beyond the pool's sizes is refused.
  void widen(const char* narrow, int64_t n);
  // The units that may be read from the start of the text, its terminator and what lies past it included:
  // all of an owned buffer; of a borrowed text only what its terminator shows (0 here).
  int64_t readableUnits() const { return capacity_ / sizeof(char16_t); }

  char16_t* text_ = nullptr;
  uint32_t capacity_ = 0;      // bytes of the owned buffer; 0 while borrowed or empty
  mutable ZelCString narrow_;  // cache of toNarrow
  mutable ZelCString utf8_;    // cache of toUtf8
};

// The shared empty wide string.
const ZelString& emptyZelString();
