#include "host/fitting/geometry/levenberg_marquardt.h"

#include <limits>

#include <Eigen/QR>
#include <Eigen/SVD>

namespace fitting::detail {

DampedStepSolver::DampedStepSolver(const Eigen::MatrixXd& jacobian, const Eigen::VectorXd& residuals)
    : columnNorms_(jacobian.colwise().norm().transpose()), residualCount_(jacobian.rows()) {
  // Factoring J itself, rather than forming J'J, keeps the step as accurate as the data allow.
  const Eigen::HouseholderQR<Eigen::MatrixXd> qr(jacobian);
  const Eigen::Index parameters = jacobian.cols();
  triangular_ = qr.matrixQR().topRows(parameters).triangularView<Eigen::Upper>();
  Eigen::VectorXd rotated = residuals;
  rotated.applyOnTheLeft(qr.householderQ().adjoint());
  projectedResiduals_ = rotated.head(parameters);
}

Eigen::VectorXd DampedStepSolver::step(double damping) const {
  const Eigen::Index parameters = triangular_.cols();
  Eigen::MatrixXd stacked(2 * parameters, parameters);
  stacked << triangular_, Eigen::MatrixXd((std::sqrt(damping) * columnNorms_).asDiagonal());
  Eigen::VectorXd target = Eigen::VectorXd::Zero(2 * parameters);
  target.head(parameters) = -projectedResiduals_;
  // Pivoting keeps the step finite when a parameter has no effect at all.
  return stacked.colPivHouseholderQr().solve(target);
}

double DampedStepSolver::scaledConditionNumber() const {
  if (!(columnNorms_.minCoeff() > 0.0)) return std::numeric_limits<double>::infinity();
  const Eigen::MatrixXd scaled = triangular_ * columnNorms_.cwiseInverse().asDiagonal();
  const Eigen::VectorXd singularValues = Eigen::JacobiSVD<Eigen::MatrixXd>(scaled).singularValues();
  return singularValues(0) / singularValues(singularValues.size() - 1);
}

Eigen::VectorXd DampedStepSolver::standardErrors(double sumOfSquares) const {
  const Eigen::Index parameters = triangular_.cols();
  const Eigen::Index degreesOfFreedom = residualCount_ - parameters;
  if (degreesOfFreedom <= 0) return Eigen::VectorXd::Zero(parameters);
  // The covariance is variance (R'R)^-1, whose diagonal holds the squared row norms of R^-1.
  const Eigen::MatrixXd inverse =
      triangular_.triangularView<Eigen::Upper>().solve(Eigen::MatrixXd::Identity(parameters, parameters));
  return std::sqrt(sumOfSquares / static_cast<double>(degreesOfFreedom)) * inverse.rowwise().norm();
}

}  // namespace fitting::detail
