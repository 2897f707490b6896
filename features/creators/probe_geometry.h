#pragma once

// The geometry the creators compensate with: a work plane's equation, the side of the stop point, and the
// radial move of points onto a compensated circle, sphere or cylinder.

#include <cstdint>
#include <optional>

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "host_api/feature_kinds.h"

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

// A stop taken with the probe still on the surface lies on the fitted surface of the ball centres, where it
// cannot tell on which side the air is: a stop closer than this to that surface is refused rather than
// guessed. Metres.
constexpr double kStopClearance = 1e-4;
// Whether a stop at that distance from the fitted surface (signed or not) cannot tell the side. With a probe
// radius of 0 (a trial fit through the ball centres) the side does not matter.
inline bool stopOnSurface(double distanceFromSurface, double probeRadius) {
  return probeRadius > 0.0 &&
         !(distanceFromSurface > kStopClearance || distanceFromSurface < -kStopClearance);
}
// What the operator is asked for after such a stop.
ZelString liftProbeText();
// What a feature that has too few points still needs: "1 more point is needed", "2 more points are needed".
ZelString morePointsText(int32_t missing);

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
