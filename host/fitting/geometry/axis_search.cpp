#include "host/fitting/geometry/axis_search.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <Eigen/Cholesky>

#include "host/fitting/geometry/centre_radius_fit.h"
#include "host/fitting/geometry/levenberg_marquardt.h"
#include "host/fitting/geometry/multi_start.h"
#include "host/fitting/geometry/orientation.h"

namespace fitting::detail {
namespace {

// About 13 degrees apart over the half sphere, so that every axis lies within the minimiser's reach of one.
constexpr int kSearchDirectionCount = 64;
// The starts the minimiser is run from; more than one, in case the best refined start lies in a valley that
// the full set of points makes worse.
constexpr std::size_t kStartCount = 4;
// Refined starts whose axes are closer than about 15 degrees reached the same minimum.
constexpr double kDistinctAxisCosine = 0.9999;
// pi (3 - sqrt 5): successive turns by it spread points evenly around a circle.
constexpr double kGoldenAngle = 2.399963229728653;
// Each section is refined on this many of the points: enough to tell minima apart, few enough that refining
// every direction costs little.
constexpr Eigen::Index kSearchSampleSize = 32;
// A few steps take a section near the true axis close to its minimum, where a section along a direction
// that happens to see the points near a circle stays off: on a few points, many directions see them so.
constexpr int kRefinementSteps = 4;

struct RankedStart {
  double sumOfSquares;
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

// The free fit's parameters at most: its normal equations are solved at this fixed size, fast, with any
// parameters it lacks held by unit rows of their own.
constexpr int kMaxParameters = 6;
using NormalMatrix = Eigen::Matrix<double, kMaxParameters, kMaxParameters>;
using NormalVector = Eigen::Matrix<double, kMaxParameters, 1>;

// Buffers reused by every refinement of a search.
struct RefinementBuffers {
  Eigen::VectorXd residuals, trialResiduals, step;
  Eigen::MatrixXd jacobian;
};

// A few damped Gauss-Newton steps of the free fit through its normal equations: cheap on the few points of a
// search, and accurate enough to rank the minima the steps head for. The minimiser proper takes it from
// there.
RankedStart refined(const AxialSurfaceModel& model, AxialSurface surface, RefinementBuffers& buffers) {
  model.residuals(surface, buffers.residuals);
  double cost = buffers.residuals.squaredNorm();
  double damping = minimizer::kInitialDamping;
  for (int iteration = 0; iteration < kRefinementSteps && std::isfinite(cost); ++iteration) {
    model.jacobian(surface, buffers.jacobian);
    const Eigen::Index count = buffers.jacobian.cols();
    NormalMatrix normal = NormalMatrix::Identity();
    normal.topLeftCorner(count, count).noalias() = buffers.jacobian.transpose() * buffers.jacobian;
    NormalVector gradient = NormalVector::Zero();
    gradient.head(count).noalias() = buffers.jacobian.transpose() * buffers.residuals;
    bool lowered = false;
    while (!lowered && damping < minimizer::kMaxDamping) {
      NormalMatrix damped = normal;
      damped.diagonal() *= 1.0 + damping;
      buffers.step = damped.llt().solve(-gradient).head(count);
      const AxialSurface trial = model.moved(surface, buffers.step);
      model.residuals(trial, buffers.trialResiduals);
      const double trialCost = buffers.trialResiduals.squaredNorm();
      lowered = trialCost < cost;
      if (lowered) {
        surface = trial;
        cost = trialCost;
        std::swap(buffers.residuals, buffers.trialResiduals);
        damping = std::max(damping / minimizer::kDampingFactor, minimizer::kMinDamping);
      } else {
        damping *= minimizer::kDampingFactor;
      }
    }
    if (!lowered) break;
  }
  return {cost, surface};
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

// The sections along the candidate axes, each after a few steps of the free fit, by their sum of squares.
std::vector<RankedStart> rankSections(const Points<3>& points, bool withSlope) {
  const Points<3> sample = spreadSample<3>(points, kSearchSampleSize);
  const AxialSurfaceModel model(sample, AxialFreedom{true, withSlope});
  std::vector<RankedStart> ranked;
  RefinementBuffers buffers;
  for (const Eigen::Vector3d& axis : candidateAxes(sample)) {
    std::optional<AxialSurface> section = sectionAlong(sample, axis, withSlope);
    // A cone's section fails along directions that see no cone; a cylinder's may still start one.
    if (!section && withSlope) section = sectionAlong(sample, axis, false);
    if (!section) continue;
    const RankedStart start = refined(model, footedAtOrigin(*section), buffers);
    if (std::isfinite(start.sumOfSquares)) ranked.push_back(start);
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const RankedStart& a, const RankedStart& b) {
    return a.sumOfSquares < b.sumOfSquares;
  });
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
