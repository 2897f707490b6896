#include "basic_types/transform_checks.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The largest sum of magnitudes over the rows of the 3 x 3 part: a bound on how far it stretches a vector.
double stretchOf(const Matrix4x4& m) {
  double largest = 0.0;
  for (int row = 0; row < 3; ++row) {
    largest =
        std::max(largest, std::abs(m.m[4 * row]) + std::abs(m.m[4 * row + 1]) + std::abs(m.m[4 * row + 2]));
  }
  return largest;
}

}  // namespace

std::optional<std::string> whyNoUsableTransform(const Matrix4x4& m) {
  if (!std::all_of(std::begin(m.m), std::end(m.m), [](double e) { return std::isfinite(e); })) {
    return "an element is not a finite number";
  }
  if (!m.isAffine()) return "its last row is not 0 0 0 1";
  if (stretchOf(m) > kLargestScale) return "its 3 x 3 part scales by more than 1e6";
  Matrix4x4 inverse;
  const double determinant = m.determinant3();
  if (determinant == 0.0 || !std::isfinite(determinant) || !Matrix4x4::invert(m, inverse) ||
      !std::isfinite(stretchOf(inverse)) || stretchOf(inverse) > kLargestScale) {
    return "its 3 x 3 part is singular, or scales by less than 1e-6";
  }
  if (std::max({std::abs(m.m[3]), std::abs(m.m[7]), std::abs(m.m[11])}) > kFarthest) {
    return "its translation lies farther than 1e9";
  }
  return std::nullopt;
}

bool isUsableTransform(const Matrix4x4& m) {
  return !whyNoUsableTransform(m);
}

std::optional<std::string> whyNoProperRigid(const Matrix4x4& m) {
  if (std::optional<std::string> why = whyNoUsableTransform(m)) return why;
  if (!m.isRigid()) return "its 3 x 3 part scales or shears";
  if (!(m.determinant3() > 0.0)) return "it mirrors";
  return std::nullopt;
}

bool isProperRigid(const Matrix4x4& m) {
  return !whyNoProperRigid(m);
}

std::optional<std::string> whyNoWrittenRigid(const Matrix4x4& m) {
  if (std::optional<std::string> why = whyNoUsableTransform(m)) return why;
  if (!m.isRigidWithin(kWrittenRotationTolerance)) return "its 3 x 3 part scales or shears by more than 1e-5";
  if (!(m.determinant3() > 0.0)) return "it mirrors";
  return std::nullopt;
}

Matrix4x4 nearestRigid(const Matrix4x4& m) {
  // Newton's iteration for the polar factor, R = (R + R^-T) / 2, converges quadratically: from 1e-5 off,
  // three steps reach the double's precision, and the rest change nothing.
  constexpr int kPolarSteps = 5;
  Matrix4x4 rotation = m;
  rotation.m[3] = rotation.m[7] = rotation.m[11] = 0.0;
  for (int step = 0; step < kPolarSteps; ++step) {
    Matrix4x4 inverse;
    if (!Matrix4x4::invert(rotation, inverse)) break;
    for (int row = 0; row < 3; ++row) {
      for (int column = 0; column < 3; ++column) {
        double& element = rotation.m[4 * row + column];
        element = 0.5 * (element + inverse.m[4 * column + row]);
      }
    }
  }
  rotation.m[3] = m.m[3];
  rotation.m[7] = m.m[7];
  rotation.m[11] = m.m[11];
  return rotation;
}
