#pragma once

#include <span>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/signed_distance.h"

namespace fitting {

struct ResidualStatistics {
  double largestNegative;    // the most negative distance, or 0 when none is negative
  double largestPositive;    // the most positive distance, or 0 when none is positive
  double standardDeviation;  // about the mean, with n - 1 in the denominator; 0 for a single distance
};

// No result for no distances, or one that is not finite.
FitResult<ResidualStatistics> residualStatistics(std::span<const double> signedDistances);

template <class Shape>
FitResult<ResidualStatistics> residualStatistics(const Shape& shape,
                                                 std::span<const Eigen::Vector3d> points) {
  return residualStatistics(signedDistances(shape, points));
}

}  // namespace fitting
