#include "features/creators/approach_start.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// An operator brings the ball into a wall within some degrees of its normal, or of one slant down into a
// hole; a travel leaning further off the slant the others share came along the wall, and says little of the
// normal.
const double kMaxLean = 10.0 * std::numbers::pi / 180.0;
// A slant steeper than this leaves too little of each travel across the axis to say where it lies.
const double kMaxSlant = 60.0 * std::numbers::pi / 180.0;
// The travels tell the axis as that of the cone of directions they lie on (a plane of directions when they
// come in square to it), which takes half a turn: from less, travels at a slant lie as near square to an axis
// tilted towards them.
constexpr double kMinArc = std::numbers::pi;

// The direction square to every one of vectors: the sum of the cross products of each pair, each turned to
// the sense of the largest, so that pairs far apart weigh most and nearly parallel ones hardly count. None
// when no pair spans a parallelogram of a tenth or more: travels' tips that close leave the axis to noise.
std::optional<Vector3> squareToAll(std::span<const Vector3> vectors) {
  Vector3 largest;
  for (size_t i = 0; i < vectors.size(); ++i) {
    for (size_t j = i + 1; j < vectors.size(); ++j) {
      const Vector3 c = Vector3::cross(vectors[i], vectors[j]);
      if (c.squaredLength() > largest.squaredLength()) largest = c;
    }
  }
  if (!(largest.length() > 0.1)) return std::nullopt;
  Vector3 sum;
  for (size_t i = 0; i < vectors.size(); ++i) {
    for (size_t j = i + 1; j < vectors.size(); ++j) {
      const Vector3 c = Vector3::cross(vectors[i], vectors[j]);
      sum = c.dot(largest) < 0.0 ? sum - c : sum + c;
    }
  }
  return sum.normalized();
}

// Whether every approach leans within kMaxLean of slant off square to axis (slant: radians, towards axis).
bool leanWithin(std::span<const Vector3> approaches, const Vector3& axis, double slant) {
  return std::ranges::all_of(approaches, [&](const Vector3& d) {
    return std::fabs(std::asin(std::clamp(d.dot(axis), -1.0, 1.0)) - slant) <= kMaxLean;
  });
}

// The slant the approaches share off square to axis: their mean lean.
double sharedSlant(std::span<const Vector3> approaches, const Vector3& axis) {
  double sum = 0;
  for (const Vector3& d : approaches) sum += std::asin(std::clamp(d.dot(axis), -1.0, 1.0));
  return sum / static_cast<double>(approaches.size());
}

// Whether the approaches, seen along the axis, come from an arc of at least minArc.
bool spreadAround(std::span<const Vector3> approaches, const Vector3& axis, double minArc) {
  Vector3 u, v;
  if (!Vector3::orthonormalBasis(axis, u, v)) return false;
  std::vector<double> azimuths;
  for (const Vector3& d : approaches) azimuths.push_back(std::atan2(d.dot(v), d.dot(u)));
  std::ranges::sort(azimuths);
  double largestGap = azimuths.front() + 2 * std::numbers::pi - azimuths.back();
  for (size_t i = 1; i < azimuths.size(); ++i)
    largestGap = std::max(largestGap, azimuths[i] - azimuths[i - 1]);
  return 2 * std::numbers::pi - largestGap >= minArc;
}

// The axis of the cone of directions the approaches lie on: square to the plane through their tips, where
// each leans within kMaxLean of the slant they share, from half a turn around it or more.
std::optional<Vector3> approachAxis(std::span<const Vector3> approaches) {
  Vector3 mean;
  for (const Vector3& d : approaches) mean = mean + d;
  mean = mean / static_cast<double>(approaches.size());
  std::vector<Vector3> tips;
  for (const Vector3& d : approaches) tips.push_back(d - mean);
  const std::optional<Vector3> axis = squareToAll(tips);
  if (!axis) return std::nullopt;
  const double slant = sharedSlant(approaches, *axis);
  if (!(std::fabs(slant) <= kMaxSlant) || !leanWithin(approaches, *axis, slant) ||
      !spreadAround(approaches, *axis, kMinArc))
    return std::nullopt;
  return axis;
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

// Whether every approach, seen along the axis, lies on a line through centre: within kMaxLean of the
// touch's way to it.
bool throughAxis(const PointList& touches, std::span<const Vector3> approaches, const Vector3& axis,
                 const Vector3& centre) {
  for (size_t i = 0; i < touches.size(); ++i) {
    const Vector3 toAxis = Vector3::perpendicularPart(centre - touches[i], axis);
    const Vector3 across = Vector3::perpendicularPart(approaches[i], axis).normalized();
    if (!(Vector3::cross(toAxis, across).length() <= std::sin(kMaxLean) * toAxis.length())) return false;
  }
  return true;
}

// The start about axis, when every approach lies on a line through it where their lines meet.
std::optional<ApproachStart> startAbout(const PointList& touches, std::span<const Vector3> approaches,
                                        const Vector3& axis) {
  const std::optional<Vector3> centre = meetingPoint(touches, approaches, axis);
  if (!centre || !throughAxis(touches, approaches, axis, *centre)) return std::nullopt;
  double radii = 0;
  for (const Vector3& touch : touches) radii += Vector3::perpendicularPart(*centre - touch, axis).length();
  return ApproachStart{axis, *centre, 2 * radii / static_cast<double>(touches.size())};
}

// The approaches made unit; none when a touch has none (a zero direction) or one is no direction at all.
// Directions kept in a document may come back rounded off unit length.
std::optional<std::vector<Vector3>> unitApproaches(const PointList& touches, std::span<const Vector3> given) {
  if (touches.empty() || given.size() != touches.size()) return std::nullopt;
  std::vector<Vector3> approaches;
  for (const Vector3& d : given) {
    if (!(d.length() > 0.5 && d.length() < 2)) return std::nullopt;
    approaches.push_back(d.normalized());
  }
  return approaches;
}

}  // namespace

std::optional<ApproachStart> cylinderFromApproaches(const PointList& touches,
                                                    std::span<const Vector3> given) {
  const std::optional<std::vector<Vector3>> approaches = unitApproaches(touches, given);
  if (!approaches) return std::nullopt;
  const std::optional<Vector3> axis = approachAxis(*approaches);
  if (!axis) return std::nullopt;
  return startAbout(touches, *approaches, *axis);
}

bool approachesComeInto(const PointList& touches, std::span<const Vector3> given, const Vector3& axis,
                        const Vector3& axisPoint) {
  const std::optional<std::vector<Vector3>> approaches = unitApproaches(touches, given);
  const std::optional<Vector3> unit = axis.length() > 0 ? std::optional(axis.normalized()) : std::nullopt;
  if (!approaches || !unit) return false;
  const double slant = sharedSlant(*approaches, *unit);
  return std::fabs(slant) <= kMaxSlant && leanWithin(*approaches, *unit, slant) &&
         throughAxis(touches, *approaches, *unit, axisPoint);
}
