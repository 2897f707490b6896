#include "features/approach_side.h"

#include <algorithm>

namespace {

// The cosine of the widest angle between a telling direction and the normal.
constexpr double kTellingLean = 0.5;

}  // namespace

bool touchesPushAlong(const Vector3& normal, std::span<const Vector3> directions) {
  const Vector3 unit = normal.normalized();
  return !directions.empty() && std::ranges::all_of(directions, [&](const Vector3& direction) {
    return direction.normalized().dot(unit) >= kTellingLean;
  });
}
