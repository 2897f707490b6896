#pragma once

// What the cylinder and cone creators hand the host's nonlinear fitters besides the points: a start (named
// points, directions and diameters), the limit "<MaxPtEAx>" = 0, and the axis held parallel to a work plane's
// normal.

#include <initializer_list>
#include <variant>

#include "basic_types/vector3.h"
#include "features/creators/point_fit.h"
#include "host_api/feature_fitter.h"

// One named value of a start: a point or direction, or a length.
struct FitterHint {
  const char16_t* name;
  std::variant<Vector3, double> value;
};

// Sets every hint on the fitter, in order, when each is finite and the host makes a value for each; none
// otherwise, so that a fitter never starts from part of a start, nor from nonsense.
void setHints(IZelFeatureFitter& fitter, std::initializer_list<FitterHint> hints);

// An integer hint, unless the host cannot make the value.
void setIntHint(IZelFeatureFitter& fitter, const char16_t* name, int32_t value);
// "<MaxPtEAx>" = 0, unless the host cannot make the value.
void setMaxPtEAx(IZelFeatureFitter& fitter);

// "<Constraint>": the fitted axis parallel to direction. False when the host cannot make the constraint.
bool setAxisConstraint(IZelFeatureFitter& fitter, const Vector3& direction);

// The fit of a cylinder or cone of featureType from start (whose apply hands the fitter its hints), its axis
// parallel to the work plane's normal when one is given. start and the plane must outlive the fit.
template <class Start>
FitSetUp axialFitSetUp(const char* featureType, const Start& start, IZelPlane* workPlane) {
  FitSetUp setUp{featureType};
  setUp.startFrom = [&start](IZelFeatureFitter& fitter) { start.apply(fitter); };
  setUp.prepare = [workPlane](IZelFeatureFitter& fitter) {
    return !workPlane || setAxisConstraint(fitter, workPlane->normal());
  };
  return setUp;
}
