#pragma once

// Wide strings as std::u16string, so that test expectations compare and print them.

#include <string>

#include "basic_types/zel_string.h"

inline std::u16string text(const ZelString& s) {
  return s.c_str();
}
