#include "host/cad/rigid_fit.h"

#include <cmath>

#include <Eigen/Cholesky>
#include <Eigen/SVD>

namespace {

// The share of the largest squared spread of a point set that its second must pass for the points not to
// count as lying on one line.
constexpr double kCollinearShare = 1e-10;
// The damping of a refinement step, relative to the mean curvature of its system: small enough not to
// slow the determined directions noticeably, large enough to keep the free ones at rest.
constexpr double kDampingShare = 1e-9;

bool finite(const Eigen::MatrixXd& values) {
  return values.allFinite();
}

Eigen::Matrix3Xd columns(const std::vector<Eigen::Vector3d>& points) {
  Eigen::Matrix3Xd matrix(3, static_cast<Eigen::Index>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) matrix.col(static_cast<Eigen::Index>(i)) = points[i];
  return matrix;
}

}  // namespace

std::optional<Eigen::Isometry3d> fitPointPairs(const std::vector<Eigen::Vector3d>& from,
                                               const std::vector<Eigen::Vector3d>& to) {
  if (from.size() < 3 || from.size() != to.size()) return std::nullopt;
  const Eigen::Matrix3Xd a = columns(from), b = columns(to);
  if (!finite(a) || !finite(b)) return std::nullopt;
  const Eigen::Vector3d aMean = a.rowwise().mean(), bMean = b.rowwise().mean();
  const Eigen::Matrix3Xd aCentred = a.colwise() - aMean, bCentred = b.colwise() - bMean;
  const Eigen::JacobiSVD<Eigen::Matrix3d> spread(aCentred * aCentred.transpose());
  const Eigen::Vector3d extents = spread.singularValues();
  if (!(extents(1) > kCollinearShare * extents(0))) return std::nullopt;

  const Eigen::JacobiSVD<Eigen::Matrix3d> svd(bCentred * aCentred.transpose(),
                                              Eigen::ComputeFullU | Eigen::ComputeFullV);
  Eigen::Matrix3d sign = Eigen::Matrix3d::Identity();
  // A reflection fits a mirrored set better, but a measured part is never mirrored: flip the weakest axis.
  if ((svd.matrixU() * svd.matrixV().transpose()).determinant() < 0) sign(2, 2) = -1;
  Eigen::Isometry3d motion = Eigen::Isometry3d::Identity();
  motion.linear() = svd.matrixU() * sign * svd.matrixV().transpose();
  motion.translation() = bMean - motion.linear() * aMean;
  if (!finite(motion.matrix())) return std::nullopt;
  return motion;
}

std::optional<Eigen::Isometry3d> refineOntoSurface(const std::vector<Eigen::Vector3d>& points,
                                                   const std::vector<Eigen::Vector3d>& hints,
                                                   const Eigen::Isometry3d& start,
                                                   const SurfaceRefinement& how, const SurfaceQuery& query) {
  if (!finite(start.matrix())) return std::nullopt;
  Eigen::Isometry3d motion = start;
  for (int step = 0; step < how.maxSteps; ++step) {
    // Linearised about the centroid of the moved points, so turning and shifting weigh alike.
    std::vector<Eigen::Vector3d> moved;
    moved.reserve(points.size());
    for (const Eigen::Vector3d& p : points) moved.push_back(motion * p);
    Eigen::Vector3d centre = Eigen::Vector3d::Zero();
    for (const Eigen::Vector3d& q : moved) centre += q;
    centre /= static_cast<double>(moved.size());

    Eigen::Matrix<double, 6, 6> normal = Eigen::Matrix<double, 6, 6>::Zero();
    Eigen::Matrix<double, 6, 1> gradient = Eigen::Matrix<double, 6, 1>::Zero();
    int used = 0;
    for (size_t i = 0; i < moved.size(); ++i) {
      Eigen::Vector3d closest, n;
      if (!query(moved[i], closest, n)) continue;
      if (i < hints.size() && n.dot(hints[i]) < 0) continue;
      const double residual = n.dot(moved[i] - closest) - how.offset;
      if (!std::isfinite(residual) || std::abs(residual) > how.tolerance) continue;
      Eigen::Matrix<double, 6, 1> row;
      row << (moved[i] - centre).cross(n), n;
      normal += row * row.transpose();
      gradient += row * residual;
      ++used;
    }
    if (used < 3) return std::nullopt;
    const double damping = kDampingShare * normal.trace() / 6 + 1e-300;
    normal += damping * Eigen::Matrix<double, 6, 6>::Identity();
    const Eigen::Matrix<double, 6, 1> change = normal.ldlt().solve(-gradient);
    if (!finite(change)) return std::nullopt;

    const Eigen::Vector3d turn = change.head<3>(), shift = change.tail<3>();
    Eigen::Isometry3d stepMotion = Eigen::Isometry3d::Identity();
    if (turn.norm() > 0)
      stepMotion.linear() = Eigen::AngleAxisd(turn.norm(), turn.normalized()).toRotationMatrix();
    stepMotion.translation() = centre + shift - stepMotion.linear() * centre;
    motion = stepMotion * motion;
    if (turn.norm() < how.stepLimit && shift.norm() < how.stepLimit) break;
  }
  if (!finite(motion.matrix())) return std::nullopt;
  return motion;
}
