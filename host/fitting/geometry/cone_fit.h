#pragma once

#include <optional>
#include <span>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/shapes.h"

namespace fitting {

// A guess at the cone from the centres and diameters of its two ends, in either order. It is one more start
// beside the fit's own, so it can only help; a seed whose centres coincide or are not finite, or whose
// diameters are negative, not finite or both zero, is ignored.
struct ConeSeed {
  Eigen::Vector3d centreA;
  Eigen::Vector3d centreB;
  double diameterA;
  double diameterB;
};

// The cone minimising the squared distances. Its axis runs from the narrow end to the wide one, in the
// canonical sense when the two are exactly as wide. No result for fewer than 6 points, points that coincide
// or lie in a plane, points that reach past the apex, points that do not determine a cone, or points that a
// cone along a distinct axis fits as well; scatter as for fitCylinder.
FitResult<Cone> fitCone(std::span<const Eigen::Vector3d> points,
                        const std::optional<ConeSeed>& seed = std::nullopt, double scatter = 0.0);

// The best cone whose axis is parallel to direction, exactly; the axis still runs from the narrow end to the
// wide one, so it may be direction reversed (it is direction's sense when the ends are exactly as wide). No
// result for fewer than 4 points, a zero or non-finite direction, points that seen along it lie on a line, or
// points all at one height along it.
FitResult<Cone> fitConeParallelTo(std::span<const Eigen::Vector3d> points, const Eigen::Vector3d& direction);

}  // namespace fitting
