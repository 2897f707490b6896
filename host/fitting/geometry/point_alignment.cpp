#include "host/fitting/geometry/point_alignment.h"

#include <Eigen/LU>
#include <Eigen/SVD>

namespace fitting {

namespace {

// Below this share of the largest spread, a side's points count as lying on one line.
constexpr double kCollinearity = 1e-9;

Eigen::Vector3d centroid(const std::vector<Eigen::Vector3d>& points) {
  Eigen::Vector3d sum = Eigen::Vector3d::Zero();
  for (const Eigen::Vector3d& p : points) sum += p;
  return sum / static_cast<double>(points.size());
}

// Whether the points, taken about their centroid, spread across more than one direction.
bool spansAPlane(const std::vector<Eigen::Vector3d>& points, const Eigen::Vector3d& centre) {
  Eigen::Matrix3d scatter = Eigen::Matrix3d::Zero();
  for (const Eigen::Vector3d& p : points) scatter += (p - centre) * (p - centre).transpose();
  const Eigen::Vector3d spread = Eigen::JacobiSVD<Eigen::Matrix3d>(scatter).singularValues();
  return spread(0) > 0.0 && spread(1) > kCollinearity * spread(0);
}

bool allFinite(const std::vector<Eigen::Vector3d>& points) {
  for (const Eigen::Vector3d& p : points)
    if (!p.allFinite()) return false;
  return true;
}

}  // namespace

FitResult<RigidMotion> alignPoints(const std::vector<Eigen::Vector3d>& fixed,
                                   const std::vector<Eigen::Vector3d>& floating) {
  if (fixed.size() != floating.size() || fixed.size() < 3) return FitFailure{"fewer than three point pairs"};
  if (!allFinite(fixed) || !allFinite(floating)) return FitFailure{"a datum point is not finite"};
  const Eigen::Vector3d fixedCentre = centroid(fixed), floatingCentre = centroid(floating);
  if (!spansAPlane(fixed, fixedCentre) || !spansAPlane(floating, floatingCentre))
    return FitFailure{"the datum points lie on one line"};

  // The cross-covariance of the centred pairs; its singular vectors give the best rotation.
  Eigen::Matrix3d covariance = Eigen::Matrix3d::Zero();
  for (size_t i = 0; i < fixed.size(); ++i)
    covariance += (floating[i] - floatingCentre) * (fixed[i] - fixedCentre).transpose();
  Eigen::JacobiSVD<Eigen::Matrix3d> svd(covariance, Eigen::ComputeFullU | Eigen::ComputeFullV);
  const Eigen::Matrix3d u = svd.matrixU(), v = svd.matrixV();
  // A reflection fits mirrored points better, but no rigid motion makes one: the weakest axis turns instead.
  Eigen::Vector3d signs(1.0, 1.0, (v * u.transpose()).determinant() < 0.0 ? -1.0 : 1.0);
  const Eigen::Matrix3d rotation = v * signs.asDiagonal() * u.transpose();
  return RigidMotion{rotation, fixedCentre - rotation * floatingCentre};
}

}  // namespace fitting
