#pragma once

// The host's fitters: each fits one kind of feature to a point set, with named parameters as hints and
// constraints. A fitter is made by its class id, which the registry holds under "Features/Fitters/...".

#include "host_api/parameters.h"
#include "host_api/point_regions.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_unknown.h"

class IZelFeatureFitter : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeatureFitter";

  // The points to fit; the fitter holds a reference on them (null lets go).
  virtual void setPointSet(IZelPointSetInterface* points) = 0;
  // Holds a reference on value under name, replacing what was there; a name the fitter does not know is
  // kept and ignored. False, storing nothing, for a null value.
  virtual bool setParameter(const ZelString& name, IZelParameter* value) = 0;
  // A new feature fitted to the selected points, the caller holding its reference; null when the points do
  // not determine one (too few, coincident, collinear, not finite), a parameter the fit needs is of another
  // kind or nonsense, or the fit does not converge. Never a guessed feature.
  virtual IZelFeature* fit() = 0;
  // Why the last fit gave no feature, in words for the operator ("the points lie exactly on more than one
  // cylinder, ..."); empty after a fit that gave one, before any fit, or when the fitter cannot say.
  virtual ZelString failure() = 0;
};
