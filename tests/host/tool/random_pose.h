#pragma once

// A part placed anywhere: a uniformly random turn and a shift of up to half a metre on each axis.

#include <algorithm>
#include <cmath>
#include <random>

#include "basic_types/matrix4x4.h"

// The turn of a uniform unit quaternion, and the shift.
inline Matrix4x4 randomPose(std::mt19937& random) {
  std::normal_distribution<double> normal;
  std::uniform_real_distribution<double> shift(-0.5, 0.5);
  double q[4];
  double length = 0;
  for (double& c : q) {
    c = normal(random);
    length += c * c;
  }
  length = std::sqrt(length);
  const double w = q[0] / length, x = q[1] / length, y = q[2] / length, z = q[3] / length;
  Matrix4x4 m;
  const double rows[12] = {1 - 2 * (y * y + z * z), 2 * (x * y - w * z),     2 * (x * z + w * y),
                           shift(random),           2 * (x * y + w * z),     1 - 2 * (x * x + z * z),
                           2 * (y * z - w * x),     shift(random),           2 * (x * z - w * y),
                           2 * (y * z + w * x),     1 - 2 * (x * x + y * y), shift(random)};
  std::copy(rows, rows + 12, m.m);
  return m;
}
