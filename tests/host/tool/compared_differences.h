#pragma once

// Reading the differences back from what palpera-host's `compare` prints.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

// Each "difference" of the compare lines (the last field, in m or rad) within tolerance (the angles within
// angleTolerance, when given), a failure naming the line otherwise; the number of lines compared.
inline int expectDifferencesWithin(const std::string& output, double tolerance, double angleTolerance = -1) {
  std::istringstream lines(output);
  int compared = 0;
  for (std::string line; std::getline(lines, line);) {
    const size_t unit = line.rfind(' ');
    if (line.empty() || line[0] != '\t' || unit == std::string::npos) continue;
    const std::string suffix = line.substr(unit + 1);
    if (suffix != "m" && suffix != "rad") continue;
    const size_t tab = line.rfind('\t', unit);
    EXPECT_LE(std::fabs(std::stod(line.substr(tab + 1, unit - tab - 1))),
              suffix == "rad" && angleTolerance >= 0 ? angleTolerance : tolerance)
        << line;
    ++compared;
  }
  return compared;
}
