#pragma once

// The device side of the 3-2-1 device-to-part alignment: three planes built from the points probed on the
// part, each plane's points taken with the SAMPLE button and one stop point taken above it with STOP. The
// points are probe tip centres, so each plane is moved by the probe radius away from the side of its stop
// point. Plane 1 is fitted and faces its stop point; plane 2 is fitted (two points get a third, the first
// projected onto plane 1), made square to plane 1 about its points' centre and faces its stop point; plane 3
// runs through its point (the mean of several) square to both, its sense that of n1 x n2.
//
// A plane 2 fitted within kSmallestPlaneAngle of plane 1's direction is refused: squaring it to plane 1
// would take its direction from the probing noise alone.

#include <array>
#include <vector>

#include "basic_types/plane.h"
#include "basic_types/vector3.h"

// The plane moved by distance away from the side of point (a point on the plane counts as the positive side);
// the normal is kept.
void offsetPlaneAwayFrom(Plane& plane, const Vector3& point, double distance);
// The plane turned round when its normal points away from point; a point on the plane changes nothing.
void orientPlaneTowards(Plane& plane, const Vector3& point);

// Radians; about 2 degrees.
inline constexpr double kSmallestPlaneAngle = 0.035;

struct ProbedPlanes {
  // Each builds its plane from sampledPoints, stopPoint and probeRadius and stores it in devicePlanes; false,
  // storing nothing, for too few points, no fit, or a plane 2 (nearly) parallel to plane 1. Plane 2 adds the
  // projected third point to sampledPoints, plane 3 replaces several points by their mean.
  bool computeDevicePlane1();
  bool computeDevicePlane2();
  bool computeDevicePlane3();

  std::vector<Vector3> sampledPoints;  // of the current plane, in order
  Vector3 stopPoint;
  double probeRadius = 0.0;
  std::array<Plane, 3> devicePlanes{};
};
