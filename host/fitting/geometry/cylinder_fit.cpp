#include "host/fitting/geometry/cylinder_fit.h"

#include <cmath>

#include "host/fitting/geometry/axial_fit.h"
#include "host/fitting/geometry/finite_shape.h"
#include "host/fitting/geometry/orientation.h"

namespace fitting {
namespace {

std::optional<detail::AxialSurface> seedSurface(const std::optional<CylinderSeed>& seed) {
  if (!seed) return std::nullopt;
  const std::optional<Eigen::Vector3d> axis = detail::unitDirection(seed->axisDirection);
  if (!axis || !seed->pointOnAxis.allFinite() || !(std::isfinite(seed->diameter) && seed->diameter > 0.0)) {
    return std::nullopt;
  }
  return detail::AxialSurface{seed->pointOnAxis, *axis, seed->diameter / 2.0, 0.0};
}

FitResult<Cylinder> toCylinder(const detail::AxialFit& fit, const Eigen::Vector3d& axis) {
  if (!(fit.surface.radius > 0.0)) return FitFailure{"the fit converged to no real radius"};
  const auto [low, high] = detail::extentAlong(fit.points.coordinates, fit.surface.point, axis);
  const double scale = fit.points.scale;
  const Eigen::Vector3d point = fit.points.toInput(fit.surface.point);
  return detail::finiteOrRefused(Cylinder{axis, point, scale * fit.surface.radius, point + scale * low * axis,
                                          point + scale * high * axis,
                                          Frame{point, detail::basisAround(axis)}});
}

}  // namespace

FitResult<Cylinder> fitCylinder(std::span<const Eigen::Vector3d> points,
                                const std::optional<CylinderSeed>& seed, double scatter) {
  const auto fit = detail::fitAxialSurface(points, false, seedSurface(seed), scatter);
  if (!fit) return fit.failure();
  return toCylinder(*fit, detail::canonicalDirection(fit->surface.axis));
}

FitResult<Cylinder> fitCylinderParallelTo(std::span<const Eigen::Vector3d> points,
                                          const Eigen::Vector3d& direction) {
  const auto fit = detail::fitAxialSurfaceParallelTo(points, false, direction);
  if (!fit) return fit.failure();
  return toCylinder(*fit, fit->surface.axis);
}

}  // namespace fitting
