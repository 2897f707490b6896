#pragma once

// The fit shared by cylinders and cones, with the axis free or held parallel to a direction.

#include <optional>
#include <span>

#include <Eigen/Core>

#include "host/fitting/geometry/axial_surface_model.h"
#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting::detail {

struct AxialFit {
  NormalizedPoints points;
  AxialSurface surface;  // in the units of points.coordinates, its point at the foot of their centroid
};

// Free axis. Starts from the axis search and from inputSeed (in input units) when there is one; the lowest
// minimum wins, and the seed's axis breaks only a tie (see chooseAxis). Refuses
// points on a line or in a plane, which leave the axis undetermined, and points that another minimum along a
// distinct axis fits as well, to within what points that scatter by scatter (input units, one standard
// deviation) tell apart.
FitResult<AxialFit> fitAxialSurface(std::span<const Eigen::Vector3d> points, bool withSlope,
                                    const std::optional<AxialSurface>& inputSeed, double scatter);

// Axis parallel to direction, exactly, and in its sense. Refuses a direction that is zero or not finite,
// points whose projections across the axis lie on a line and, for a cone, points all at one height.
FitResult<AxialFit> fitAxialSurfaceParallelTo(std::span<const Eigen::Vector3d> points, bool withSlope,
                                              const Eigen::Vector3d& direction);

}  // namespace fitting::detail
