#pragma once

// How well touches determine the cylinder or cone fitted to them: the uncertainty that a stated probing error
// leaves in its axis, position and radius (and half angle), from the touches' geometry alone. It turns with
// the touches, so the same touches in any pose are judged alike.

#include <optional>

#include <Eigen/Core>

#include "host/fitting/geometry/axial_surface_model.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting::detail {

// One standard deviation of each, when every touch scatters by probingError about the surface
// independently: the covariance probingError^2 (J^T J)^-1 of the fit's own Jacobian J at the surface.
// Lengths in the points' units, angles in radians; slope is zero when the slope is held.
struct AxialUncertainty {
  double axis;      // the axis's tilt
  double position;  // the axis's place across itself, at the foot of the points' centroid
  double radius;    // at the same foot
  double slope;
};

// No value when the Jacobian is singular: the touches leave some parameter free.
std::optional<AxialUncertainty> axialUncertainty(const Points<3>& points, AxialFreedom freedom,
                                                 const AxialSurface& surface, double probingError);

// Whether uncertainty lies within the bounds a measured feature needs at probingError: the axis and the half
// angle within kMaxAxisDeviation, the position and the radius within kMaxErrorGain probing errors.
bool isDetermined(const AxialUncertainty& uncertainty, double probingError);

// About five degrees: a few touches at three heights over a short hub leave its axis that uncertain and still
// give its size and place to a few probing errors; an axis any looser no longer says which way the feature
// runs.
inline constexpr double kMaxAxisDeviation = 0.09;
// How many times over the touches' geometry may pass a probing error on to the feature's size and place: a
// quarter turn of a small corner, touched within a few millimetres of its edges, passes it on some
// hundredfold, while a narrow arc walked along a shaft passes it on thousandfold and more, and fits cylinders
// of any size.
inline constexpr double kMaxErrorGain = 500.0;

}  // namespace fitting::detail
