#include "host/fitting/geometry/axial_fit.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

#include "host/fitting/geometry/axis_search.h"
#include "host/fitting/geometry/levenberg_marquardt.h"
#include "host/fitting/geometry/orientation.h"
#include "host/fitting/geometry/plane_view.h"

namespace fitting::detail {
namespace {

// Enough points to rank starts reliably, few enough that trying several costs little.
constexpr Eigen::Index kSampleSize = 256;
// 1 / golden ratio: stepping by it never lines up with a periodic order of the points, such as rings.
constexpr double kSampleStride = 0.6180339887498949;
// The radius's place in AxialSurfaceModel's step.
constexpr Eigen::Index kRadiusParameter = 2;

Points<3> spreadSample(const Points<3>& points) {
  const Eigen::Index count = points.cols();
  if (count <= kSampleSize) return points;
  Points<3> sample(3, kSampleSize);
  for (Eigen::Index i = 0; i < kSampleSize; ++i) {
    const double position = std::fmod(static_cast<double>(i) * kSampleStride, 1.0);
    sample.col(i) = points.col(static_cast<Eigen::Index>(position * static_cast<double>(count)));
  }
  return sample;
}

// Runs the minimiser from every start on a sample, then from the lowest point reached on all the points. When
// that lowest point is no usable minimum (a flat patch, whose cylinder grows without end), a higher minimum
// found elsewhere would be a wrong answer, so the fit fails.
FitResult<AxialSurface> refineBest(const Points<3>& points, AxialFreedom freedom,
                                   std::span<const AxialSurface> starts) {
  const Points<3> sample = spreadSample(points);
  const AxialSurfaceModel sampleModel(sample, freedom);
  std::optional<Descent<AxialSurface>> best;
  for (const AxialSurface& start : starts) {
    Descent<AxialSurface> descent = minimizeSumOfSquares(sampleModel, footedAtOrigin(start));
    const double cost = descent.lowest.sumOfSquares;
    if (std::isfinite(cost) && (!best || cost < best->lowest.sumOfSquares)) best = std::move(descent);
  }
  if (!best) return FitFailure{"no start for the fit gives finite distances"};
  if (best->failure) return *best->failure;
  const auto minimum = minimizeSumOfSquares(AxialSurfaceModel(points, freedom), best->lowest.state).result();
  if (!minimum) return minimum.failure();
  if (!(std::abs(minimum->state.slope) < std::numbers::pi / 2.0)) {
    return FitFailure{"the fit converged to a flat surface"};
  }
  if (!minimum->resolvesRadius(kRadiusParameter)) {
    return FitFailure{"the points' scatter hides their curvature"};
  }
  return minimum->state;
}

AxialSurface normalizedSurface(const NormalizedPoints& points, const AxialSurface& input) {
  return {(input.point - points.centroid) / points.scale, input.axis, input.radius / points.scale,
          input.slope};
}

FitResult<AxialFit> fitNormalized(NormalizedPoints points, AxialFreedom freedom,
                                  std::span<const AxialSurface> starts) {
  const auto surface = refineBest(points.coordinates, freedom, starts);
  if (!surface) return surface.failure();
  return AxialFit{std::move(points), *surface};
}

}  // namespace

FitResult<AxialFit> fitAxialSurface(std::span<const Eigen::Vector3d> points, bool withSlope,
                                    const std::optional<AxialSurface>& inputSeed) {
  const AxialFreedom freedom{true, withSlope};
  auto normalized = normalizePoints(points, AxialSurfaceModel::parameterCount(freedom));
  if (!normalized) return normalized.failure();
  if (isNearlyCoplanar(principalAxes<3>(normalized->coordinates))) {
    return FitFailure{"the points lie in a plane, which does not determine an axis"};
  }
  std::vector<AxialSurface> starts = searchAxialStarts(spreadSample(normalized->coordinates), withSlope);
  if (inputSeed) starts.push_back(normalizedSurface(*normalized, *inputSeed));
  return fitNormalized(std::move(normalized).value(), freedom, starts);
}

FitResult<AxialFit> fitAxialSurfaceParallelTo(std::span<const Eigen::Vector3d> points, bool withSlope,
                                              const Eigen::Vector3d& direction) {
  if (!isDirection(direction)) return FitFailure{"the axis direction is zero or not finite"};
  const AxialFreedom freedom{false, withSlope};
  auto normalized = normalizePoints(points, AxialSurfaceModel::parameterCount(freedom));
  if (!normalized) return normalized.failure();
  const Eigen::Vector3d axis = direction.normalized();
  const auto view = viewInPlane(*normalized, normalized->centroid, axis);
  if (!view) return view.failure();
  if (isNearlyCollinear(principalAxes<2>(view->coordinates))) {
    return FitFailure{"seen along the axis, the points lie on a line, which does not determine a section"};
  }
  const double axialSpread =
      (axis.transpose() * normalized->coordinates).norm() / std::sqrt(static_cast<double>(points.size()));
  if (withSlope && axialSpread < kMinRelativeSpread) {
    return FitFailure{"the points lie at one height along the axis, which does not determine a cone"};
  }
  const std::optional<AxialSurface> start = sectionAlong(normalized->coordinates, axis, withSlope);
  if (!start) return FitFailure{"no section along the axis fits the points"};
  return fitNormalized(std::move(normalized).value(), freedom, std::span(&*start, 1));
}

}  // namespace fitting::detail
