#pragma once

// A fuzz input read as wide text: its bytes taken in pairs as little-endian UTF-16 units; a zero unit ends
// the text, as it ends every wide string of the module.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "basic_types/zel_string.h"

inline ZelString utf16Input(const uint8_t* data, size_t size) {
  std::vector<char16_t> units;
  for (size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  units.push_back(0);
  ZelString text;
  text.setBuffer(units.data(), -1);
  return text;
}
