#include "host/fitting/geometry/sphere_fit.h"

#include "host/fitting/geometry/centre_radius_fit.h"
#include "host/fitting/geometry/finite_shape.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting {

FitResult<Sphere> fitSphere(std::span<const Eigen::Vector3d> points) {
  const auto normalized = detail::normalizePoints(points, 4);
  if (!normalized) return normalized.failure();
  if (detail::isNearlyCoplanar(detail::principalAxes<3>(normalized->coordinates))) {
    return FitFailure{"the points lie in a plane, which does not determine a sphere"};
  }
  const auto fitted = detail::fitCentreRadius<3>(normalized->coordinates, "sphere");
  if (!fitted) return fitted.failure();
  return detail::finiteOrRefused(
      Sphere{normalized->toInput(fitted->centre), normalized->scale * fitted->radius});
}

}  // namespace fitting
