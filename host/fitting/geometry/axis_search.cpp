#include "host/fitting/geometry/axis_search.h"

#include <algorithm>
#include <cmath>

#include "host/fitting/geometry/centre_radius_fit.h"
#include "host/fitting/geometry/multi_start.h"
#include "host/fitting/geometry/orientation.h"
#include "host/fitting/geometry/rough_descent.h"

namespace fitting::detail {
namespace {

// About 13 degrees apart over the half sphere, so that every axis lies within about 9 degrees of one, well
// within the reach of the few steps that refine it: a wide cone's valley on a few touches of a narrow arc is
// no wider than that, and a coarser grid passes over it in some sets of touches.
constexpr int kSearchDirectionCount = 128;
// The starts the minimiser is run from; more than one, in case the best refined start lies in a valley that
// the full set of points makes worse.
constexpr std::size_t kStartCount = 4;
// Refined starts whose axes lie within about a degree head for the same minimum. Distinct minima may lie a
// few degrees apart: four touches on one ring of a bore and two on the other fit a wrong cylinder 4 degrees
// off the exact one nearly as well.
constexpr double kDistinctAxisCosine = 0.9999;
// pi (3 - sqrt 5): successive turns by it spread points evenly around a circle.
constexpr double kGoldenAngle = 2.399963229728653;
// Each section is refined on this many of the points: enough to tell minima apart, few enough that refining
// every direction costs little.
constexpr Eigen::Index kSearchSampleSize = 32;
// A few steps take a section near the true axis close to its minimum, where a section along a direction
// that happens to see the points near a circle stays off: on a few points, many directions see them so.
constexpr int kRefinementSteps = 4;

// A Fibonacci lattice on the half sphere z > 0: equal areas, no crowding at the pole.
Eigen::Vector3d evenlySpreadDirection(int index) {
  const double z = (index + 0.5) / kSearchDirectionCount;
  const double ring = std::sqrt(1.0 - z * z);
  const double azimuth = index * kGoldenAngle;
  return {ring * std::cos(azimuth), ring * std::sin(azimuth), z};
}

std::vector<Eigen::Vector3d> candidateAxes(const Points<3>& points) {
  const Eigen::Matrix3d principal = principalAxes<3>(points.colwise() - points.rowwise().mean()).axes;
  std::vector<Eigen::Vector3d> axes{principal.col(2), principal.col(1), principal.col(0)};
  for (int i = 0; i < kSearchDirectionCount; ++i) axes.push_back(evenlySpreadDirection(i));
  return axes;
}

std::optional<AxialSurface> circularSection(const Points<3>& local, const Eigen::Matrix3d& basis) {
  const auto circle = algebraicCentreRadius<2>(local.topRows<2>());
  if (!circle) return std::nullopt;
  return AxialSurface{basis.leftCols<2>() * circle->centre, basis.col(2), circle->radius, 0.0};
}

std::optional<AxialSurface> conicalSection(const Points<3>& local, const Eigen::Matrix3d& basis) {
  // With radius r + k h at height h: |q|^2 = 2 q.c + (r^2 - |c|^2) + 2 r k h + k^2 h^2, linear in
  // (c, r^2 - |c|^2, 2 r k, k^2).
  const Eigen::ArrayXd heights = local.row(2).transpose();
  Eigen::MatrixXd design(local.cols(), 5);
  design.leftCols<2>() = 2.0 * local.topRows<2>().transpose();
  design.col(2).setOnes();
  design.col(3) = heights.matrix();
  design.col(4) = heights.square().matrix();
  const Eigen::VectorXd target = local.topRows<2>().colwise().squaredNorm().transpose();
  const std::optional<Eigen::VectorXd> solution = solveAlgebraicFit(design, target);
  if (!solution) return std::nullopt;
  const Eigen::Vector2d centre = solution->head<2>();
  const double squaredRadius = (*solution)(2) + centre.squaredNorm();
  if (!(squaredRadius > 0.0)) return std::nullopt;
  const double radius = std::sqrt(squaredRadius);
  return AxialSurface{basis.leftCols<2>() * centre, basis.col(2), radius,
                      std::atan((*solution)(3) / (2.0 * radius))};
}

// The sections along the candidate axes of sample, each after a few steps of the free fit, by their sum of
// squares.
std::vector<RoughMinimum<AxialSurface>> rankSections(const Points<3>& sample, bool withSlope) {
  const AxialSurfaceModel model(sample, AxialFreedom{true, withSlope});
  std::vector<RoughMinimum<AxialSurface>> ranked;
  RoughDescentBuffers buffers;
  for (const Eigen::Vector3d& axis : candidateAxes(sample)) {
    std::optional<AxialSurface> section = sectionAlong(sample, axis, withSlope);
    // A cone's section fails along directions that see no cone; a cylinder's may still start one.
    if (!section && withSlope) section = sectionAlong(sample, axis, false);
    if (!section) continue;
    const auto refined = roughDescent(model, footedAtOrigin(*section), kRefinementSteps, buffers);
    if (std::isfinite(refined.sumOfSquares)) ranked.push_back(refined);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.sumOfSquares < b.sumOfSquares; });
  return ranked;
}

// The refined sections each taken as far down as the sample's descent goes, lowest first, one per axis: a
// place within a degree of a lower one lies in its valley. A descent that does not settle still counts where
// it got to: on a few touches a valley may be too flat and curved to settle in, and its floor fits them as
// well as any minimum. A section within a degree of one that settled, or of where that one ended, heads where
// it did, and is not taken on again.
std::vector<Minimum<AxialSurface>> valleysOf(const Points<3>& sample, bool withSlope,
                                             const std::vector<RoughMinimum<AxialSurface>>& ranked) {
  const AxialSurfaceModel model(sample, AxialFreedom{true, withSlope});
  std::vector<Minimum<AxialSurface>> minima;
  std::vector<AxialSurface> settled;
  for (const auto& section : ranked) {
    const bool seen = std::any_of(settled.begin(), settled.end(), [&](const AxialSurface& axis) {
      return !distinctAxes(axis, section.state);
    });
    if (seen) continue;
    Descent<AxialSurface> descent = minimizeSumOfSquares(model, section.state, multistart::kSampleIterations);
    if (!std::isfinite(descent.lowest.sumOfSquares)) continue;
    if (!descent.failure) {
      settled.push_back(section.state);
      settled.push_back(descent.lowest.state);
    }
    minima.push_back(std::move(descent.lowest));
  }
  std::stable_sort(minima.begin(), minima.end(),
                   [](const auto& a, const auto& b) { return a.sumOfSquares < b.sumOfSquares; });
  std::vector<Minimum<AxialSurface>> valleys;
  for (Minimum<AxialSurface>& minimum : minima) {
    const bool distinct = std::all_of(valleys.begin(), valleys.end(), [&](const auto& kept) {
      return distinctAxes(kept.state, minimum.state);
    });
    if (distinct) valleys.push_back(std::move(minimum));
  }
  return valleys;
}

}  // namespace

bool distinctAxes(const AxialSurface& a, const AxialSurface& b) {
  return !(std::abs(a.axis.dot(b.axis)) > kDistinctAxisCosine);
}

std::optional<AxialSurface> sectionAlong(const Points<3>& normalized, const Eigen::Vector3d& unitAxis,
                                         bool withSlope) {
  const Eigen::Matrix3d basis = basisAround(unitAxis);
  const Points<3> local = basis.transpose() * normalized;
  return withSlope ? conicalSection(local, basis) : circularSection(local, basis);
}

std::vector<AxialSurface> circularSections(const Points<3>& normalized, const Eigen::Vector3d& unitAxis) {
  const Eigen::Matrix3d basis = basisAround(unitAxis);
  const Points<2> across = basis.leftCols<2>().transpose() * normalized;
  const double spread = rmsLength(across);
  std::vector<AxialSurface> sections;
  if (!(spread > 0.0)) return sections;
  for (const CentreRadius<2>& circle : centreRadiusStarts<2>(across / spread)) {
    sections.push_back(
        {spread * (basis.leftCols<2>() * circle.centre), unitAxis, spread * circle.radius, 0.0});
  }
  return sections;
}

AxialSearch searchAxialStarts(const Points<3>& normalized, bool withSlope) {
  const Points<3> sample = spreadSample<3>(normalized, kSearchSampleSize);
  const std::vector<RoughMinimum<AxialSurface>> ranked = rankSections(sample, withSlope);
  AxialSearch search{{}, valleysOf(sample, withSlope, ranked), sample.cols()};
  std::vector<AxialSurface>& starts = search.starts;
  for (const auto& candidate : ranked) {
    if (starts.size() == kStartCount) break;
    const bool distinct = std::all_of(starts.begin(), starts.end(), [&](const AxialSurface& kept) {
      return distinctAxes(kept, candidate.state);
    });
    if (distinct) starts.push_back(candidate.state);
  }
  if (withSlope || starts.empty()) return search;
  const std::vector<AxialSurface> sections = circularSections(normalized, starts.front().axis);
  starts.insert(starts.end(), sections.begin(), sections.end());
  return search;
}

}  // namespace fitting::detail
