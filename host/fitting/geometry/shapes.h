#pragma once

// The fitted shapes. Lengths are in the points' unit, angles in radians; every direction is a unit vector.
// fitting.h states the conventions they share.

#include <optional>

#include <Eigen/Core>

namespace fitting {

// A right-handed orthonormal frame: axes.col(0) and axes.col(1) span the shape's plane or cross-section and
// axes.col(2) is its normal or axis. The axes are a fixed function of that normal, so they are reproducible.
struct Frame {
  Eigen::Vector3d origin;
  Eigen::Matrix3d axes;
};

struct Plane {
  Eigen::Vector3d point;   // the points' centroid
  Eigen::Vector3d normal;  // canonical sign
};

struct Line {
  Eigen::Vector3d point;      // the points' centroid (its projection, for a line fitted in a plane)
  Eigen::Vector3d direction;  // canonical sign
  Eigen::Vector3d start;      // the projection of the point lowest along direction
  Eigen::Vector3d end;        // the projection of the point highest along direction
  // Set by a fit in a plane: distances are then measured in that plane, positive on the side of
  // planeNormal x direction. A line in space has no sides, and its distances are never negative.
  std::optional<Eigen::Vector3d> planeNormal;
};

struct Circle {
  Eigen::Vector3d centre;
  Eigen::Vector3d normal;
  double radius;
  Frame frame;  // origin at the centre, axes.col(2) == normal
};

struct Sphere {
  Eigen::Vector3d centre;
  double radius;
};

struct Cylinder {
  Eigen::Vector3d axis;
  Eigen::Vector3d pointOnAxis;  // the foot of the points' centroid on the axis
  double radius;
  Eigen::Vector3d start;  // on the axis, level with the point lowest along axis
  Eigen::Vector3d end;    // on the axis, level with the point highest along axis
  Frame frame;            // origin at pointOnAxis, axes.col(2) == axis
};

struct Cone {
  Eigen::Vector3d endA;  // on the axis, at the narrow end of the points' axial extent
  Eigen::Vector3d endB;  // on the axis, at the wide end
  double radiusA;
  double radiusB;
  Eigen::Vector3d axis;  // from endA towards endB
  double halfAngle;      // between the axis and the surface, in [0, pi/2)
};

struct ParallelPlanes {
  Eigen::Vector3d normal;    // from the first group's plane towards the second's
  Eigen::Vector3d midPoint;  // on the plane half way between the two
  double distance;           // between the two planes, never negative
};

}  // namespace fitting
