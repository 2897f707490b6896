#include "host/fitting/geometry/signed_distance.h"

#include <cmath>

#include <Eigen/Geometry>

namespace fitting {
namespace {

Eigen::Vector3d acrossAxis(const Eigen::Vector3d& point, const Eigen::Vector3d& onAxis,
                           const Eigen::Vector3d& axis) {
  const Eigen::Vector3d offset = point - onAxis;
  return offset - offset.dot(axis) * axis;
}

}  // namespace

double signedDistance(const Plane& plane, const Eigen::Vector3d& point) {
  return plane.normal.dot(point - plane.point);
}

double signedDistance(const Line& line, const Eigen::Vector3d& point) {
  const Eigen::Vector3d across = acrossAxis(point, line.point, line.direction);
  if (!line.planeNormal) return across.norm();
  return line.planeNormal->cross(line.direction).normalized().dot(across);
}

double signedDistance(const Circle& circle, const Eigen::Vector3d& point) {
  return acrossAxis(point, circle.centre, circle.normal).norm() - circle.radius;
}

double signedDistance(const Sphere& sphere, const Eigen::Vector3d& point) {
  return (point - sphere.centre).norm() - sphere.radius;
}

double signedDistance(const Cylinder& cylinder, const Eigen::Vector3d& point) {
  return acrossAxis(point, cylinder.pointOnAxis, cylinder.axis).norm() - cylinder.radius;
}

double signedDistance(const Cone& cone, const Eigen::Vector3d& point) {
  const double height = cone.axis.dot(point - cone.endA);
  const double radial = acrossAxis(point, cone.endA, cone.axis).norm();
  return (radial - cone.radiusA) * std::cos(cone.halfAngle) - height * std::sin(cone.halfAngle);
}

double signedDistance(const ParallelPlanes& planes, const Eigen::Vector3d& point) {
  return std::abs(planes.normal.dot(point - planes.midPoint)) - planes.distance / 2.0;
}

}  // namespace fitting
