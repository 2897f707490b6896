#include "host/fitting/geometry/circle_fit.h"

#include "host/fitting/geometry/centre_radius_fit.h"
#include "host/fitting/geometry/finite_shape.h"
#include "host/fitting/geometry/orientation.h"
#include "host/fitting/geometry/plane_fit.h"
#include "host/fitting/geometry/plane_view.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting {

FitResult<Circle> fitCircleInPlane(std::span<const Eigen::Vector3d> points, const Plane& plane) {
  const std::optional<Eigen::Vector3d> unitNormal = detail::unitDirection(plane.normal);
  if (!plane.point.allFinite() || !unitNormal) {
    return FitFailure{"the plane needs a finite point and a non-zero normal"};
  }
  const auto normalized = detail::normalizePoints(points, 3);
  if (!normalized) return normalized.failure();
  const Eigen::Vector3d& normal = *unitNormal;
  const auto view = detail::viewInPlane(*normalized, plane.point, normal);
  if (!view) return view.failure();
  if (detail::isNearlyCollinear(detail::principalAxes<2>(view->coordinates))) {
    return FitFailure{"in the plane the points lie on a line, which does not determine a circle"};
  }
  const auto fitted = detail::fitCentreRadius<2>(view->coordinates, "circle");
  if (!fitted) return fitted.failure();
  const Eigen::Vector3d centre = view->toInput(fitted->centre);
  return detail::finiteOrRefused(
      Circle{centre, normal, view->scale * fitted->radius, Frame{centre, view->basis}});
}

FitResult<Circle> fitCircle(std::span<const Eigen::Vector3d> points) {
  const FitResult<Plane> plane = fitPlane(points);
  if (!plane) return plane.failure();
  return fitCircleInPlane(points, *plane);
}

}  // namespace fitting
