#include "host/fitting/geometry/axial_uncertainty.h"

#include <cmath>

#include <Eigen/Cholesky>

namespace fitting::detail {

std::optional<AxialUncertainty> axialUncertainty(const Points<3>& points, AxialFreedom freedom,
                                                 const AxialSurface& surface, double probingError) {
  const AxialSurfaceModel model(points, freedom);
  Eigen::MatrixXd jacobian;
  model.jacobian(footedAtOrigin(surface), jacobian);
  const Eigen::LDLT<Eigen::MatrixXd> normal(jacobian.transpose() * jacobian);
  if (normal.info() != Eigen::Success || !(normal.vectorD().minCoeff() > 0.0)) return std::nullopt;
  const Eigen::Index count = model.parameterCount();
  const Eigen::VectorXd variances =
      probingError * probingError * normal.solve(Eigen::MatrixXd::Identity(count, count)).diagonal();
  if (!variances.allFinite()) return std::nullopt;
  // The step's order: across the axis (two), the radius, the slope when free, the tilt (two) when free.
  const Eigen::Index tilt = freedom.slope ? 4 : 3;
  return AxialUncertainty{
      freedom.axis ? std::sqrt(variances(tilt) + variances(tilt + 1)) : 0.0,
      std::sqrt(variances(0) + variances(1)),
      std::sqrt(variances(AxialSurfaceModel::kRadiusParameter)),
      freedom.slope ? std::sqrt(variances(3)) : 0.0,
  };
}

bool isDetermined(const AxialUncertainty& uncertainty, double probingError) {
  const double lengthBound = kMaxErrorGain * probingError;
  return uncertainty.axis <= kMaxAxisDeviation && uncertainty.slope <= kMaxAxisDeviation &&
         uncertainty.position <= lengthBound && uncertainty.radius <= lengthBound;
}

}  // namespace fitting::detail
