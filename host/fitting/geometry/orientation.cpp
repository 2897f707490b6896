#include "host/fitting/geometry/orientation.h"

#include <cmath>

#include <Eigen/Geometry>

#include "host/fitting/geometry/point_set.h"

namespace fitting::detail {
namespace {

// A point this far off the centre or off the first axis, as a share of the points' RMS distance from their
// centre, fixes a direction that rounding cannot turn.
constexpr double kClearlyOff = 0.1;

// The first column from first on whose part across unit (when given) is clearly longer than reach.
std::optional<Eigen::Index> firstClearlyOff(const Eigen::Ref<const Eigen::Matrix3Xd>& centred,
                                            Eigen::Index first, const Eigen::Vector3d& unit, double reach) {
  for (Eigen::Index i = first; i < centred.cols(); ++i) {
    const Eigen::Vector3d p = centred.col(i);
    if ((p - p.dot(unit) * unit).norm() > reach) return i;
  }
  return std::nullopt;
}

}  // namespace

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

Eigen::Matrix3d ownFrame(const Eigen::Ref<const Eigen::Matrix3Xd>& centred) {
  const double reach = kClearlyOff * rmsLength(centred);
  const std::optional<Eigen::Index> first = firstClearlyOff(centred, 0, Eigen::Vector3d::Zero(), reach);
  if (!first) return Eigen::Matrix3d::Identity();
  const Eigen::Vector3d along = centred.col(*first).normalized();
  const std::optional<Eigen::Index> second = firstClearlyOff(centred, *first, along, reach);
  if (!second) return Eigen::Matrix3d::Identity();
  Eigen::Matrix3d frame;
  frame.col(0) = along;
  frame.col(1) = (centred.col(*second) - centred.col(*second).dot(along) * along).normalized();
  frame.col(2) = along.cross(frame.col(1));
  return frame;
}

}  // namespace fitting::detail
