#include "host/document/features/feature_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

Box emptyBox() {
  double big = std::numeric_limits<double>::infinity();
  return {big, big, big, -big, -big, -big};
}

Box pointBox(const Vector3& point) {
  return {point.x, point.y, point.z, point.x, point.y, point.z};
}

void growBox(Box& box, const Box& other) {
  for (int i = 0; i < 3; ++i) {
    box[i] = std::min(box[i], other[i]);
    box[i + 3] = std::max(box[i + 3], other[i + 3]);
  }
}

void growBox(Box& box, const Vector3& point) {
  growBox(box, pointBox(point));
}

Box discBox(const Vector3& center, const Vector3& normal, double radius) {
  double n[3] = {normal.x, normal.y, normal.z};
  double c[3] = {center.x, center.y, center.z};
  Box box;
  for (int i = 0; i < 3; ++i) {
    double reach = std::fabs(radius) * std::sqrt(std::max(0.0, 1.0 - n[i] * n[i]));
    box[i] = c[i] - reach;
    box[i + 3] = c[i] + reach;
  }
  return box;
}

bool isFiniteBox(const Box& box) {
  return std::all_of(box.begin(), box.end(), [](double v) { return std::isfinite(v); });
}

double distanceTo(const Locus& locus, const Vector3& point) {
  Vector3 offset = point - locus.anchor;
  switch (locus.shape) {
    case Locus::Shape::kLine:
      return Vector3::perpendicularPart(offset, locus.direction).length();
    case Locus::Shape::kPlane:
      return std::fabs(offset.dot(locus.direction));
    case Locus::Shape::kPoint:
      break;
  }
  return offset.length();
}

double undirectedAngle(const Vector3& a, const Vector3& b) {
  if (a.squaredLength() == 0.0 || b.squaredLength() == 0.0) return 0.0;
  double cosine = std::fabs(a.dot(b)) / (a.length() * b.length());
  return std::acos(std::min(1.0, cosine));
}

bool lociMatch(const Locus& a, const Locus& b, double maxDistance, double maxAngle) {
  double distance = std::max(distanceTo(a, b.anchor), distanceTo(b, a.anchor));
  // Written so that a NaN anywhere fails the test rather than passing it.
  return distance <= maxDistance && undirectedAngle(a.direction, b.direction) <= maxAngle;
}

Frame frameAbout(const Vector3& origin, const Vector3& direction, const Vector3& reference) {
  Frame frame{{}, {}, origin};
  Vector3 across = Vector3::perpendicularPart(reference, direction);
  // A reference (nearly) along the direction leaves too little to give a trustworthy square direction.
  bool tooShort = across.squaredLength() <= EPS_SQUARED * reference.squaredLength();
  Vector3 unused;
  if (tooShort || !across.normalize() || !isFinite(across))
    Vector3::orthonormalBasis(direction, across, unused);
  frame.a = across;
  frame.b = Vector3::cross(direction, across);
  return frame;
}

bool isFiniteFrame(const Frame& frame) {
  return isFinite(frame.a) && isFinite(frame.b) && isFinite(frame.origin);
}

std::optional<Vector3> unitDirection(const Vector3& v) {
  if (!isFinite(v)) return std::nullopt;
  // Scaled to its largest component first, so that squaring neither overflows a huge vector nor flushes a
  // tiny one to zero.
  double largest = std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
  Vector3 unit = largest > 0.0 ? v / largest : v;
  if (!unit.normalize()) return std::nullopt;
  return unit;
}

bool isFinite(const Vector3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
