#include "basic_types/zel_string.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "basic_types/no_destructor.h"
#include "basic_types/zel_array.h"
#include "framework/memory/bucket_memory_pool.h"
#include "framework/object/iptr.h"
#include "host/api/zel_str_support.h"
#include "platform/utf8.h"

namespace {

// In 64 bits: sizes are computed from lengths without wrapping, and a text too long for the pool's sizes is
// refused by poolAllocateText.
int64_t lengthOf(const char16_t* text) {
  return text ? static_cast<int64_t>(std::char_traits<char16_t>::length(text)) : 0;
}

bool isWhitespaceUnit(char16_t unit) {
  return (unit >= 0x09 && unit <= 0x0D) || unit == 0x20;
}

// Numbers above this magnitude are written in exponent form.
constexpr double kExponentThreshold = 1e10;
// The first size tried for a formatted number; doubled until the text fits.
constexpr size_t kFormatStart = 40;

// Widths and precisions beyond these only pad or print the noise of the binary expansion: a double has at
// most 309 integer digits and 17 significant ones. Larger ones are cut to them, so a format cannot ask for
// gigabytes.
constexpr long kMaxFormatWidth = 400;
constexpr long kMaxFormatPrecision = 400;

// Reads the digits at text (at most a few more than the cap, so nothing overflows) and appends their value,
// capped, to out; answers the position after them.
const char* appendCappedNumber(const char* text, long cap, std::string& out) {
  long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) value = std::min(value * 10 + (*text - '0'), cap);
  out += std::to_string(value);
  return text;
}

// The part of a C format between "%" and the conversion letter, rebuilt from a precision text of flags, an
// optional width and an optional "." with a precision, each number capped. Anything else (a second ".", a
// letter, another "%") makes the text unusable: it is ignored and the default format applies.
std::string cappedPrecision(const char* precision) {
  if (!precision) return {};
  size_t flags = std::strspn(precision, "-+ #0");
  std::string rebuilt(precision, flags);
  const char* rest = precision + flags;
  if (*rest >= '1' && *rest <= '9') rest = appendCappedNumber(rest, kMaxFormatWidth, rebuilt);
  if (*rest == '.') {
    rebuilt += '.';
    rest = appendCappedNumber(rest + 1, kMaxFormatPrecision, rebuilt);
  }
  return *rest == '\0' ? rebuilt : std::string();
}

// Four code units, compared and searched for a terminator at once.
using UnitWord = uint64_t;
constexpr int64_t kUnitsPerWord = sizeof(UnitWord) / sizeof(char16_t);

UnitWord wordAt(const char16_t* units) {
  UnitWord word;
  std::memcpy(&word, units, sizeof word);
  return word;
}

bool hasZeroUnit(UnitWord word) {
  return ((word - 0x0001000100010001) & ~word & 0x8000800080008000) != 0;
}

// Shorter first, then by the first differing unit: negative, 0 or positive. Units are compared only up to
// the first difference; past it only the ends of both texts are looked for. Where both buffers are known to
// hold them (readable units from the start), four units are taken at once; a word that holds a terminator
// ends that, so units past a terminator never decide.
int orderWithoutHost(const char16_t* a, int64_t aReadable, const char16_t* b, int64_t bReadable) {
  const int64_t lastWord = std::min(aReadable, bReadable) - kUnitsPerWord;
  int64_t i = 0;
  while (i <= lastWord && wordAt(a + i) == wordAt(b + i) && !hasZeroUnit(wordAt(a + i))) i += kUnitsPerWord;
  for (; a[i] == b[i]; ++i) {
    if (a[i] == 0) return 0;
  }
  if (a[i] == 0 || b[i] == 0) return a[i] == 0 ? -1 : 1;
  const int difference = a[i] < b[i] ? -1 : 1;
  ++i;
  while (i <= lastWord && !hasZeroUnit(wordAt(a + i)) && !hasZeroUnit(wordAt(b + i))) i += kUnitsPerWord;
  for (; a[i] && b[i]; ++i) {
  }
  if (a[i] || b[i]) return a[i] ? 1 : -1;
  return difference;
}

// The host's ordering of a and b in *order, when the host offers one. Out of line, so that the path without a
// host stays short.
[[gnu::noinline]] bool orderInHost(const char16_t* a, const char16_t* b, int* order) {
  SPtr<IZelStrSupport> support;
  if (!support) return false;
  *order = support->compare(a, b);
  return true;
}

}  // namespace

ZelString::ZelString(const char* narrow) {
  if (!narrow) return;
  int64_t n = static_cast<int64_t>(std::strlen(narrow));
  uint32_t capacity = 0;
  char16_t* buffer = allocBuffer(n, capacity);
  for (int64_t i = 0; i < n; ++i) buffer[i] = static_cast<unsigned char>(narrow[i]);
  buffer[n] = 0;
  adopt(buffer, capacity);
}

ZelString::ZelString(char c) {
  char text[2] = {c, '\0'};
  *this = ZelString(text);
}

ZelString::ZelString(const ZelString& other) {
  setBuffer(other.text_, other.capacity_ > 0 ? -1 : 0);
}

ZelString::ZelString(ZelString&& other) noexcept
    : text_(other.text_),
      capacity_(other.capacity_),
      narrow_(std::move(other.narrow_)),
      utf8_(std::move(other.utf8_)) {
  other.text_ = nullptr;
  other.capacity_ = 0;
}

ZelString::~ZelString() {
  releaseBuffer();
}

ZelString& ZelString::operator=(const ZelString& other) {
  if (this != &other) setBuffer(other.text_, other.capacity_ > 0 ? -1 : 0);
  return *this;
}

ZelString& ZelString::operator=(ZelString&& other) noexcept {
  if (this == &other) return *this;
  releaseBuffer();
  std::swap(text_, other.text_);
  std::swap(capacity_, other.capacity_);
  return *this;
}

void ZelString::setBuffer(const char16_t* text, int32_t n) {
  if (!text) {
    releaseBuffer();
    return;
  }
  if (n == 0) {
    releaseBuffer();
    text_ = const_cast<char16_t*>(text);
    return;
  }
  int64_t units = n < 0 ? lengthOf(text) : std::min<int64_t>(n, lengthOf(text));
  uint32_t capacity = 0;
  char16_t* buffer = allocBuffer(units, capacity);
  std::memcpy(buffer, text, units * sizeof(char16_t));  // before releasing: text may lie in our buffer
  buffer[units] = 0;
  adopt(buffer, capacity);
}

char16_t* ZelString::allocBuffer(int64_t units, uint32_t& capacity) const {
  return static_cast<char16_t*>(poolAllocateText(units, sizeof(char16_t), &capacity));
}

void ZelString::adopt(char16_t* buffer, uint32_t capacity) {
  releaseBuffer();
  text_ = buffer;
  capacity_ = capacity;
}

void ZelString::releaseBuffer() {
  if (text_ && capacity_ > 0) poolFree(capacity_, text_);
  text_ = nullptr;
  capacity_ = 0;
}

int32_t ZelString::length() const {
  return static_cast<int32_t>(lengthOf(text_));
}

bool operator==(const ZelString& a, const ZelString& b) {
  int32_t n = a.length();
  return n == b.length() && std::memcmp(a.c_str(), b.c_str(), n * sizeof(char16_t)) == 0;
}

bool operator<(const ZelString& a, const ZelString& b) {
  int order = 0;
  // Without a host there is nothing to look up.
  if (hostRoot() && orderInHost(a.c_str(), b.c_str(), &order)) return order < 0;
  return orderWithoutHost(a.c_str(), a.readableUnits(), b.c_str(), b.readableUnits()) < 0;
}

bool ZelString::equalsPrefix(const ZelString& other, int32_t n) const {
  if (n <= 0) return true;
  if (length() < n || other.length() < n) return false;
  return std::memcmp(text_, other.text_, n * sizeof(char16_t)) == 0;
}

int32_t ZelString::find(const ZelString& needle, int32_t start) const {
  int32_t needleLength = needle.length();
  if (needleLength == 0) return 0;
  int32_t current = length();
  if (start < 0 || needleLength > current || start >= current || start > current - needleLength) return -1;
  std::u16string_view haystack(text_, current);
  size_t at = haystack.find(std::u16string_view(needle.text_, needleLength), start);
  return at == std::u16string_view::npos ? -1 : static_cast<int32_t>(at);
}

ZelString& ZelString::operator+=(const ZelString& other) {
  int64_t added = other.length();
  if (added == 0) return *this;
  int64_t current = length();
  int64_t needed = (current + added + 1) * static_cast<int64_t>(sizeof(char16_t));
  if (capacity_ > 0 && needed <= capacity_) {
    std::memmove(text_ + current, other.text_, added * sizeof(char16_t));
    text_[current + added] = 0;
    return *this;
  }
  uint32_t capacity = 0;
  char16_t* buffer = allocBuffer(current + added, capacity);
  if (current > 0) std::memcpy(buffer, text_, current * sizeof(char16_t));
  std::memcpy(buffer + current, other.text_, added * sizeof(char16_t));
  buffer[current + added] = 0;
  adopt(buffer, capacity);
  return *this;
}

ZelString ZelString::left(int32_t n) const {
  ZelString result;
  if (n > 0 && !isEmpty()) result.setBuffer(text_, std::min(n, length()));
  return result;
}

void ZelString::truncate(int32_t n) {
  *this = left(n);
}

ZelString ZelString::mid(int32_t pos, int32_t count) const {
  int32_t current = length();
  pos = std::clamp(pos, 0, current);
  int32_t available = current - pos;
  int32_t n = std::min(count, available);
  ZelString result;
  if (n >= 1) result.setBuffer(text_ + pos, n);
  return result;
}

void ZelString::remove(int32_t pos, int32_t count) {
  int32_t current = length();
  if (count <= 0 || pos < 0 || pos + count > current) return;
  if (capacity_ == 0) setBuffer(text_, -1);
  std::memmove(text_ + pos, text_ + pos + count, (current - pos - count + 1) * sizeof(char16_t));
}

ZelString ZelString::replace(int32_t from, int32_t to, const ZelString& text) const {
  int32_t current = length();
  from = std::clamp(from, 0, current);
  to = std::clamp(to, from, current);
  int32_t inserted = text.length();
  int64_t total = int64_t{from} + inserted + (current - to);
  ZelString result;
  uint32_t capacity = 0;
  char16_t* buffer = allocBuffer(total, capacity);
  if (from > 0) std::memcpy(buffer, text_, from * sizeof(char16_t));
  if (inserted > 0) std::memcpy(buffer + from, text.text_, inserted * sizeof(char16_t));
  if (current - to > 0) std::memcpy(buffer + from + inserted, text_ + to, (current - to) * sizeof(char16_t));
  buffer[total] = 0;
  result.adopt(buffer, capacity);
  return result;
}

ZelString ZelString::removeWhitespace() const {
  ZelString result;
  if (isEmpty()) return result;
  result.setBuffer(text_, -1);
  SPtr<IZelStrSupport> support;
  if (support) {
    support->removeWhitespace(result.text_);
    return result;
  }
  char16_t* out = result.text_;
  for (const char16_t* in = result.text_; *in; ++in) {
    if (!isWhitespaceUnit(*in)) *out++ = *in;
  }
  *out = 0;
  return result;
}

ZelString ZelString::substituteArgs(const ZelString* const* args, int32_t count) const {
  auto argumentOf = [&](char16_t follower) -> const ZelString* {
    int32_t number = follower == u':' ? 10 : follower - u'0';
    return number <= count ? args[number - 1] : nullptr;
  };
  auto isPlaceholder = [](char16_t follower) {
    return (follower >= u'1' && follower <= u'9') || follower == u':';
  };

  int32_t current = length();
  int64_t total = 0;
  bool any = false;
  // First pass: the exact size. A "%" consumes the character after it; a "%" at the very end is plain text.
  for (int32_t i = 0; i < current; ++i) {
    if (text_[i] == u'%' && i + 1 < current) {
      if (isPlaceholder(text_[i + 1])) {
        any = true;
        const ZelString* arg = argumentOf(text_[i + 1]);
        total += arg ? arg->length() : 0;
      } else {
        total += 2;
      }
      ++i;
      continue;
    }
    ++total;
  }
  if (!any) return *this;

  ZelString result;
  uint32_t capacity = 0;
  char16_t* out = allocBuffer(total, capacity);
  result.adopt(out, capacity);
  for (int32_t i = 0; i < current; ++i) {
    if (text_[i] == u'%' && i + 1 < current) {
      char16_t follower = text_[++i];
      if (!isPlaceholder(follower)) {
        *out++ = u'%';
        *out++ = follower;
      } else if (const ZelString* arg = argumentOf(follower)) {
        std::memcpy(out, arg->c_str(), arg->length() * sizeof(char16_t));
        out += arg->length();
      }
      continue;
    }
    *out++ = text_[i];
  }
  *out = 0;
  return result;
}

ZelString ZelString::number(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return ZelString(text);
}

ZelString ZelString::number(double value) {
  char text[400];
  std::snprintf(text, sizeof text, std::fabs(value) > kExponentThreshold ? "%e" : "%f", value);
  return ZelString(text);
}

ZelString ZelString::formatDouble(double value, const DoubleFormat& format) {
  std::string pattern = "%" + cappedPrecision(format.precision);
  pattern += !format.scientific ? 'f' : format.exponent ? 'e' : 'g';
  std::string text(kFormatStart, '\0');
  for (;;) {
    int written = std::snprintf(text.data(), text.size(), pattern.c_str(), value);
    if (written < 0) return ZelString();  // nothing the C library could format
    if (static_cast<size_t>(written) < text.size()) {
      text.resize(written);
      break;
    }
    text.resize(text.size() * 2);
  }
  return ZelString(text.c_str());
}

double ZelString::toDouble(bool* ok) const {
  SPtr<IZelStrSupport> support;
  if (support) return support->parse(c_str(), ok);
  if (ok) *ok = false;
  if (isEmpty()) return 0.0;
  double value = 0.0;
  bool read = std::sscanf(toNarrow(), "%lf", &value) == 1;
  if (ok) *ok = read;
  return read ? value : 0.0;
}

const char* ZelString::toNarrow() const {
  SPtr<IZelStrSupport> support;
  if (support) {
    narrow_ = support->toNarrow(c_str());
    narrow_.makeOwned();
    return narrow_.c_str();
  }
  std::string ascii;
  for (const char16_t* p = c_str(); *p; ++p) {
    if (*p < 0x80) ascii += static_cast<char>(*p);
  }
  narrow_ = ascii.c_str();
  return narrow_.c_str();
}

const char* ZelString::toUtf8() const {
  utf8_ = platform::toUtf8(std::u16string_view(c_str(), length())).c_str();
  return utf8_.c_str();
}

void ZelString::appendCounted(const ZelString& item) {
  *this += number(item.length());
  *this += ZelString(u" ");
  *this += item;
}

void ZelString::splitCounted(ZelCountedArray<ZelString>& out) const {
  const ZelString blank(u" ");
  int32_t length = this->length();
  for (int32_t position = 0; position < length;) {
    int32_t at = find(blank, position);
    if (at < 0) return;
    double announced = mid(position, at - position).toDouble(nullptr);
    if (!std::isfinite(announced) || announced < 1.0) {
      out.append(*this);
      return;
    }
    int32_t available = length - (at + 1);
    int32_t n = announced >= available ? available : static_cast<int32_t>(announced);
    out.append(mid(at + 1, n));
    position = at + 1 + n;
  }
}

ZelString ZelString::fromPattern(const char* text) {
  ZelCString pattern("Pt%1");
  pattern.makeOwned();
  pattern.arg(text);
  return ZelString(pattern.c_str());
}

const ZelString& emptyZelString() {
  static NoDestructor<ZelString> empty;
  return *empty;
}
