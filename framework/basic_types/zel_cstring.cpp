#include "basic_types/zel_cstring.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "basic_types/no_destructor.h"
#include "framework/memory/assertion.h"
#include "framework/memory/bucket_memory_pool.h"

namespace {

// In 64 bits: sizes are computed from lengths without wrapping, and a text too long for the pool's sizes is
// refused by poolAllocateText.
int64_t lengthOf(const char* text) {
  return text ? static_cast<int64_t>(std::strlen(text)) : 0;
}

int32_t clamp(int32_t value, int32_t low, int32_t high) {
  return std::min(std::max(value, low), high);
}

}  // namespace

ZelCString::ZelCString(const char* text, int32_t maxLength) {
  if (text) copyFrom(text, std::min<int64_t>(lengthOf(text), std::max(maxLength, 0)));
}

ZelCString::ZelCString(const ZelCString& other) {
  if (other.capacity_ == 0) {
    text_ = other.text_;
  } else if (other.text_) {
    copyFrom(other.text_, other.length());
  }
}

ZelCString::ZelCString(ZelCString&& other) noexcept : text_(other.text_), capacity_(other.capacity_) {
  other.text_ = nullptr;
  other.capacity_ = 0;
}

ZelCString::~ZelCString() {
  releaseBuffer();
}

ZelCString& ZelCString::operator=(const ZelCString& other) {
  if (this == &other) return *this;
  if (other.capacity_ == 0) {
    releaseBuffer();
    text_ = other.text_;
  } else {
    copyFrom(other.text_, other.length());
  }
  return *this;
}

ZelCString& ZelCString::operator=(ZelCString&& other) noexcept {
  if (this == &other) return *this;
  releaseBuffer();
  std::swap(text_, other.text_);
  std::swap(capacity_, other.capacity_);
  return *this;
}

ZelCString& ZelCString::operator=(const char* text) {
  if (text == text_) return *this;
  if (!text) {
    releaseBuffer();
    return *this;
  }
  copyFrom(text, lengthOf(text));
  return *this;
}

void ZelCString::assign(const char* text) {
  if (text && capacity_ > 0 && text_ && lengthOf(text) == length()) {
    std::memmove(text_, text, length());
    return;
  }
  *this = text;
}

void ZelCString::makeOwned() {
  if (isBorrowed()) copyFrom(text_, length());
}

int32_t ZelCString::length() const {
  return static_cast<int32_t>(lengthOf(text_));
}

void ZelCString::copyFrom(const char* source, int64_t length) {
  uint32_t capacity = 0;
  char* fresh = static_cast<char*>(poolAllocateText(length, 1, &capacity));
  std::memcpy(fresh, source, length);  // before the old buffer goes: source may lie in it
  fresh[length] = '\0';
  releaseBuffer();
  text_ = fresh;
  capacity_ = capacity;
}

void ZelCString::releaseBuffer() {
  if (text_ && capacity_ > 0) poolFree(capacity_, text_);
  text_ = nullptr;
  capacity_ = 0;
}

ZelCString& ZelCString::operator+=(const char* text) {
  int64_t added = lengthOf(text);
  if (added == 0) return *this;
  int64_t current = length();
  if (capacity_ > 0 && current + added + 1 <= capacity_) {
    std::memmove(text_ + current, text, added);
    text_[current + added] = '\0';
    return *this;
  }
  uint32_t capacity = 0;
  char* fresh = static_cast<char*>(poolAllocateText(current + added, 1, &capacity));
  if (current > 0) std::memcpy(fresh, text_, current);
  std::memcpy(fresh + current, text, added);
  fresh[current + added] = '\0';
  releaseBuffer();
  text_ = fresh;
  capacity_ = capacity;
  return *this;
}

void ZelCString::append(char c) {
  char text[2] = {c, '\0'};
  *this += text;
}

void ZelCString::replace(int32_t pos, int32_t count, const char* text) {
  int32_t current = length();
  pos = clamp(pos, 0, current);
  count = clamp(count, 0, current - pos);
  int64_t inserted = lengthOf(text);
  if (count == inserted && capacity_ > 0) {
    std::memmove(text_ + pos, text, inserted);
    return;
  }
  int64_t total = current - count + inserted;
  uint32_t capacity = 0;
  char* fresh = static_cast<char*>(poolAllocateText(total, 1, &capacity));
  if (pos > 0) std::memcpy(fresh, text_, pos);
  if (inserted > 0) std::memcpy(fresh + pos, text, inserted);
  if (current - pos - count > 0)
    std::memcpy(fresh + pos + inserted, text_ + pos + count, current - pos - count);
  fresh[total] = '\0';
  releaseBuffer();
  text_ = fresh;
  capacity_ = capacity;
}

int32_t ZelCString::find(const char* needle, int32_t start) const {
  int32_t needleLength = static_cast<int32_t>(lengthOf(needle));
  if (needleLength == 0) return 0;
  if (start < 0) {
    reportAssertion("start >= 0", "kvocstring", 532);
    return -1;
  }
  int32_t current = length();
  if (needleLength > current || start >= current || start > current - needleLength) return -1;
  const char* hit = std::strstr(text_ + start, needle);
  return hit ? static_cast<int32_t>(hit - text_) : -1;
}

void ZelCString::arg(const char* text) {
  if (isEmpty()) return;
  if (text && std::strcmp(text, "%1") == 0) return;
  int32_t inserted = static_cast<int32_t>(lengthOf(text));
  for (int32_t at = find("%1", 0); at >= 0; at = find("%1", at + inserted)) replace(at, 2, text ? text : "");
}

ZelCString ZelCString::mid(int32_t pos, int32_t count) const {
  int32_t current = length();
  pos = clamp(pos, 0, current);
  return ZelCString(c_str() + pos, clamp(count, 0, current - pos));
}

ZelCString ZelCString::trimmed() const {
  const char* begin = c_str();
  const char* end = begin + length();
  while (begin < end && std::isspace(static_cast<unsigned char>(*begin))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(end[-1]))) --end;
  return ZelCString(begin, static_cast<int32_t>(end - begin));
}

ZelCString ZelCString::concatDumpCounter(const char* text) {
  ZelCString result(text, static_cast<int32_t>(lengthOf(text)));
  result += "DumpCounter";
  return result;
}

bool operator==(const ZelCString& a, const ZelCString& b) {
  return std::strcmp(a.c_str(), b.c_str()) == 0;
}

const ZelCString& emptyZelCString() {
  static NoDestructor<ZelCString> empty;
  return *empty;
}
