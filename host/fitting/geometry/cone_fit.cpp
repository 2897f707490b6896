#include "host/fitting/geometry/cone_fit.h"

#include <algorithm>
#include <cmath>

#include "host/fitting/geometry/axial_fit.h"
#include "host/fitting/geometry/finite_shape.h"
#include "host/fitting/geometry/orientation.h"

namespace fitting {
namespace {

bool isDiameter(double d) {
  return std::isfinite(d) && d >= 0.0;
}

std::optional<detail::AxialSurface> seedSurface(const std::optional<ConeSeed>& seed) {
  if (!seed) return std::nullopt;
  const Eigen::Vector3d along = seed->centreB - seed->centreA;
  const std::optional<Eigen::Vector3d> axis = detail::unitDirection(along);
  if (!axis || !isDiameter(seed->diameterA) || !isDiameter(seed->diameterB) ||
      std::max(seed->diameterA, seed->diameterB) == 0.0) {
    return std::nullopt;
  }
  const double taper = (seed->diameterB - seed->diameterA) / 2.0;
  return detail::AxialSurface{seed->centreA, *axis, seed->diameterA / 2.0,
                              std::atan(taper / along.dot(*axis))};
}

// The surface's axis turned to sense when its description allows either: the slope changes sign with it.
detail::AxialSurface orientedAlong(detail::AxialSurface surface, const Eigen::Vector3d& sense) {
  if (surface.axis.dot(sense) < 0.0) {
    surface.axis = -surface.axis;
    surface.slope = -surface.slope;
  }
  return surface;
}

FitResult<Cone> toCone(const detail::AxialFit& fit, const Eigen::Vector3d& sense) {
  const detail::AxialSurface surface = orientedAlong(fit.surface, sense);
  const auto [low, high] = detail::extentAlong(fit.points.coordinates, surface.point, surface.axis);
  const double taper = std::tan(surface.slope);
  // Without taper the low end is the narrow one, which keeps the axis in sense.
  const bool narrowsUpwards = taper < 0.0;
  const double heightA = narrowsUpwards ? high : low;
  const double heightB = narrowsUpwards ? low : high;
  const double radiusA = surface.radius + heightA * taper;
  if (radiusA < 0.0) return FitFailure{"the points reach past the cone's apex"};
  const double scale = fit.points.scale;
  const Eigen::Vector3d point = fit.points.toInput(surface.point);
  return detail::finiteOrRefused(
      Cone{point + scale * heightA * surface.axis, point + scale * heightB * surface.axis, scale * radiusA,
           scale * (surface.radius + heightB * taper),
           narrowsUpwards ? Eigen::Vector3d(-surface.axis) : surface.axis, std::abs(surface.slope)});
}

}  // namespace

FitResult<Cone> fitCone(std::span<const Eigen::Vector3d> points, const std::optional<ConeSeed>& seed,
                        double scatter) {
  const auto fit = detail::fitAxialSurface(points, true, seedSurface(seed), scatter);
  if (!fit) return fit.failure();
  return toCone(*fit, detail::canonicalDirection(fit->surface.axis));
}

FitResult<Cone> fitConeParallelTo(std::span<const Eigen::Vector3d> points, const Eigen::Vector3d& direction) {
  const auto fit = detail::fitAxialSurfaceParallelTo(points, true, direction);
  if (!fit) return fit.failure();
  return toCone(*fit, fit->surface.axis);
}

}  // namespace fitting
