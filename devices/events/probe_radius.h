#pragma once

// What a device may give as its probe radius: a finite length above 0, in metres. A radius of 0, below 0 or
// not a number would compensate every feature by nothing, towards the stop point, or to nowhere, and look
// measured all the same.

#include <cmath>

inline bool isProbeRadius(double radius) {
  return std::isfinite(radius) && radius > 0.0;
}
