// XAL transform files come from outside: any bytes must be refused or read into a whole matrix without
// reading past them, and a matrix read must hold finite numbers with the last row (0, 0, 0, 1).

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "commands/transform/xal_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the input's size, so that a read past its end is caught.
  auto bytes = std::make_unique<char[]>(size);
  std::copy_n(reinterpret_cast<const char*>(data), size, bytes.get());
  double matrix[16];
  for (double& element : matrix) element = 7.0;
  if (!readXalText(bytes.get(), size, matrix)) {
    for (double element : matrix)
      if (element != 7.0) __builtin_trap();
    return 0;
  }
  for (double element : matrix)
    if (!std::isfinite(element)) __builtin_trap();
  if (matrix[12] != 0 || matrix[13] != 0 || matrix[14] != 0 || matrix[15] != 1) __builtin_trap();
  return 0;
}
