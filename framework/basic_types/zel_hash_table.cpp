#include "basic_types/zel_hash_table.h"

#include <cstring>

uint32_t hashNarrowText(const char* text) {
  if (!text) return 0;
  uint32_t h = 5381;
  for (; *text; ++text)
    h = h * 33 + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(*text)));
  return h;
}

bool sameNarrowText(const char* a, const char* b) {
  if (!a || !b) return a == b;
  return std::strcmp(a, b) == 0;
}
