#pragma once

// The host's fitter of primitives to the points of a point array.

#include <cstdint>

#include "host_api/points.h"
#include "host_api/zel_unknown.h"

class ISpectrumPrimFitter : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ISpectrumPrimFitter";

  // The least-squares plane n · p = d through the array's points into plane as (nx, ny, nz, d), with a unit
  // normal whose component of greatest magnitude is positive (on a tie the first of x, y, z). The five
  // options are the host's; callers pass 0. False, leaving plane, for a null array, fewer than 3 points or
  // points on a line.
  virtual bool fitPlane(double plane[4], RealPArray* points, int32_t option1, int32_t option2,
                        int32_t option3, int32_t option4, int32_t option5) = 0;
};
