#pragma once

#include <optional>
#include <span>
#include <vector>

#include <Eigen/Core>

namespace fitting {

// The interpolating cubic spline through points in space, parametrised by the chord length from the first
// point: twice continuously differentiable, a closed one (periodic) across its seam too, an open one
// (natural) without curvature at its ends. Points in one plane give a curve in that plane. A value type.
class CubicSpline {
 public:
  // Neighbours nearer than this give the chord parameter no step.
  static constexpr double kCoincident = 1e-12;

  // Through the points in order; a closed spline runs from the last point back to the first. None for
  // fewer than 2 points (3 for a closed one) or for neighbours that coincide, which leave the parameter no
  // step to divide by.
  static std::optional<CubicSpline> through(std::span<const Eigen::Vector3d> points, bool closed);

  // The parameter runs from 0 to length(): at knot(i) the spline passes through point i.
  double length() const { return knots_.back(); }
  double knot(size_t index) const { return knots_[index]; }
  size_t segmentCount() const { return knots_.size() - 1; }
  bool closed() const { return closed_; }

  // The point and the first derivative (the tangent, of unit length only approximately) at parameter t,
  // clamped to [0, length()].
  Eigen::Vector3d at(double t) const;
  Eigen::Vector3d derivative(double t) const;

 private:
  CubicSpline() = default;
  // The segment that holds t and t's distance from its start.
  std::pair<size_t, double> locate(double t) const;

  bool closed_ = false;
  std::vector<double> knots_;               // segmentCount() + 1
  std::vector<Eigen::Vector3d> points_;     // at the knots; a closed spline's first again at the end
  std::vector<Eigen::Vector3d> curvature_;  // the second derivatives at the knots, likewise
};

}  // namespace fitting
