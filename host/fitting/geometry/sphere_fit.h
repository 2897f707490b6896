#pragma once

#include <span>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/shapes.h"

namespace fitting {

// The sphere minimising the squared distances. No result for fewer than 4 points, points that coincide or
// lie in a plane, or a fit whose centre the points leave undetermined (a nearly flat cap).
FitResult<Sphere> fitSphere(std::span<const Eigen::Vector3d> points);

}  // namespace fitting
