#pragma once

#include <span>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/shapes.h"

namespace fitting {

// The circle in the given plane minimising the squared radial distances of the points' projections into it.
// The circle's normal is the plane's, in the sense given. No result for fewer than 3 points, projections that
// coincide or lie on a line, or a plane without a finite point and a non-zero normal.
FitResult<Circle> fitCircleInPlane(std::span<const Eigen::Vector3d> points, const Plane& plane);

// The circle in space: the best plane (fitPlane, so the normal has the canonical sense), then the best circle
// in it. No result for fewer than 3 points, or points that coincide or lie on a line.
FitResult<Circle> fitCircle(std::span<const Eigen::Vector3d> points);

}  // namespace fitting
