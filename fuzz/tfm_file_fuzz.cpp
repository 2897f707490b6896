// Transform files come from outside: any bytes must be refused, saying why, or read as sixteen finite
// numbers, and a matrix read must write back to a text that reads as the same matrix.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/files/tfm_transform_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the input's size, so that a read past its end is caught.
  auto bytes = std::make_unique<char[]>(size);
  std::copy_n(reinterpret_cast<const char*>(data), size, bytes.get());
  double matrix[16];
  std::fill(std::begin(matrix), std::end(matrix), 7.0);
  std::string why;
  if (!parseTfmText(std::string_view(bytes.get(), size), matrix, &why)) {
    if (why.empty() || std::any_of(std::begin(matrix), std::end(matrix), [](double e) { return e != 7.0; }))
      __builtin_trap();
    return 0;
  }
  double again[16];
  if (!parseTfmText(tfmText(matrix), again)) __builtin_trap();
  for (int i = 0; i < 16; ++i)
    if (!std::isfinite(matrix[i]) || again[i] != matrix[i]) __builtin_trap();
  return 0;
}
