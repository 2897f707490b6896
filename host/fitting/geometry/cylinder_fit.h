#pragma once

#include <optional>
#include <span>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/shapes.h"

namespace fitting {

// A guess at the cylinder, such as a nominal one. It is one more start beside the fit's own, so it can only
// help; a seed with a zero or non-finite axis, a non-finite point or a diameter not above zero is ignored.
struct CylinderSeed {
  Eigen::Vector3d axisDirection;
  Eigen::Vector3d pointOnAxis;
  double diameter;
};

// The cylinder minimising the squared distances, its axis in the canonical sense. No result for fewer than 5
// points, points that coincide or lie in a plane, points that do not determine a cylinder (a flat patch), or
// points that a cylinder along a distinct axis fits as well (see fitting.h); scatter is the points' own
// scatter about the surface, one standard deviation in their unit, such as a probe's (zero: exact points),
// and must be finite and not negative.
FitResult<Cylinder> fitCylinder(std::span<const Eigen::Vector3d> points,
                                const std::optional<CylinderSeed>& seed = std::nullopt, double scatter = 0.0);

// The best cylinder whose axis is parallel to direction: its axis is direction normalized, in the sense
// given. No result for fewer than 3 points, a zero or non-finite direction, or points that, seen along the
// direction, coincide or lie on a line.
FitResult<Cylinder> fitCylinderParallelTo(std::span<const Eigen::Vector3d> points,
                                          const Eigen::Vector3d& direction);

}  // namespace fitting
