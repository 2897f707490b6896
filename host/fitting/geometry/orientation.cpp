#include "host/fitting/geometry/orientation.h"

#include <cmath>

#include <Eigen/Geometry>

namespace fitting::detail {

Eigen::Vector3d canonicalDirection(const Eigen::Vector3d& unit) {
  Eigen::Index largest = 0;
  unit.cwiseAbs().maxCoeff(&largest);
  return unit(largest) < 0.0 ? Eigen::Vector3d(-unit) : unit;
}

Eigen::Matrix3d basisAround(const Eigen::Vector3d& unit) {
  Eigen::Index leastAligned = 0;
  unit.cwiseAbs().minCoeff(&leastAligned);
  const Eigen::Vector3d worldAxis = Eigen::Vector3d::Unit(leastAligned);
  Eigen::Matrix3d basis;
  basis.col(0) = (worldAxis - worldAxis.dot(unit) * unit).normalized();
  basis.col(1) = unit.cross(basis.col(0));
  basis.col(2) = unit;
  return basis;
}

std::optional<Eigen::Vector3d> unitDirection(const Eigen::Vector3d& v) {
  if (!v.allFinite()) return std::nullopt;
  if (std::isnormal(v.squaredNorm())) return v.normalized();
  // The square overflowed or underflowed: scaling by the largest component first brings it into range.
  const double largest = v.cwiseAbs().maxCoeff();
  if (!(largest > 0.0)) return std::nullopt;
  return (v / largest).normalized();
}

}  // namespace fitting::detail
