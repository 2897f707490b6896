#pragma once

// A feature creator: turns the parameters a collector gathered while the operator probed one feature into one
// host feature, compensated for the probe radius and carrying its probing record. A collector (or the edit
// command, from a record's "<ZelID>") makes a creator by class id, fills its table by name and asks for the
// feature. Main thread only; a creator holds no lock.

#include <cstdint>

#include "basic_types/zel_string.h"
#include "host_api/parameters.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_unknown.h"

class IZelHardProbeFeatureCreator : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeFeatureCreator";

  // The sampled points the creator needs; 0 for a creator built from child features.
  virtual int32_t minPoints() = 0;
  // Stores value under name in the creator's table (made on first use), holding a reference on it; answers
  // the table's result, false when no table can be made.
  virtual bool setParameter(const ZelString& name, IZelParameter* value) = 0;
  // A new feature built from the table, not yet in any document; the caller holds its reference. Null, with
  // nothing reported and the table as it was, when a key is missing or of another kind, there are too few
  // points, a host service is missing or the points do not determine the feature.
  virtual IZelFeature* createFeature() = 0;
  // Why the last createFeature gave no feature, translated, for the operator: the points still missing, the
  // fitter's reason, a stop taken on the surface, ...; empty after a feature was made, or when the creator
  // cannot say.
  virtual ZelString refusal() = 0;
};
