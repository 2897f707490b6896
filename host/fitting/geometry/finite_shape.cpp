#include "host/fitting/geometry/finite_shape.h"

#include <cmath>

namespace fitting::detail {
namespace {

bool isFinite(const Frame& frame) {
  return frame.origin.allFinite() && frame.axes.allFinite();
}

}  // namespace

bool isFinite(const Plane& plane) {
  return plane.point.allFinite() && plane.normal.allFinite();
}

bool isFinite(const Line& line) {
  return line.point.allFinite() && line.direction.allFinite() && line.start.allFinite() &&
         line.end.allFinite();
}

bool isFinite(const Circle& circle) {
  return circle.centre.allFinite() && circle.normal.allFinite() && std::isfinite(circle.radius) &&
         isFinite(circle.frame);
}

bool isFinite(const Sphere& sphere) {
  return sphere.centre.allFinite() && std::isfinite(sphere.radius);
}

bool isFinite(const Cylinder& cylinder) {
  return cylinder.axis.allFinite() && cylinder.pointOnAxis.allFinite() && std::isfinite(cylinder.radius) &&
         cylinder.start.allFinite() && cylinder.end.allFinite() && isFinite(cylinder.frame);
}

bool isFinite(const Cone& cone) {
  return cone.endA.allFinite() && cone.endB.allFinite() && std::isfinite(cone.radiusA) &&
         std::isfinite(cone.radiusB) && cone.axis.allFinite() && std::isfinite(cone.halfAngle);
}

bool isFinite(const ParallelPlanes& planes) {
  return planes.normal.allFinite() && planes.midPoint.allFinite() && std::isfinite(planes.distance);
}

}  // namespace fitting::detail
