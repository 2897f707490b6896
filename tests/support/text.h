#pragma once

// Wide strings as std::u16string, so that test expectations compare and print them, and counts of a text's
// parts.

#include <string>

#include "basic_types/zel_string.h"

inline std::u16string text(const ZelString& s) {
  return s.c_str();
}

// How many times text holds part, not overlapping.
inline size_t occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

// The text as UTF-16LE with its byte order mark, as an editor saves it.
inline std::string utf16(const std::string& text) {
  std::string wide = "\xFF\xFE";
  for (char c : text) wide += std::string{c, '\0'};
  return wide;
}
