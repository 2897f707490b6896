#pragma once

// What a device may give as its probe radius: a finite length from 0 to kMaxProbeRadius, in metres. A pointed
// probe has radius 0 and needs no compensation. A radius below 0 or not a number would compensate every
// feature towards the stop point or to nowhere, and one beyond any probe's (1e308, say) would move every
// feature by it; both would look measured all the same.

#include <cmath>

// Metres: well beyond the largest ball any probe carries, far below what would move a feature off the part.
inline constexpr double kMaxProbeRadius = 0.5;

inline bool isProbeRadius(double radius) {
  return std::isfinite(radius) && radius >= 0.0 && radius <= kMaxProbeRadius;
}
