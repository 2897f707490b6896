#include "host/fitting/geometry/axial_fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <Eigen/Geometry>

#include "host/fitting/geometry/axial_uncertainty.h"
#include "host/fitting/geometry/axis_ambiguity.h"
#include "host/fitting/geometry/axis_search.h"
#include "host/fitting/geometry/multi_start.h"
#include "host/fitting/geometry/orientation.h"
#include "host/fitting/geometry/plane_view.h"

namespace fitting::detail {
namespace {

// Ring planes within about 5 degrees of each other are parallel: a ring of three touches on a bore of a few
// millimetres tilts its plane by a few tenths of a degree for each 10 um a touch is off.
constexpr double kParallelRingsCosine = 0.996;
// Ring centres this fraction of their radii apart across the axis still share it, past the same noise.
constexpr double kCoaxialRings = 0.05;

FitResult<AxialSurface> lowestSurface(const Points<3>& points, AxialFreedom freedom,
                                      std::span<const AxialSurface> starts, std::string_view shape) {
  std::vector<AxialSurface> footed;
  for (const AxialSurface& start : starts) footed.push_back(footedAtOrigin(start));
  const auto modelFor = [freedom](const Points<3>& set) { return AxialSurfaceModel(set, freedom); };
  const auto minimum = lowestMinimum<3>(points, modelFor, std::span<const AxialSurface>(footed), shape);
  if (!minimum) return minimum.failure();
  if (!(std::abs(minimum->state.slope) < std::numbers::pi / 2.0)) {
    return FitFailure{"the fit converged to a flat surface"};
  }
  if (!minimum->resolvesRadius(AxialSurfaceModel::kRadiusParameter)) {
    return FitFailure{"the points' scatter hides their curvature"};
  }
  return minimum->state;
}

// The surface turned by rotation about the origin.
AxialSurface turned(const AxialSurface& surface, const Eigen::Matrix3d& rotation) {
  return {rotation * surface.point, rotation * surface.axis, surface.radius, surface.slope};
}

// Whether the points leave no gap of half a turn or more around the axis of surface: less than that, and the
// arc they cover, not their spread along the axis, is what leaves the axis undetermined.
bool coversHalfATurn(const Points<3>& points, const AxialSurface& surface) {
  const Eigen::Matrix3d basis = basisAround(surface.axis);
  const Points<3> local = basis.transpose() * (points.colwise() - surface.point);
  std::vector<double> azimuths;
  for (Eigen::Index i = 0; i < local.cols(); ++i) azimuths.push_back(std::atan2(local(1, i), local(0, i)));
  std::sort(azimuths.begin(), azimuths.end());
  double largestGap = azimuths.front() + 2.0 * std::numbers::pi - azimuths.back();
  for (std::size_t i = 1; i < azimuths.size(); ++i)
    largestGap = std::max(largestGap, azimuths[i] - azimuths[i - 1]);
  return largestGap < std::numbers::pi;
}

// The circle through three points; none when they lie on a line.
struct Ring {
  Eigen::Vector3d centre, normal;
  double radius;
};
std::optional<Ring> ringThrough(const Eigen::Vector3d& a, const Eigen::Vector3d& b,
                                const Eigen::Vector3d& c) {
  const Eigen::Vector3d ab = b - a, ac = c - a, normal = ab.cross(ac);
  const double twiceArea = normal.norm();
  if (!(twiceArea > kMinRelativeSpread * ab.norm() * ac.norm())) return std::nullopt;
  const Eigen::Vector3d toCentre =
      (ac.squaredNorm() * normal.cross(ab) + ab.squaredNorm() * ac.cross(normal)) /
      (2.0 * twiceArea * twiceArea);
  return Ring{a + toCentre, normal / twiceArea, toCentre.norm()};
}

// The axis an operator's rings give: the first three touches and the last three each lie on a circle, and
// when the two circles are parallel and about one axis, that axis. Touches on two rings of three lie exactly
// on cylinders across the bore as well as on it; the order they were taken in tells which was probed.
std::optional<Eigen::Vector3d> ringsAxis(const Points<3>& points) {
  const Eigen::Index n = points.cols();
  if (n < 6) return std::nullopt;
  const auto first = ringThrough(points.col(0), points.col(1), points.col(2));
  const auto last = ringThrough(points.col(n - 3), points.col(n - 2), points.col(n - 1));
  if (!first || !last || !(std::abs(first->normal.dot(last->normal)) > kParallelRingsCosine)) {
    return std::nullopt;
  }
  const Eigen::Vector3d axis =
      (first->normal + (first->normal.dot(last->normal) < 0.0 ? -last->normal : last->normal)).normalized();
  const Eigen::Vector3d apart = last->centre - first->centre;
  const double offAxis = (apart - apart.dot(axis) * axis).norm();
  if (!(offAxis <= kCoaxialRings * (first->radius + last->radius))) return std::nullopt;
  return axis;
}

// The axis the caller's seed gives, else the touches' order, in the points' own frame.
std::optional<ToldAxis> toldAxis(const Points<3>& own, const std::optional<AxialSurface>& seed) {
  if (seed) return ToldAxis{seed->axis, seed};
  const std::optional<Eigen::Vector3d> rings = ringsAxis(own);
  if (!rings) return std::nullopt;
  return ToldAxis{*rings, std::nullopt};
}

// Why a surface the touches do not determine is refused, when they do not.
std::optional<FitFailure> undetermined(const Points<3>& own, AxialFreedom freedom,
                                       const AxialSurface& surface, double scatter, const char* shape) {
  const auto uncertainty = axialUncertainty(own, freedom, surface, scatter);
  if (uncertainty && isDetermined(*uncertainty, scatter)) return std::nullopt;
  return FitFailure{
      std::string("the touches leave the ") + shape +
      "'s axis, position or size more uncertain than a measurement allows: spread the touches " +
      (coversHalfATurn(own, surface) ? "along" : "around") + " the axis"};
}

AxialSurface normalizedSurface(const NormalizedPoints& points, const AxialSurface& input) {
  return {(input.point - points.centroid) / points.scale, input.axis, input.radius / points.scale,
          input.slope};
}

FitResult<AxialFit> fitNormalized(NormalizedPoints points, AxialFreedom freedom,
                                  std::span<const AxialSurface> starts) {
  const auto surface =
      lowestSurface(points.coordinates, freedom, starts, freedom.slope ? "cone" : "cylinder");
  if (!surface) return surface.failure();
  return AxialFit{std::move(points), *surface};
}

}  // namespace

FitResult<AxialFit> fitAxialSurface(std::span<const Eigen::Vector3d> points, bool withSlope,
                                    const std::optional<AxialSurface>& inputSeed, double scatter) {
  if (!(std::isfinite(scatter) && scatter >= 0.0)) return FitFailure{"the points' scatter is not a length"};
  const AxialFreedom freedom{true, withSlope};
  auto normalized = normalizePoints(points, AxialSurfaceModel::parameterCount(freedom));
  if (!normalized) return normalized.failure();
  if (isNearlyCoplanar(principalAxes<3>(normalized->coordinates))) {
    return FitFailure{"the points lie in a plane, which does not determine an axis"};
  }
  // Searched, fitted and compared in the points' own frame: every start, step and rounding is then the same
  // whatever the pose, and so is the answer.
  const Eigen::Matrix3d frame = ownFrame(normalized->coordinates);
  const Points<3> own = frame.transpose() * normalized->coordinates;
  const AxialSearch search = searchAxialStarts(spreadSample<3>(own), withSlope);
  std::vector<AxialSurface> starts = search.starts;
  std::optional<AxialSurface> seed;
  if (inputSeed) seed = turned(normalizedSurface(*normalized, *inputSeed), frame.transpose());
  if (seed) starts.push_back(*seed);
  const char* shape = withSlope ? "cone" : "cylinder";
  auto lowest = lowestSurface(own, freedom, starts, shape);
  const std::optional<AxialSurface> fitted = lowest ? std::optional(*lowest) : std::nullopt;
  const double ownScatter = scatter / normalized->scale;
  const AxisChoice choice = chooseAxis(own, freedom, fitted, search, ownScatter, toldAxis(own, seed));
  if (choice.rivalled) {
    return FitFailure{std::string("the points fit ") + shape +
                      "s along distinct axes equally well, so they do not determine its axis: spread the "
                      "touches " +
                      (coversHalfATurn(own, *choice.lowest) ? "along" : "around") + " the axis"};
  }
  // A valley the starts missed may reach lower than the fit did, or lie where the fit's descents did not
  // settle: the fit is taken on from there, and held to the same checks.
  if (choice.lowest && !choice.fittedIsLowest) {
    lowest = lowestSurface(own, freedom, std::span(&*choice.lowest, 1), shape);
  }
  // Where the touches do not determine the surface, that is the reason to give, not how a descent ended.
  const std::optional<AxialSurface> reached = lowest ? std::optional(*lowest) : choice.lowest;
  if (!reached) return lowest.failure();
  if (auto refusal = undetermined(own, freedom, *reached, ownScatter, shape)) return *refusal;
  if (!lowest) return lowest.failure();
  return AxialFit{std::move(normalized).value(), turned(*lowest, frame)};
}

FitResult<AxialFit> fitAxialSurfaceParallelTo(std::span<const Eigen::Vector3d> points, bool withSlope,
                                              const Eigen::Vector3d& direction) {
  const std::optional<Eigen::Vector3d> unit = unitDirection(direction);
  if (!unit) return FitFailure{"the axis direction is zero or not finite"};
  const AxialFreedom freedom{false, withSlope};
  auto normalized = normalizePoints(points, AxialSurfaceModel::parameterCount(freedom));
  if (!normalized) return normalized.failure();
  const Eigen::Vector3d& axis = *unit;
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
  // A cone's algebraic section needs five points; with four, circular sections start it.
  const std::optional<AxialSurface> conical =
      withSlope ? sectionAlong(normalized->coordinates, axis, true) : std::nullopt;
  const std::vector<AxialSurface> starts =
      conical ? std::vector{*conical} : circularSections(normalized->coordinates, axis);
  return fitNormalized(std::move(normalized).value(), freedom, starts);
}

}  // namespace fitting::detail
