#pragma once

// Probe centres on the example part plate-bore, for a probe of radius kProbeRadius.

#include <cmath>
#include <numbers>

#include "basic_types/vector3.h"

inline constexpr double kProbeRadius = 0.002;

// A probe centre touching the bore's wall (diameter 0.02 about x = 0.05, y = 0.04) at an angle and a height.
inline Vector3 onBore(double degrees, double z) {
  const double angle = degrees * std::numbers::pi / 180, reach = 0.01 - kProbeRadius;
  return {0.05 + reach * std::cos(angle), 0.04 + reach * std::sin(angle), z};
}
