#include "host/fitting/geometry/axis_search.h"

#include <algorithm>
#include <cmath>

#include "host/fitting/geometry/centre_radius_fit.h"
#include "host/fitting/geometry/orientation.h"

namespace fitting::detail {
namespace {

// About 13 degrees apart over the half sphere, so that every axis lies within the minimiser's reach of one.
constexpr int kSearchDirectionCount = 128;
// The starts the minimiser is run from; more than one, in case the best section lies in the wrong valley.
constexpr std::size_t kStartCount = 3;
// Starts whose axes are closer than about 15 degrees would lead to the same minimum.
constexpr double kDistinctAxisCosine = 0.966;
// pi (3 - sqrt 5): successive turns by it spread points evenly around a circle.
constexpr double kGoldenAngle = 2.399963229728653;

struct RankedStart {
  double rmsDistance;
  AxialSurface surface;
};

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

double rmsDistance(const Points<3>& points, const AxialSurface& surface) {
  Eigen::VectorXd distances;
  axialDistances(points, surface, distances);
  return std::sqrt(distances.squaredNorm() / static_cast<double>(distances.size()));
}

std::vector<RankedStart> rankSections(const Points<3>& points, bool withSlope) {
  std::vector<RankedStart> ranked;
  for (const Eigen::Vector3d& axis : candidateAxes(points)) {
    const std::optional<AxialSurface> section = sectionAlong(points, axis, withSlope);
    if (!section) continue;
    const double distance = rmsDistance(points, *section);
    if (std::isfinite(distance)) ranked.push_back({distance, *section});
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const RankedStart& a, const RankedStart& b) { return a.rmsDistance < b.rmsDistance; });
  return ranked;
}

}  // namespace

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

std::vector<AxialSurface> searchAxialStarts(const Points<3>& normalized, bool withSlope) {
  std::vector<AxialSurface> starts;
  for (const RankedStart& candidate : rankSections(normalized, withSlope)) {
    if (starts.size() == kStartCount) break;
    const bool distinct = std::none_of(starts.begin(), starts.end(), [&](const AxialSurface& kept) {
      return std::abs(kept.axis.dot(candidate.surface.axis)) > kDistinctAxisCosine;
    });
    if (distinct) starts.push_back(candidate.surface);
  }
  if (withSlope || starts.empty()) return starts;
  std::vector<AxialSurface> sections = circularSections(normalized, starts.front().axis);
  sections.insert(sections.end(), starts.begin() + 1, starts.end());
  return sections;
}

}  // namespace fitting::detail
