#pragma once

// Levenberg-Marquardt minimisation of a sum of squared distances, converged when a linear model of the
// residuals sees nothing left to remove, and refusing minima whose parameters the points do not determine.

#include <algorithm>
#include <cmath>
#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"

namespace fitting::detail {

// A problem whose state moves by steps in a local parametrisation, so that unit axes stay unit and fixed
// parameters stay fixed. The Jacobian holds the residuals' derivatives along the step, taken at a zero step.
template <class M>
concept LeastSquaresModel = requires(const M& model, const typename M::State& state,
                                     const Eigen::VectorXd& step, Eigen::VectorXd& residuals,
                                     Eigen::MatrixXd& jacobian) {
  { model.parameterCount() } -> std::convertible_to<Eigen::Index>;
  model.residuals(state, residuals);
  model.jacobian(state, jacobian);
  { model.moved(state, step) } -> std::same_as<typename M::State>;
};

// How the reason for a descent still going down when its iterations ran out begins.
inline constexpr std::string_view kUnsettledReason = "the fit did not converge within ";

// Whether failure is a descent's still going down when its iterations ran out.
inline bool isUnsettled(const FitFailure& failure) {
  return failure.reason.starts_with(kUnsettledReason);
}

template <class State>
struct Minimum {
  State state;
  double sumOfSquares;
  Eigen::VectorXd standardErrors;  // of each step parameter, from the scatter of the residuals

  // Whether a radius, the step parameter at index, stands clear of its standard error. The scatter of a flat
  // patch fits a huge circle, sphere or cylinder, whose radius is as uncertain as it is large.
  bool resolvesRadius(Eigen::Index index) const;
};

// Where a minimisation ended: the lowest point it reached and, when that is no usable minimum, why.
template <class State>
struct Descent {
  Minimum<State> lowest;  // standardErrors is empty on a failure
  std::optional<FitFailure> failure;

  FitResult<Minimum<State>> result() && {
    if (failure) return *std::move(failure);
    return std::move(lowest);
  }
};

// Solves min |J x + r|^2 + damping |D x|^2, D being the column norms of J, for any damping from one
// factorisation of J (which needs at least as many rows as columns).
class DampedStepSolver {
 public:
  DampedStepSolver(const Eigen::MatrixXd& jacobian, const Eigen::VectorXd& residuals);
  Eigen::VectorXd step(double damping) const;
  // The condition number of J with its columns scaled to unit length; infinite when a column is zero.
  double scaledConditionNumber() const;
  // The drop in the sum of squares that a full Gauss-Newton step would bring if the problem were linear.
  double linearReduction() const { return projectedResiduals_.squaredNorm(); }
  // The parameters' standard errors, with the residuals' variance estimated from sumOfSquares; zero when
  // there are no more residuals than parameters.
  Eigen::VectorXd standardErrors(double sumOfSquares) const;

 private:
  Eigen::MatrixXd triangular_;
  Eigen::VectorXd projectedResiduals_;
  Eigen::VectorXd columnNorms_;
  Eigen::Index residualCount_;
};

// 1 / x, or 0 for x = 0: a point on a centre or an axis has no radial direction, and contributes no
// derivative along one.
inline double inverseOrZero(double x) {
  return x > 0.0 ? 1.0 / x : 0.0;
}

namespace minimizer {

// A well-posed fit from a reasonable start settles within tens of iterations; more means it never will.
inline constexpr int kMaxIterations = 100;
// A step this small, in normalized units, that does not lower the sum moves the shape by rounding only.
inline constexpr double kStepTolerance = 1e-10;
// Nearly Gauss-Newton from the first step, since starts are usually good.
inline constexpr double kInitialDamping = 1e-3;
// Each failed step damps tenfold, each good one undamps as much.
inline constexpr double kDampingFactor = 10.0;
// Keeps a damping that can grow again after a run of good steps.
inline constexpr double kMinDamping = 1e-12;
// When even steps this damped raise the sum, the state is a minimum to within rounding.
inline constexpr double kMaxDamping = 1e12;
// Beyond this, rounding and noise of a part in 10^8 of the size could move the parameters by their own size.
inline constexpr double kMaxConditionNumber = 1e8;
// Once a linear model of the residuals sees no more than this fraction of the sum of squares left to remove,
// a further step would change the shape by far less than the noise: the minimum is reached.
inline constexpr double kNegligibleReduction = 1e-14;
// When no step lowers the sum any more, what a linear model still sees is rounding, unless it is this
// fraction of the sum of squares: then the steps stalled in a curved valley short of the minimum.
inline constexpr double kMaxUntakenReduction = 1e-6;
// Residuals below this RMS, in normalized units, are rounding once no step lowers them: the points lie on the
// shape, and the rounding left in them looks to a linear model like anything at all.
inline constexpr double kRoundingResidual = 1e-10;
// While steps still lower them, residuals are taken down to this RMS: a few points hold their exact shape
// loosely in some direction, and only then is it exact over their whole span, not at the points alone.
inline constexpr double kExactResidual = 1e-12;
// A descent still going down when its iterations ran out is as good as settled once a linear model of the
// residuals sees less than this fraction of one residual's variance left to remove: the minimum then lies
// within about half a standard error of the state reached, well inside what the points' scatter leaves open.
inline constexpr double kLeftWithinScatter = 0.25;
// A radius closer to zero curvature than this many standard errors is not told apart from a flat surface.
inline constexpr double kMinRadiusSignificance = 3.0;

template <class State>
struct Iterate {
  State state;
  Eigen::VectorXd residuals;
  double cost;
};

template <LeastSquaresModel M>
Iterate<typename M::State> evaluate(const M& model, typename M::State state) {
  Iterate<typename M::State> iterate{std::move(state), {}, 0.0};
  model.residuals(iterate.state, iterate.residuals);
  iterate.cost = iterate.residuals.squaredNorm();
  return iterate;
}

enum class Progress { kLowered, kSettled };

// Takes the first damped step that lowers the cost, raising the damping until one does; settles when none
// does.
template <LeastSquaresModel M>
Progress descend(const M& model, const DampedStepSolver& solver, Iterate<typename M::State>& current,
                 double& damping) {
  for (;;) {
    const Eigen::VectorXd step = solver.step(damping);
    Iterate<typename M::State> trial = evaluate(model, model.moved(current.state, step));
    if (trial.cost < current.cost) {
      current = std::move(trial);
      damping = std::max(damping / kDampingFactor, kMinDamping);
      return Progress::kLowered;
    }
    if (step.norm() <= kStepTolerance) return Progress::kSettled;
    damping *= kDampingFactor;
    if (damping > kMaxDamping) return Progress::kSettled;
  }
}

// The fraction of the sum of squares that a linear model of the residuals still sees to remove at iterate;
// zero when the residuals are below roundingResidual, as an RMS. Convergence is judged by what remains at the
// state reached, not by how long the last step was, so that residuals anywhere from rounding to noise
// converge once nothing is left to take.
template <class State>
double untakenFraction(const DampedStepSolver& solver, const Iterate<State>& iterate,
                       double roundingResidual) {
  const double count = static_cast<double>(iterate.residuals.size());
  if (iterate.cost <= roundingResidual * roundingResidual * count) return 0.0;
  return solver.linearReduction() / iterate.cost;
}

template <class State>
Descent<State> failed(Iterate<State> last, std::string reason) {
  return {{std::move(last.state), last.cost, {}}, FitFailure{std::move(reason)}};
}

template <class State>
Descent<State> determined(const DampedStepSolver& solver, Iterate<State> settled) {
  if (!(solver.scaledConditionNumber() <= kMaxConditionNumber)) {
    return failed(std::move(settled),
                  "the points do not determine the shape: its parameters are ill-conditioned");
  }
  Eigen::VectorXd errors = solver.standardErrors(settled.cost);
  return {{std::move(settled.state), settled.cost, std::move(errors)}, std::nullopt};
}

}  // namespace minimizer

template <class State>
bool Minimum<State>::resolvesRadius(Eigen::Index index) const {
  return std::abs(state.radius) > minimizer::kMinRadiusSignificance * standardErrors(index);
}

// The minimum reached from start; a failure when the start is not a valid shape, the iterations do not
// settle within maxIterations, or the points leave the parameters undetermined.
template <LeastSquaresModel M>
Descent<typename M::State> minimizeSumOfSquares(const M& model, typename M::State start,
                                                int maxIterations = minimizer::kMaxIterations) {
  auto current = minimizer::evaluate(model, std::move(start));
  if (!std::isfinite(current.cost)) {
    return minimizer::failed(std::move(current), "the start gives no finite distances");
  }
  double damping = minimizer::kInitialDamping;
  Eigen::MatrixXd jacobian;
  auto progress = minimizer::Progress::kLowered;
  for (int iteration = 0;; ++iteration) {
    model.jacobian(current.state, jacobian);
    const DampedStepSolver solver(jacobian, current.residuals);
    const bool settled = progress == minimizer::Progress::kSettled;
    const double untaken = minimizer::untakenFraction(
        solver, current, settled ? minimizer::kRoundingResidual : minimizer::kExactResidual);
    if (untaken <= (settled ? minimizer::kMaxUntakenReduction : minimizer::kNegligibleReduction)) {
      return minimizer::determined(solver, std::move(current));
    }
    if (settled) return minimizer::failed(std::move(current), "the fit stalled short of a minimum");
    if (iteration == maxIterations) {
      return minimizer::failed(std::move(current),
                               std::string(kUnsettledReason) + std::to_string(maxIterations) + " iterations");
    }
    progress = minimizer::descend(model, solver, current, damping);
  }
}

// The descent, or the minimum it was crawling to when its iterations ran out, if what was left to take is
// hidden by the points' own scatter. Along a flat, curved valley each step closes only a hundredth or so of
// the remaining way, and whether a descent settled within its iterations would hang on the last rounding of
// the points; how near it came, measured against their scatter, does not.
template <LeastSquaresModel M>
Descent<typename M::State> settledWithinScatter(const M& model, Descent<typename M::State> descent) {
  if (!descent.failure || !isUnsettled(*descent.failure)) return descent;
  auto reached = minimizer::evaluate(model, descent.lowest.state);
  Eigen::MatrixXd jacobian;
  model.jacobian(reached.state, jacobian);
  const Eigen::Index freedoms = reached.residuals.size() - jacobian.cols();
  if (freedoms <= 0) return descent;
  const DampedStepSolver solver(jacobian, reached.residuals);
  const double variance = reached.cost / static_cast<double>(freedoms);
  if (!(solver.linearReduction() <= minimizer::kLeftWithinScatter * variance)) return descent;
  return minimizer::determined(solver, std::move(reached));
}

}  // namespace fitting::detail
