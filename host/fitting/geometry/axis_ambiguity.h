#pragma once

// Whether points determine the axis of the cylinder or cone fitted to them: a minimum along a distinct axis
// that fits them as well as the lowest, within what they can tell apart, means they do not.

#include <optional>

#include <Eigen/Core>

#include "host/fitting/geometry/axial_surface_model.h"
#include "host/fitting/geometry/axis_search.h"

namespace fitting::detail {

// The surface to keep of fitted (when the fit found one) and each valley of search refined on all the
// points: the lowest, and whether another along a distinct axis fits the points, with freedom, as well. Two
// fit as well when their sums of squares lie within (3 scatter)^2 of each other, or are tied to rounding. A
// point scatters about the surface with a standard deviation of scatter (normalized units); sums of squares
// closer than three such deviations are not told apart, and neither are axes closer than three standard
// deviations of the tilt that scatter leaves (see axialUncertainty): those are one minimum. Of minima that
// fit as well, the one along toldAxis, the touches' own word on the axis (its sense aside), is kept when
// every other lies clearly off it. The same points in any pose give the same answer.
// The touches' own word on the axis: the axis their travels tell (the ball's way into each touch lies near
// the surface's normal), a caller's seed (a nominal, or the rings a creator found) or the rings the touches
// were taken in. Travels tell an axis to within some degrees and never one across the feature. Rings can
// mislead (touches taken around a hub at alternate heights form rings of three about an axis across it), so
// a seed's or the rings' word holds only within about 5 degrees, and where the touches spread no wider
// along it than along any other.
struct ToldAxis {
  Eigen::Vector3d direction;
  bool byTravels = false;
};

struct AxisChoice {
  std::optional<AxialSurface> lowest;  // the surface to keep: the lowest, or the one the touches' word picks
  bool rivalled = false;
  bool fittedIsLowest = false;  // lowest is fitted itself, not a valley that reached lower
};
AxisChoice chooseAxis(const Points<3>& points, AxialFreedom freedom,
                      const std::optional<AxialSurface>& fitted, const AxialSearch& search, double scatter,
                      const std::optional<ToldAxis>& toldAxis = std::nullopt);

}  // namespace fitting::detail
