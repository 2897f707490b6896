#include "host/fitting/geometry/line_fit.h"

#include <utility>

#include "host/fitting/geometry/finite_shape.h"
#include "host/fitting/geometry/orientation.h"
#include "host/fitting/geometry/plane_view.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting {
namespace {

constexpr std::size_t kMinimumPoints = 2;

Line lineThrough(const Eigen::Vector3d& point, const Eigen::Vector3d& direction,
                 const detail::NormalizedPoints& points) {
  const Eigen::Vector3d normalizedPoint = (point - points.centroid) / points.scale;
  const auto [low, high] = detail::extentAlong(points.coordinates, normalizedPoint, direction);
  return Line{point, direction, point + points.scale * low * direction,
              point + points.scale * high * direction, std::nullopt};
}

}  // namespace

FitResult<Line> fitLine(std::span<const Eigen::Vector3d> points) {
  const auto normalized = detail::normalizePoints(points, kMinimumPoints);
  if (!normalized) return normalized.failure();
  const Eigen::Matrix3d axes = detail::principalAxes<3>(normalized->coordinates).axes;
  return detail::finiteOrRefused(
      lineThrough(normalized->centroid, detail::canonicalDirection(axes.col(2)), *normalized));
}

FitResult<Line> fitLineInPlane(std::span<const Eigen::Vector3d> points, const Plane& plane) {
  const std::optional<Eigen::Vector3d> unitNormal = detail::unitDirection(plane.normal);
  if (!plane.point.allFinite() || !unitNormal) {
    return FitFailure{"the plane needs a finite point and a non-zero normal"};
  }
  const auto normalized = detail::normalizePoints(points, kMinimumPoints);
  if (!normalized) return normalized.failure();
  const Eigen::Vector3d& normal = *unitNormal;
  const auto view = detail::viewInPlane(*normalized, plane.point, normal);
  if (!view) return view.failure();
  const Eigen::Vector2d planar = detail::principalAxes<2>(view->coordinates).axes.col(1);
  const Eigen::Vector3d direction = detail::canonicalDirection(view->basis.leftCols<2>() * planar);
  Line line = lineThrough(view->origin, direction, *normalized);
  line.planeNormal = normal;
  return detail::finiteOrRefused(std::move(line));
}

}  // namespace fitting
