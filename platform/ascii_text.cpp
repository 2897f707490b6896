#include "platform/ascii_text.h"

namespace platform {
namespace {

// The loops go a block of a fixed number of units at a time, which the compiler turns into vector
// instructions, then unit by unit over what is left. The blocks' pointers are restrict so that no check of
// overlap stands in the way. Widening, which also serves the short texts of a document's names and numbers,
// goes on in small blocks after the large ones.
constexpr size_t kBlock = 32;
constexpr size_t kSmallBlock = 8;

template <size_t kUnits>
void widenBlock(const unsigned char* __restrict in, char16_t* __restrict out) {
  for (size_t j = 0; j < kUnits; ++j) out[j] = in[j];
}

char16_t narrowBlock(const char16_t* __restrict in, char* __restrict out) {
  char16_t seen = 0;
  for (size_t j = 0; j < kBlock; ++j) {
    seen |= in[j];
    out[j] = static_cast<char>(in[j]);
  }
  return seen;
}

}  // namespace

bool isAscii(const char* bytes, size_t n) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes);
  unsigned char seen = 0;
  size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    for (size_t j = 0; j < kBlock; ++j) seen |= in[i + j];
    if (seen >= 0x80) return false;
  }
  for (; i < n; ++i) seen |= in[i];
  return seen < 0x80;
}

void widenBytes(const char* bytes, size_t n, char16_t* units) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes);
  size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) widenBlock<kBlock>(in + i, units + i);
  for (; i + kSmallBlock <= n; i += kSmallBlock) widenBlock<kSmallBlock>(in + i, units + i);
  for (; i < n; ++i) units[i] = in[i];
}

bool narrowAscii(const char16_t* units, size_t n, char* bytes) {
  size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    if (narrowBlock(units + i, bytes + i) >= 0x80) return false;
  }
  char16_t seen = 0;
  for (; i < n; ++i) {
    seen |= units[i];
    bytes[i] = static_cast<char>(units[i]);
  }
  return seen < 0x80;
}

}  // namespace platform
