#pragma once

#include <span>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/shapes.h"

namespace fitting {

// Two parallel planes, one through each group, sharing the normal that minimises the squared distances of
// all the points (a slot's or a rib's two faces). The normal points from the first group's plane towards
// the second's; it has the canonical sense when the two planes coincide. No result for an empty group,
// fewer than 4 points in all, or groups that leave the normal undetermined (all on parallel lines).
FitResult<ParallelPlanes> fitParallelPlanes(std::span<const Eigen::Vector3d> first,
                                            std::span<const Eigen::Vector3d> second);

}  // namespace fitting
