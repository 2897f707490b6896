#pragma once

// Cylinders and cones while they are fitted: one model, in which a cylinder is a cone of zero slope.

#include <Eigen/Core>

#include "host/fitting/geometry/point_set.h"

namespace fitting::detail {

// In the units of the points (normalized ones, inside a fit). The radius at axial coordinate h from point is
// radius + h tan(slope); the slope is signed, so the surface may widen either way along axis.
struct AxialSurface {
  Eigen::Vector3d point;  // on the axis
  Eigen::Vector3d axis;   // unit
  double radius;
  double slope;  // radians, in (-pi/2, pi/2)
};

// The same surface described from the foot of the origin on its axis. Normalized points are centred on the
// origin, so axial coordinates measured from there are centred too, and tilting the axis moves little else.
AxialSurface footedAtOrigin(const AxialSurface& surface);

// Which parameters a fit may change; the point on the axis and the radius always may.
struct AxialFreedom {
  bool axis;
  bool slope;
};

// The orthogonal distance of each point from the surface, measured in the point's half-plane through the
// axis to the surface line there (extended past the apex of a cone), positive away from the axis.
void axialDistances(const Points<3>& points, const AxialSurface& surface, Eigen::VectorXd& out);

// The minimiser's view of the fit. The step is: the point's move across the axis (two components), the
// radius, then the slope and the axis tilt (two components) when they are free.
class AxialSurfaceModel {
 public:
  using State = AxialSurface;
  // The radius's place in the step.
  static constexpr Eigen::Index kRadiusParameter = 2;

  // Keeps a reference to points, which must outlive the model.
  AxialSurfaceModel(const Points<3>& points, AxialFreedom freedom) : points_(points), freedom_(freedom) {}

  static Eigen::Index parameterCount(AxialFreedom freedom) {
    return 3 + (freedom.slope ? 1 : 0) + (freedom.axis ? 2 : 0);
  }
  Eigen::Index parameterCount() const { return parameterCount(freedom_); }
  void residuals(const State& state, Eigen::VectorXd& out) const { axialDistances(points_, state, out); }
  void jacobian(const State& state, Eigen::MatrixXd& out) const;
  State moved(const State& state, const Eigen::VectorXd& step) const;

 private:
  const Points<3>& points_;
  AxialFreedom freedom_;
};

}  // namespace fitting::detail
