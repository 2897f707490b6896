#include "basic_types/vector3.h"

#include <algorithm>
#include <ostream>

namespace {

// A normalised direction shorter than this was a zero direction.
constexpr double kUnitLengthFloor = 0.5;
// Past this x-component the x axis is too close to the direction to build a frame from.
constexpr double kAxisChoiceLimit = 0.8;

double cosineFrom(double component, double othersSquared, double squaredLength) {
  double magnitude = std::sqrt(std::max(0.0, 1.0 - othersSquared / squaredLength));
  return std::signbit(component) && component != 0.0 ? -magnitude : magnitude;
}

}  // namespace

bool Vector3::normalize() {
  double xx = x * x;
  double yy = y * y;
  double zz = z * z;
  double s = xx + yy + zz;
  if (!(s > 0.0)) return false;
  x = cosineFrom(x, yy + zz, s);
  y = cosineFrom(y, xx + zz, s);
  z = cosineFrom(z, xx + yy, s);
  return true;
}

Vector3 Vector3::normalized() const {
  Vector3 copy = *this;
  copy.normalize();
  return copy;
}

Vector3 Vector3::projectOnto(const Vector3& a, const Vector3& d) {
  double dd = d.squaredLength();
  if (!(dd > EPS_SQUARED)) return {};
  return d * (a.dot(d) / dd);
}

Vector3 Vector3::perpendicularPart(const Vector3& a, const Vector3& d) {
  double dd = d.squaredLength();
  if (!(dd > EPS_SQUARED)) return a;
  return a - d * (a.dot(d) / dd);
}

bool Vector3::isParallel(const Vector3& a, const Vector3& b, double t) {
  double ab = a.dot(b);
  return ab * ab >= a.squaredLength() * (1.0 - t * t) * b.squaredLength();
}

bool Vector3::orthonormalBasis(const Vector3& d, Vector3& u, Vector3& v) {
  Vector3 n = d.normalized();
  if (n.length() < kUnitLengthFloor) return false;
  Vector3 helper = std::fabs(n.x) < kAxisChoiceLimit ? Vector3(1.0, 0.0, 0.0) : Vector3(0.0, 1.0, 0.0);
  v = cross(n, helper).normalized();
  u = cross(v, n).normalized();
  return true;
}

std::optional<Vector3> projectOntoLine(const Vector3& p, const Vector3& a, const Vector3& b) {
  Vector3 along = b - a;
  double squared = along.squaredLength();
  if (squared == 0.0) return std::nullopt;
  return a + along * (along.dot(p - a) / squared);
}

std::ostream& operator<<(std::ostream& out, const Vector3& v) {
  return out << '(' << v.x << ',' << v.y << ',' << v.z << ')';
}
