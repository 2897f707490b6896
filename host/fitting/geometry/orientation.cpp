#include "host/fitting/geometry/orientation.h"

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

bool isDirection(const Eigen::Vector3d& v) {
  return v.allFinite() && v.norm() > 0.0;
}

}  // namespace fitting::detail
