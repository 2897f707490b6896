#include "host/fitting/geometry/axial_surface_model.h"

#include <cmath>
#include <numbers>

#include "host/fitting/geometry/levenberg_marquardt.h"
#include "host/fitting/geometry/orientation.h"

namespace fitting::detail {
namespace {

// A point in the surface's own frame, measured from the surface's point: two coordinates across the axis,
// one along it, and the distance from the axis.
struct LocalPoint {
  double across1;
  double across2;
  double axial;
  double radial;
};

// The frame and the slope's cosine and sine, computed once for all the points.
struct SurfaceFrame {
  explicit SurfaceFrame(const AxialSurface& surface)
      : surface(surface),
        basisTransposed(basisAround(surface.axis).transpose()),
        cosine(std::cos(surface.slope)),
        sine(std::sin(surface.slope)) {}

  LocalPoint local(const Eigen::Vector3d& point) const {
    const Eigen::Vector3d local = basisTransposed * (point - surface.point);
    return {local.x(), local.y(), local.z(), std::sqrt(local.x() * local.x() + local.y() * local.y())};
  }
  double distance(const LocalPoint& p) const { return (p.radial - surface.radius) * cosine - p.axial * sine; }

  const AxialSurface& surface;
  Eigen::Matrix3d basisTransposed;
  double cosine;
  double sine;
};

// The slope turned by half turns into [-pi/2, pi/2]: turning it by half a turn negates both its cosine and
// its sine, and with them every distance, so the surface stays the same one. A minimiser that steps across
// the flat limit thus reaches the cone beyond it as it is, not as a flat surface.
double principalSlope(double slope) {
  return slope - std::numbers::pi * std::round(slope / std::numbers::pi);
}

}  // namespace

AxialSurface footedAtOrigin(const AxialSurface& surface) {
  const double shift = -surface.axis.dot(surface.point);
  return {surface.point + shift * surface.axis, surface.axis,
          surface.radius + shift * std::tan(surface.slope), surface.slope};
}

void axialDistances(const Points<3>& points, const AxialSurface& surface, Eigen::VectorXd& out) {
  const SurfaceFrame frame(surface);
  out.resize(points.cols());
  for (Eigen::Index i = 0; i < points.cols(); ++i) out(i) = frame.distance(frame.local(points.col(i)));
}

void AxialSurfaceModel::jacobian(const State& state, Eigen::MatrixXd& out) const {
  const SurfaceFrame frame(state);
  const double cosine = frame.cosine, sine = frame.sine;
  out.resize(points_.cols(), parameterCount());
  for (Eigen::Index i = 0; i < points_.cols(); ++i) {
    const LocalPoint p = frame.local(points_.col(i));
    const double inverseRadial = inverseOrZero(p.radial);
    // Moving the point by d across the axis changes the radial coordinate by -d along the radial direction.
    out(i, 0) = -cosine * p.across1 * inverseRadial;
    out(i, 1) = -cosine * p.across2 * inverseRadial;
    out(i, 2) = -cosine;
    Eigen::Index column = 3;
    if (freedom_.slope) out(i, column++) = (state.radius - p.radial) * sine - p.axial * cosine;
    if (freedom_.axis) {
      // Tilting the axis about the point by t towards u changes the axial coordinate by t (w.u) and the
      // radial one by -t h (w.u) / radial.
      out(i, column) = -(cosine * p.axial * inverseRadial + sine) * p.across1;
      out(i, column + 1) = -(cosine * p.axial * inverseRadial + sine) * p.across2;
    }
  }
}

AxialSurface AxialSurfaceModel::moved(const State& state, const Eigen::VectorXd& step) const {
  const Eigen::Matrix3d basis = basisAround(state.axis);
  AxialSurface next{state.point + step(0) * basis.col(0) + step(1) * basis.col(1), state.axis,
                    state.radius + step(2), state.slope};
  Eigen::Index index = 3;
  if (freedom_.slope) next.slope = principalSlope(next.slope + step(index++));
  if (freedom_.axis) {
    next.axis = (state.axis + step(index) * basis.col(0) + step(index + 1) * basis.col(1)).normalized();
  }
  return footedAtOrigin(next);
}

}  // namespace fitting::detail
