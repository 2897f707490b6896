#pragma once

// Point sets as the solvers see them: centred, scaled, and described by their principal axes.

#include <cstddef>
#include <optional>
#include <span>
#include <utility>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"

namespace fitting::detail {

template <int Dim>
using Points = Eigen::Matrix<double, Dim, Eigen::Dynamic>;

// A set narrower than this fraction of its length in some direction has no usable extent there: what is
// left is rounding or probe noise, and an orientation fitted from it would be arbitrary.
inline constexpr double kMinRelativeSpread = 1e-6;

// The points moved to their centroid and divided by their RMS distance from it, so that every solve works on
// numbers near one, whatever the part's size and its distance from the origin.
struct NormalizedPoints {
  Points<3> coordinates;
  Eigen::Vector3d centroid;  // input units
  double scale;              // input length of one normalized unit
  Eigen::Vector3d toInput(const Eigen::Vector3d& normalized) const { return centroid + scale * normalized; }
};

// Why a fit is refused whose numbers would overflow a double.
inline constexpr char kBeyondRange[] = "the coordinates are too large to be fitted without overflow";

// The points less their centroid.
struct CentredPoints {
  Points<3> deviations;
  Eigen::Vector3d centroid;
  double largestCoordinate;  // of the points as given
};

// Fails for a coordinate that is not finite, or points spread beyond the range of a double.
FitResult<CentredPoints> centredPoints(std::span<const Eigen::Vector3d> points);

// Fails for fewer than minimumCount points, a coordinate that is not finite, or points that coincide.
FitResult<NormalizedPoints> normalizePoints(std::span<const Eigen::Vector3d> points,
                                            std::size_t minimumCount);

// The points as the columns of a matrix.
Points<3> asMatrix(std::span<const Eigen::Vector3d> points);

// The mean of the points, in two passes: the mean of what the first leaves over recovers the digits that
// summing coordinates far larger than the points' spread loses.
Eigen::Vector3d centroidOf(const Points<3>& points);

// The RMS length of the columns, scaled by the largest coefficient first so that no square overflows or
// underflows.
double rmsLength(const Eigen::Ref<const Eigen::MatrixXd>& vectors);

// The RMS distance of centred points from their centre; no value when it is lost in the rounding of
// coordinates as large as largestCoordinate, or the points spread beyond the range of a double.
std::optional<double> resolvedSpread(const Points<3>& centred, double largestCoordinate);

template <int Dim>
struct PrincipalAxes {
  Eigen::Matrix<double, Dim, 1> spreads;  // RMS extent along each axis, ascending
  Eigen::Matrix<double, Dim, Dim> axes;   // unit columns, in the order of spreads
};

template <int Dim>
PrincipalAxes<Dim> principalAxes(const Points<Dim>& centred);

// Collinear sets are also coplanar, and coincident ones both.
template <int Dim>
bool isNearlyCollinear(const PrincipalAxes<Dim>& principal) {
  return principal.spreads(Dim - 2) < kMinRelativeSpread * principal.spreads(Dim - 1);
}
inline bool isNearlyCoplanar(const PrincipalAxes<3>& principal) {
  return principal.spreads(0) < kMinRelativeSpread * principal.spreads(2);
}

// The lowest and the highest of (p - origin).direction over the points.
std::pair<double, double> extentAlong(const Points<3>& points, const Eigen::Vector3d& origin,
                                      const Eigen::Vector3d& direction);

}  // namespace fitting::detail
