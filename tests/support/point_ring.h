#pragma once

// Probe points around a circle, as a test lays them on a hole, a boss or a cylinder wall.

#include <cmath>
#include <vector>

#include "basic_types/vector3.h"

// n points on the circle of that radius about centre, across normal, from angle `from` over `span`.
inline std::vector<Vector3> ring(const Vector3& centre, const Vector3& normal, double radius, int n,
                                 double from = 0.0, double span = 2 * M_PI) {
  Vector3 u, v;
  Vector3::orthonormalBasis(normal, u, v);
  std::vector<Vector3> points;
  for (int i = 0; i < n; ++i) {
    const double angle = from + span * i / n;
    points.push_back(centre + (u * std::cos(angle) + v * std::sin(angle)) * radius);
  }
  return points;
}
