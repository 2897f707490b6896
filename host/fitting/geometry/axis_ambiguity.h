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
// deviations of the tilt that scatter leaves (see axialUncertainty): those are one minimum. Of rivals that
// fit as well, the one toldAxis lies clearly nearest (within 5 degrees of the axes that twice its tilt's
// deviation at scatter reaches, every other rival at least 5 degrees further off) is kept, where a seed's
// radius lies within 4 per cent of its, or the touches spread along the rings' axis no wider than along any
// other; a minimum that fits worse than the lowest beyond four deviations (eight for the rings, the touches'
// own order) is never kept. The same points in any pose give the same answer. The touches' own word on the
// axis: a caller's seed (a nominal, or the start a creator estimated from the touches' rings or travels) or
// the rings the touches were taken in.
struct ToldAxis {
  Eigen::Vector3d direction;
  std::optional<AxialSurface> seed;  // a seed's whole surface; none for the rings
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
