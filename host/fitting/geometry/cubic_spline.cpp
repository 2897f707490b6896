#include "host/fitting/geometry/cubic_spline.h"

#include <Eigen/SparseCore>
#include <Eigen/SparseLU>
#include <algorithm>

namespace fitting {

namespace {

using Triplets = std::vector<Eigen::Triplet<double>>;

// The second derivatives at the knots that make the spline's first derivative continuous: for each knot
// between segments a and b, a M_prev + 2 (a + b) M + b M_next = 6 (slope after - slope before). A closed
// spline wraps its indices; an open one holds M = 0 at its ends.
std::optional<Eigen::MatrixXd> curvatures(const std::vector<Eigen::Vector3d>& points,
                                          const std::vector<double>& steps, bool closed) {
  const auto n = static_cast<Eigen::Index>(closed ? steps.size() : points.size());
  Triplets entries;
  Eigen::MatrixXd rhs = Eigen::MatrixXd::Zero(n, 3);
  for (Eigen::Index i = 0; i < n; ++i) {
    const bool end = !closed && (i == 0 || i == n - 1);
    if (end) {
      entries.emplace_back(i, i, 1.0);
      continue;
    }
    const Eigen::Index before = (i + n - 1) % n;
    const Eigen::Index after = (i + 1) % n;
    const double a = steps[static_cast<size_t>(before)];
    const double b = steps[static_cast<size_t>(i)];
    entries.emplace_back(i, before, a);
    entries.emplace_back(i, i, 2 * (a + b));
    entries.emplace_back(i, after, b);
    const Eigen::Vector3d slopeAfter =
        (points[static_cast<size_t>(after)] - points[static_cast<size_t>(i)]) / b;
    const Eigen::Vector3d slopeBefore =
        (points[static_cast<size_t>(i)] - points[static_cast<size_t>(before)]) / a;
    rhs.row(i) = 6 * (slopeAfter - slopeBefore).transpose();
  }
  Eigen::SparseMatrix<double> system(n, n);
  system.setFromTriplets(entries.begin(), entries.end());
  Eigen::SparseLU<Eigen::SparseMatrix<double>> solver;
  solver.compute(system);
  if (solver.info() != Eigen::Success) return std::nullopt;
  Eigen::MatrixXd solved = solver.solve(rhs);
  if (solver.info() != Eigen::Success || !solved.allFinite()) return std::nullopt;
  return solved;
}

}  // namespace

std::optional<CubicSpline> CubicSpline::through(std::span<const Eigen::Vector3d> points, bool closed) {
  if (points.size() < (closed ? 3u : 2u)) return std::nullopt;
  CubicSpline spline;
  spline.closed_ = closed;
  spline.points_.assign(points.begin(), points.end());
  if (closed) spline.points_.push_back(points.front());
  std::vector<double> steps;
  spline.knots_.push_back(0.0);
  for (size_t i = 1; i < spline.points_.size(); ++i) {
    const double step = (spline.points_[i] - spline.points_[i - 1]).norm();
    if (!(step > CubicSpline::kCoincident)) return std::nullopt;
    steps.push_back(step);
    spline.knots_.push_back(spline.knots_.back() + step);
  }
  std::optional<Eigen::MatrixXd> m = curvatures(spline.points_, steps, closed);
  if (!m) return std::nullopt;
  for (Eigen::Index i = 0; i < m->rows(); ++i) spline.curvature_.emplace_back(m->row(i).transpose());
  if (closed) spline.curvature_.push_back(spline.curvature_.front());
  return spline;
}

std::pair<size_t, double> CubicSpline::locate(double t) const {
  t = std::clamp(t, 0.0, length());
  const auto next = std::upper_bound(knots_.begin() + 1, knots_.end() - 1, t);
  const auto segment = static_cast<size_t>(next - knots_.begin()) - 1;
  return {segment, t - knots_[segment]};
}

Eigen::Vector3d CubicSpline::at(double t) const {
  const auto [i, s] = locate(t);
  const double h = knots_[i + 1] - knots_[i];
  const double r = h - s;
  return curvature_[i] * (r * r * r / (6 * h)) + curvature_[i + 1] * (s * s * s / (6 * h)) +
         (points_[i] / h - curvature_[i] * (h / 6)) * r +
         (points_[i + 1] / h - curvature_[i + 1] * (h / 6)) * s;
}

Eigen::Vector3d CubicSpline::derivative(double t) const {
  const auto [i, s] = locate(t);
  const double h = knots_[i + 1] - knots_[i];
  const double r = h - s;
  return -curvature_[i] * (r * r / (2 * h)) + curvature_[i + 1] * (s * s / (2 * h)) +
         (points_[i + 1] - points_[i]) / h - (curvature_[i + 1] - curvature_[i]) * (h / 6);
}

}  // namespace fitting
