#include "host/fitting/geometry/plane_fit.h"

#include "host/fitting/geometry/finite_shape.h"
#include "host/fitting/geometry/orientation.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting {

FitResult<Plane> fitPlane(std::span<const Eigen::Vector3d> points) {
  const auto normalized = detail::normalizePoints(points, 3);
  if (!normalized) return normalized.failure();
  const auto principal = detail::principalAxes<3>(normalized->coordinates);
  if (detail::isNearlyCollinear(principal)) {
    return FitFailure{"the points lie on a line, which does not determine a plane"};
  }
  return detail::finiteOrRefused(
      Plane{normalized->centroid, detail::canonicalDirection(principal.axes.col(0))});
}

}  // namespace fitting
