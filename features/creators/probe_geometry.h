#pragma once

// The geometry the creators compensate with: a work plane's equation, the side of the stop point, and the
// radial move of points onto a compensated circle, sphere or cylinder.

#include <optional>

#include "basic_types/vector3.h"
#include "host/api/feature_kinds.h"

// n·x = d on the plane, n of unit length, so n·x − d is a point's signed distance from it.
struct PlaneEquation {
  Vector3 n;
  double d = 0.0;

  static PlaneEquation of(IZelPlane& plane);
  double signedDistance(const Vector3& p) const { return n.dot(p) - d; }
  Vector3 project(const Vector3& p) const { return p - n * signedDistance(p); }
};

// The signed probe radius by the side of the stop point: the surface moves away from the stop point, outwards
// when the operator probed from inside (a hole, a cavity), inwards from outside (a boss, a ball).
inline double sideOffset(bool stopInside, double probeRadius) {
  return stopInside ? probeRadius : -probeRadius;
}

// A feature's local frame: two unit directions across its axis (a × b) and its origin.
struct FeatureFrame {
  Vector3 a;
  Vector3 b;
  Vector3 origin;
};
// None when the feature's values are not finite.
std::optional<FeatureFrame> frameOf(IZelFeature& feature);

// p with its distance from the frame's axis multiplied by k and its position along the axis kept: the map
// F·diag(k, k, 1)·F⁻¹ of the frame F, which takes a point on a circle or cylinder of radius R0 about the axis
// onto the one of radius k·R0.
Vector3 scaleAcrossAxis(const FeatureFrame& frame, double k, const Vector3& p);
