#pragma once

#include <span>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/shapes.h"

namespace fitting {

// The plane through the centroid minimising the squared distances; its normal has the canonical sense.
// No result for fewer than 3 points, or points that coincide or lie on a line.
FitResult<Plane> fitPlane(std::span<const Eigen::Vector3d> points);

}  // namespace fitting
