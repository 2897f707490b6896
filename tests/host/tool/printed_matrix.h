#pragma once

// Reading a 4x4 matrix back from what palpera-host prints or a script holds.

#include <cmath>
#include <sstream>
#include <string>

#include "basic_types/matrix4x4.h"

// The 16 numbers after the first line that starts with prefix: on that line (sameLine), or in the four
// lines below it, row by row. NaN where a number is missing.
inline Matrix4x4 matrixAfter(const std::string& text, const std::string& prefix, bool sameLine) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line) && line.rfind(prefix, 0) != 0) {
  }
  std::string numbers = sameLine ? line.substr(prefix.size()) : "";
  for (int row = 0; !sameLine && row < 4 && std::getline(lines, line); ++row) numbers += line + " ";
  std::istringstream values(numbers);
  Matrix4x4 m;
  for (double& value : m.m) value = std::nan("");
  for (double& value : m.m) values >> value;
  return m;
}

// The matrix printed in the four lines below the last line that is exactly heading, as "print alignment"
// prints each of its matrices; NaN where a number is missing.
inline Matrix4x4 lastMatrixUnder(const std::string& text, const std::string& heading) {
  const size_t last = text.rfind("\n" + heading + "\n");
  return matrixAfter(last == std::string::npos ? std::string() : text.substr(last + 1), heading, false);
}
