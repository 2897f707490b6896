#include "basic_types/plane.h"

#include <cmath>

namespace {
// Below this |n·u| a line counts as parallel to the plane: the intersection would lie absurdly far away.
constexpr double kLineParallelTolerance = 1e-10;
}  // namespace

Plane Plane::throughPoints(const Vector3& p0, const Vector3& p1, const Vector3& p2) {
  Vector3 n = Vector3::cross(p1 - p0, p2 - p0).normalized();
  return {n.x, n.y, n.z, n.dot(p1)};
}

Vector3 Plane::projectPoint(const Vector3& p) const {
  return p - normal() * (normal().dot(p) - d);
}

bool Plane::intersectLine(const Vector3& point, const Vector3& direction, Vector3& out) const {
  Vector3 u = direction.normalized();
  double denominator = normal().dot(u);
  if (std::fabs(denominator) < kLineParallelTolerance) return false;
  out = point + u * ((d - normal().dot(point)) / denominator);
  return true;
}

bool Plane::isValid() const {
  if (std::isnan(nx) || std::isnan(ny) || std::isnan(nz) || std::isnan(d)) return false;
  return nx != 0.0 || ny != 0.0 || nz != 0.0;
}

bool Plane::transform(const Matrix4x4& t) {
  Matrix4x4 inverse;
  if (!isValid() || !Matrix4x4::invert(t, inverse)) return false;
  const double* a = inverse.m;
  double q[4] = {nx, ny, nz, -d};
  // The transposed inverse times q: entry i is column i of the inverse dotted with q.
  double mapped[4];
  for (int i = 0; i < 4; ++i) mapped[i] = a[i] * q[0] + a[4 + i] * q[1] + a[8 + i] * q[2] + a[12 + i] * q[3];
  double length = std::sqrt(mapped[0] * mapped[0] + mapped[1] * mapped[1] + mapped[2] * mapped[2]);
  if (!(length > 0.0)) return false;
  double s = 1.0 / length;
  *this = {mapped[0] * s, mapped[1] * s, mapped[2] * s, -mapped[3] * s};
  return true;
}
