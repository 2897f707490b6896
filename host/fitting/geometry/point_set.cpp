#include "host/fitting/geometry/point_set.h"

#include <cmath>
#include <string>

#include <Eigen/Eigenvalues>

namespace fitting::detail {
namespace {

// Spreads below this fraction of the coordinates' size are left over from rounding, not geometry.
constexpr double kCoordinateRoundoff = 1e-12;

}  // namespace

FitResult<NormalizedPoints> normalizePoints(std::span<const Eigen::Vector3d> points,
                                            std::size_t minimumCount) {
  if (points.size() < minimumCount) {
    return FitFailure{"needs at least " + std::to_string(minimumCount) + " points, got " +
                      std::to_string(points.size())};
  }
  auto centred = centredPoints(points);
  if (!centred) return centred.failure();
  const std::optional<double> spread = resolvedSpread(centred->deviations, centred->largestCoordinate);
  if (!spread) return FitFailure{"the points coincide"};
  return NormalizedPoints{std::move(centred).value().deviations / *spread, centred->centroid, *spread};
}

FitResult<CentredPoints> centredPoints(std::span<const Eigen::Vector3d> points) {
  Points<3> coordinates = asMatrix(points);
  if (!coordinates.allFinite()) return FitFailure{"a point has a coordinate that is not a finite number"};
  const double largestCoordinate = coordinates.cwiseAbs().maxCoeff();
  const Eigen::Vector3d centroid = centroidOf(coordinates);
  coordinates.colwise() -= centroid;
  if (!coordinates.allFinite()) return FitFailure{kBeyondRange};
  return CentredPoints{std::move(coordinates), centroid, largestCoordinate};
}

Points<3> asMatrix(std::span<const Eigen::Vector3d> points) {
  Points<3> matrix(3, static_cast<Eigen::Index>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) matrix.col(static_cast<Eigen::Index>(i)) = points[i];
  return matrix;
}

Eigen::Vector3d centroidOf(const Points<3>& points) {
  const double largest = points.cwiseAbs().maxCoeff();
  if (!(largest > 0.0)) return Eigen::Vector3d::Zero();
  // Scaling by a power of two is exact, and keeps the sums from overflowing.
  const int exponent = std::ilogb(largest);
  const Points<3> scaled = std::ldexp(1.0, -exponent) * points;
  const Eigen::Vector3d rough = scaled.rowwise().mean();
  return std::ldexp(1.0, exponent) * (rough + (scaled.colwise() - rough).rowwise().mean());
}

double rmsLength(const Eigen::Ref<const Eigen::MatrixXd>& vectors) {
  const double largest = vectors.cwiseAbs().maxCoeff();
  if (!(largest > 0.0)) return 0.0;
  return largest * std::sqrt((vectors / largest).squaredNorm() / static_cast<double>(vectors.cols()));
}

std::optional<double> resolvedSpread(const Points<3>& centred, double largestCoordinate) {
  const double spread = rmsLength(centred);
  if (!(std::isfinite(spread) && spread > kCoordinateRoundoff * largestCoordinate)) return std::nullopt;
  return spread;
}

template <int Dim>
PrincipalAxes<Dim> principalAxes(const Points<Dim>& centred) {
  using Square = Eigen::Matrix<double, Dim, Dim>;
  const Square covariance = centred * centred.transpose() / static_cast<double>(centred.cols());
  const Eigen::SelfAdjointEigenSolver<Square> solver(covariance);
  return {solver.eigenvalues().cwiseMax(0.0).cwiseSqrt(), solver.eigenvectors()};
}

template PrincipalAxes<2> principalAxes<2>(const Points<2>&);
template PrincipalAxes<3> principalAxes<3>(const Points<3>&);

std::pair<double, double> extentAlong(const Points<3>& points, const Eigen::Vector3d& origin,
                                      const Eigen::Vector3d& direction) {
  const Eigen::RowVectorXd along = direction.transpose() * (points.colwise() - origin);
  return {along.minCoeff(), along.maxCoeff()};
}

}  // namespace fitting::detail
