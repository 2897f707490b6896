#pragma once

// The host's uniform point sampler: thins a point set in place, so that the points left are spread evenly
// at a spacing relative to the set's size. A new sampler per request; it belongs to one thread.

#include "host_api/zel_unknown.h"

class IZelPoints;

class IPointUniformSampler : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IPointUniformSampler";

  // The set to thin (held without a reference until run); it must be open (IZelPoints::state not 0).
  virtual void setPoints(IZelPoints* points) = 0;
  // The spacing as a part of the set's extent (the longest side of its box); infinite keeps one point.
  virtual void setRelativeSpacing(double relativeSpacing) = 0;
  // Thins the set. False, changing nothing, without a set, with a closed one or with a spacing that is not
  // above 0.
  virtual bool run() = 0;
};
