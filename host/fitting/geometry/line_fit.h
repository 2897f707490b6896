#pragma once

#include <span>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/shapes.h"

namespace fitting {

// The line in space minimising the squared distances, through the centroid, its direction in the canonical
// sense. No result for fewer than 2 points, or points that coincide.
FitResult<Line> fitLine(std::span<const Eigen::Vector3d> points);

// The line in the given plane minimising the squared in-plane distances of the points' projections into
// it. The line's planeNormal is the plane's unit normal, in the sense given. No result for fewer than 2
// points, projections that coincide, or a plane without a finite point and a non-zero normal.
FitResult<Line> fitLineInPlane(std::span<const Eigen::Vector3d> points, const Plane& plane);

}  // namespace fitting
