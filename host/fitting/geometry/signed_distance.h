#pragma once

// Signed orthogonal distances of points to fitted shapes: positive outside, that is away from the axis or the
// centre, on the normal's side of a plane, and away from the mid-plane of parallel planes.

#include <span>
#include <vector>

#include <Eigen/Core>

#include "host/fitting/geometry/shapes.h"

namespace fitting {

double signedDistance(const Plane& plane, const Eigen::Vector3d& point);
// Never negative for a line in space; in the line's plane, positive on the side of planeNormal x direction.
double signedDistance(const Line& line, const Eigen::Vector3d& point);
// In the circle's plane: the radial distance of the point's projection into it.
double signedDistance(const Circle& circle, const Eigen::Vector3d& point);
double signedDistance(const Sphere& sphere, const Eigen::Vector3d& point);
double signedDistance(const Cylinder& cylinder, const Eigen::Vector3d& point);
// To the surface line in the point's half-plane through the axis, extended past the ends and the apex.
double signedDistance(const Cone& cone, const Eigen::Vector3d& point);
// To the nearer of the two planes, negative between them.
double signedDistance(const ParallelPlanes& planes, const Eigen::Vector3d& point);

template <class Shape>
std::vector<double> signedDistances(const Shape& shape, std::span<const Eigen::Vector3d> points) {
  std::vector<double> distances;
  distances.reserve(points.size());
  for (const Eigen::Vector3d& point : points) distances.push_back(signedDistance(shape, point));
  return distances;
}

}  // namespace fitting
