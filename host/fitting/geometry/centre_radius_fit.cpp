#include "host/fitting/geometry/centre_radius_fit.h"

#include <cmath>

#include <Eigen/QR>

#include "host/fitting/geometry/multi_start.h"

namespace fitting::detail {
namespace {

// In units of the points' spread: about the distance of the centre of a 90, 30 and 10 degree arc.
constexpr double kAlternativeCentreDistances[] = {2.0, 6.0, 20.0};
// The radius, in units of the points' spread, of an algebraic fit to points around more than half a turn,
// whose sum of squares has a single valley.
constexpr double kWholeRadius = 1.5;

// Residual: distance from the centre minus the radius. The step moves the centre, then the radius.
template <int Dim>
class CentreRadiusModel {
 public:
  using State = CentreRadius<Dim>;

  explicit CentreRadiusModel(const Points<Dim>& points) : points_(points) {}

  Eigen::Index parameterCount() const { return Dim + 1; }

  void residuals(const State& state, Eigen::VectorXd& out) const {
    out = (points_.colwise() - state.centre).colwise().norm().transpose().array() - state.radius;
  }

  void jacobian(const State& state, Eigen::MatrixXd& out) const {
    out.resize(points_.cols(), Dim + 1);
    for (Eigen::Index i = 0; i < points_.cols(); ++i) {
      const Eigen::Matrix<double, Dim, 1> offset = points_.col(i) - state.centre;
      out.row(i).template head<Dim>() = -inverseOrZero(offset.norm()) * offset.transpose();
    }
    out.col(Dim).setConstant(-1.0);
  }

  State moved(const State& state, const Eigen::VectorXd& step) const {
    return {state.centre + step.head(Dim), state.radius + step(Dim)};
  }

 private:
  const Points<Dim>& points_;
};

}  // namespace

std::optional<Eigen::VectorXd> solveAlgebraicFit(const Eigen::MatrixXd& design,
                                                 const Eigen::VectorXd& target) {
  Eigen::MatrixXd normal = Eigen::MatrixXd::Zero(design.cols(), design.cols());
  normal.selfadjointView<Eigen::Lower>().rankUpdate(design.transpose());
  const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(normal.selfadjointView<Eigen::Lower>());
  if (qr.rank() < design.cols()) return std::nullopt;
  return qr.solve(design.transpose() * target);
}

template <int Dim>
FitResult<CentreRadius<Dim>> algebraicCentreRadius(const Points<Dim>& normalized) {
  // |p|^2 = 2 p.c + (r^2 - |c|^2) is linear in c and in r^2 - |c|^2.
  Eigen::MatrixXd design(normalized.cols(), Dim + 1);
  design.leftCols(Dim) = 2.0 * normalized.transpose();
  design.col(Dim).setOnes();
  const Eigen::VectorXd target = normalized.colwise().squaredNorm().transpose();
  const std::optional<Eigen::VectorXd> solution = solveAlgebraicFit(design, target);
  if (!solution) return FitFailure{"the points do not determine a centre"};
  const Eigen::Matrix<double, Dim, 1> centre = solution->head(Dim);
  const double squaredRadius = (*solution)(Dim) + centre.squaredNorm();
  if (!(squaredRadius > 0.0)) return FitFailure{"the points do not determine a radius"};
  return CentreRadius<Dim>{centre, std::sqrt(squaredRadius)};
}

template <int Dim>
std::vector<CentreRadius<Dim>> centreRadiusStarts(const Points<Dim>& normalized) {
  std::vector<CentreRadius<Dim>> starts;
  const auto algebraic = algebraicCentreRadius<Dim>(normalized);
  if (algebraic) starts.push_back(*algebraic);
  if (algebraic && algebraic->radius < kWholeRadius) return starts;
  const Eigen::Matrix<double, Dim, 1> flattest = principalAxes<Dim>(normalized).axes.col(0);
  for (const double distance : kAlternativeCentreDistances) {
    for (const double side : {-1.0, 1.0}) {
      const Eigen::Matrix<double, Dim, 1> centre = side * distance * flattest;
      starts.push_back({centre, (normalized.colwise() - centre).colwise().norm().mean()});
    }
  }
  return starts;
}

template <int Dim>
FitResult<CentreRadius<Dim>> fitCentreRadius(const Points<Dim>& normalized, std::string_view shape) {
  const std::vector<CentreRadius<Dim>> starts = centreRadiusStarts<Dim>(normalized);
  const auto modelFor = [](const Points<Dim>& set) { return CentreRadiusModel<Dim>(set); };
  const auto minimum =
      lowestMinimum<Dim>(normalized, modelFor, std::span<const CentreRadius<Dim>>(starts), shape);
  if (!minimum) return minimum.failure();
  if (!(minimum->state.radius > 0.0)) return FitFailure{"the fit converged to no real radius"};
  if (!minimum->resolvesRadius(Dim)) return FitFailure{"the points' scatter hides their curvature"};
  return minimum->state;
}

template FitResult<CentreRadius<2>> algebraicCentreRadius<2>(const Points<2>&);
template FitResult<CentreRadius<3>> algebraicCentreRadius<3>(const Points<3>&);
template std::vector<CentreRadius<2>> centreRadiusStarts<2>(const Points<2>&);
template FitResult<CentreRadius<2>> fitCentreRadius<2>(const Points<2>&, std::string_view);
template FitResult<CentreRadius<3>> fitCentreRadius<3>(const Points<3>&, std::string_view);

}  // namespace fitting::detail
