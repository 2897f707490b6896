#include "features/creators/approach_start.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// An operator brings the ball into a wall within some degrees of its normal; a travel leaning further off
// square to the axis came down into a hole or along the wall, and says little of the normal.
const double kMaxLean = std::sin(15.0 * std::numbers::pi / 180.0);
// Approaches from a narrower arc around the axis than a quarter turn leave it to their noise.
constexpr double kMinArc = std::numbers::pi / 2;

// The direction square to every approach: the sum of the cross products of each pair, each turned to the
// sense of the largest, so that pairs far apart weigh most and nearly parallel ones hardly count.
std::optional<Vector3> squareToAll(std::span<const Vector3> approaches) {
  Vector3 largest;
  for (size_t i = 0; i < approaches.size(); ++i) {
    for (size_t j = i + 1; j < approaches.size(); ++j) {
      const Vector3 c = Vector3::cross(approaches[i], approaches[j]);
      if (c.squaredLength() > largest.squaredLength()) largest = c;
    }
  }
  if (!(largest.length() > 0.5)) return std::nullopt;
  Vector3 sum;
  for (size_t i = 0; i < approaches.size(); ++i) {
    for (size_t j = i + 1; j < approaches.size(); ++j) {
      const Vector3 c = Vector3::cross(approaches[i], approaches[j]);
      sum = c.dot(largest) < 0.0 ? sum - c : sum + c;
    }
  }
  return sum.normalized();
}

// Whether the approaches, seen along the axis, come from an arc of at least kMinArc.
bool spreadAround(std::span<const Vector3> approaches, const Vector3& axis) {
  Vector3 u, v;
  if (!Vector3::orthonormalBasis(axis, u, v)) return false;
  std::vector<double> azimuths;
  for (const Vector3& d : approaches) azimuths.push_back(std::atan2(d.dot(v), d.dot(u)));
  std::ranges::sort(azimuths);
  double largestGap = azimuths.front() + 2 * std::numbers::pi - azimuths.back();
  for (size_t i = 1; i < azimuths.size(); ++i)
    largestGap = std::max(largestGap, azimuths[i] - azimuths[i - 1]);
  return 2 * std::numbers::pi - largestGap >= kMinArc;
}

// Where the approach lines, seen along the axis, meet in the least-squares sense: the point nearest all.
std::optional<Vector3> meetingPoint(const PointList& touches, std::span<const Vector3> approaches,
                                    const Vector3& axis) {
  Vector3 u, v;
  if (!Vector3::orthonormalBasis(axis, u, v)) return std::nullopt;
  double a = 0, b = 0, c = 0, ru = 0, rv = 0;  // [a b; b c] (x, y) = (ru, rv)
  for (size_t i = 0; i < touches.size(); ++i) {
    const Vector3 across = Vector3::perpendicularPart(approaches[i], axis).normalized();
    const double du = across.dot(u), dv = across.dot(v);
    const double pu = touches[i].dot(u), pv = touches[i].dot(v);
    // (I - d d^T) applied to the point, in the plane across the axis.
    a += 1 - du * du;
    b -= du * dv;
    c += 1 - dv * dv;
    const double along = du * pu + dv * pv;
    ru += pu - du * along;
    rv += pv - dv * along;
  }
  const double determinant = a * c - b * b;
  if (!(determinant > 1e-9 * (a * c))) return std::nullopt;
  const double x = (ru * c - rv * b) / determinant, y = (rv * a - ru * b) / determinant;
  Vector3 centroid;
  for (const Vector3& p : touches) centroid = centroid + p;
  centroid = centroid / static_cast<double>(touches.size());
  return u * x + v * y + axis * centroid.dot(axis);
}

}  // namespace

std::optional<ApproachStart> cylinderFromApproaches(const PointList& touches,
                                                    std::span<const Vector3> given) {
  if (touches.empty() || given.size() != touches.size()) return std::nullopt;
  // Directions kept in a document may come back rounded off unit length; a zero one is a touch without one.
  std::vector<Vector3> approaches;
  for (const Vector3& d : given) {
    if (!(d.length() > 0.5 && d.length() < 2)) return std::nullopt;
    approaches.push_back(d.normalized());
  }
  const std::optional<Vector3> axis = squareToAll(approaches);
  if (!axis) return std::nullopt;
  if (std::ranges::any_of(approaches,
                          [&](const Vector3& d) { return !(std::fabs(d.dot(*axis)) <= kMaxLean); }))
    return std::nullopt;
  if (!spreadAround(approaches, *axis)) return std::nullopt;
  const std::optional<Vector3> centre = meetingPoint(touches, approaches, *axis);
  if (!centre) return std::nullopt;
  double radii = 0;
  for (const Vector3& p : touches) radii += Vector3::perpendicularPart(p - *centre, *axis).length();
  return ApproachStart{*axis, *centre, 2 * radii / static_cast<double>(touches.size())};
}
