#include "host/fitting/geometry/parallel_planes_fit.h"

#include <algorithm>
#include <cmath>

#include "host/fitting/geometry/finite_shape.h"
#include "host/fitting/geometry/orientation.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting {
namespace {

// A normal and two offsets.
constexpr std::size_t kMinimumPoints = 4;

}  // namespace

FitResult<ParallelPlanes> fitParallelPlanes(std::span<const Eigen::Vector3d> first,
                                            std::span<const Eigen::Vector3d> second) {
  if (first.empty() || second.empty() || first.size() + second.size() < kMinimumPoints) {
    return FitFailure{"needs a point in each group and at least 4 points in all"};
  }
  // Each plane passes through its group's centroid, so only the spread about the centroids decides the
  // normal.
  const auto a = detail::centredPoints(first);
  if (!a) return a.failure();
  const auto b = detail::centredPoints(second);
  if (!b) return b.failure();
  detail::Points<3> deviations(3, a->deviations.cols() + b->deviations.cols());
  deviations << a->deviations, b->deviations;
  const double largestCoordinate = std::max(a->largestCoordinate, b->largestCoordinate);
  const std::optional<double> spread = detail::resolvedSpread(deviations, largestCoordinate);
  if (!spread) return FitFailure{"the points of each group coincide"};
  const auto principal = detail::principalAxes<3>(deviations / *spread);
  if (detail::isNearlyCollinear(principal)) return FitFailure{"the points do not determine a common normal"};
  const Eigen::Vector3d normal = detail::canonicalDirection(principal.axes.col(0));
  const double offset = normal.dot(b->centroid - a->centroid);
  return detail::finiteOrRefused(ParallelPlanes{offset < 0.0 ? Eigen::Vector3d(-normal) : normal,
                                                (a->centroid + b->centroid) / 2.0, std::abs(offset)});
}

}  // namespace fitting
