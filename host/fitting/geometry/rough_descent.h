#pragma once

// A few damped Gauss-Newton steps through the normal equations, for searches that refine many starts only far
// enough to tell which minimum each heads for. Squaring the Jacobian's condition costs accuracy the full
// minimiser keeps, but not the ranking; on a few points it is several times cheaper than a factorisation of
// the Jacobian.

#include <algorithm>
#include <cmath>
#include <utility>

#include <Eigen/Cholesky>
#include <Eigen/Core>

#include "host/fitting/geometry/levenberg_marquardt.h"

namespace fitting::detail {

// Where the steps took the state, and its sum of squares there.
template <class State>
struct RoughMinimum {
  State state;
  double sumOfSquares;
};

// Buffers that successive descents reuse, so that a search allocates once.
struct RoughDescentBuffers {
  Eigen::VectorXd residuals, trialResiduals, step;
  Eigen::MatrixXd jacobian;
};

namespace rough {

// The most parameters a rough descent handles: the normal equations are solved at this fixed size, fast,
// with any parameters a model lacks held by unit rows of their own.
inline constexpr int kMaxParameters = 6;
using NormalMatrix = Eigen::Matrix<double, kMaxParameters, kMaxParameters>;
using NormalVector = Eigen::Matrix<double, kMaxParameters, 1>;

}  // namespace rough

// Up to steps lowering steps from start, damped as the full minimiser damps; stops early when no damping
// lowers the sum. The model has at most rough::kMaxParameters parameters.
template <LeastSquaresModel M>
RoughMinimum<typename M::State> roughDescent(const M& model, typename M::State state, int steps,
                                             RoughDescentBuffers& buffers) {
  model.residuals(state, buffers.residuals);
  double cost = buffers.residuals.squaredNorm();
  double damping = minimizer::kInitialDamping;
  for (int iteration = 0; iteration < steps && std::isfinite(cost); ++iteration) {
    model.jacobian(state, buffers.jacobian);
    const Eigen::Index count = buffers.jacobian.cols();
    rough::NormalMatrix normal = rough::NormalMatrix::Identity();
    normal.topLeftCorner(count, count).noalias() = buffers.jacobian.transpose() * buffers.jacobian;
    rough::NormalVector gradient = rough::NormalVector::Zero();
    gradient.head(count).noalias() = buffers.jacobian.transpose() * buffers.residuals;
    bool lowered = false;
    while (!lowered && damping < minimizer::kMaxDamping) {
      rough::NormalMatrix damped = normal;
      damped.diagonal() *= 1.0 + damping;
      buffers.step = damped.llt().solve(-gradient).head(count);
      typename M::State trial = model.moved(state, buffers.step);
      model.residuals(trial, buffers.trialResiduals);
      const double trialCost = buffers.trialResiduals.squaredNorm();
      lowered = trialCost < cost;
      if (lowered) {
        state = std::move(trial);
        cost = trialCost;
        std::swap(buffers.residuals, buffers.trialResiduals);
        damping = std::max(damping / minimizer::kDampingFactor, minimizer::kMinDamping);
      } else {
        damping *= minimizer::kDampingFactor;
      }
    }
    if (!lowered) break;
  }
  return {std::move(state), cost};
}

}  // namespace fitting::detail
