#pragma once

// Plane: the points p with n·p = d. A default plane is all zero, and invalid. A value type.

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"

struct Plane {
  double nx = 0.0;
  double ny = 0.0;
  double nz = 0.0;
  double d = 0.0;

  Vector3 normal() const { return {nx, ny, nz}; }

  // The plane through three points, with the unit normal (p1 − p0) × (p2 − p0). Collinear points give an
  // invalid plane (zero normal).
  static Plane throughPoints(const Vector3& p0, const Vector3& p1, const Vector3& p2);
  // The foot of p on the plane; the normal is taken as unit length.
  Vector3 projectPoint(const Vector3& p) const;
  // The point where the line through point along direction meets the plane. False, leaving out, when the line
  // runs parallel to the plane (|n·u| < 1e-10 for the unit direction u).
  bool intersectLine(const Vector3& point, const Vector3& direction, Vector3& out) const;
  // False when a coefficient is NaN or the normal is exactly zero.
  bool isValid() const;
  // Maps the plane through the transform t (by the transposed inverse) and normalises it. False, leaving the
  // plane as it was, when the plane is invalid, t is singular, or the mapped plane has no normal (a
  // projective t can send it to infinity).
  bool transform(const Matrix4x4& t);
};
