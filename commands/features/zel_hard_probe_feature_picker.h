#pragma once

// Picking an existing feature with the probe: while picking lasts, the candidate whose box holds the probe is
// highlighted, and a point sampled inside a candidate's box picks it. A feature strategy decides which
// features are candidates and how the others are shown; a pick strategy decides which candidate lies under
// the probe. The picker is a hard-probe receiver and a subject: it notifies "Stop" once it picked, at a stop
// point and at "Cancel", and "Error" at a device error. Main thread only.

#include "basic_types/bit_vector.h"
#include "basic_types/vector3.h"
#include "commands/features/feature_sub_objects.h"
#include "host_api/zel_unknown.h"

class IZelHardProbeFeaturePickerFeatureStrategy : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeFeaturePickerFeatureStrategy";

  // Clears the bits, then sets bit i for each sub-object at position i whose feature is a candidate.
  virtual void selectCandidates(const FeatureSubObjects& subObjects, BitVector& bits) = 0;
  // With hide, shows the sub-objects whose bit is set and hides the others until restoreVisibility.
  virtual void showCandidates(const FeatureSubObjects& subObjects, const BitVector& bits, bool hide) = 0;
  virtual void restoreVisibility() = 0;
};

// A feature strategy by feature interface name ("IZelPlane"): with no name every feature is a candidate.
class IFeatureTypeFeatureStrategy : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IFeatureTypeFeatureStrategy";

  virtual void clearTypes() = 0;
  virtual void addType(const char* featureInterfaceName) = 0;
};

class IZelHardProbeFeaturePickerPickStrategy : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeFeaturePickerPickStrategy";

  // Appends the candidates whose feature has a box; the others cannot be picked.
  virtual void setCandidates(const FeatureSubObjects& candidates) = 0;
  virtual void clear() = 0;
  // Grows every box by three probe radii on every side, so that the probe tip's centre, which stays a radius
  // off the surface, still lands inside.
  virtual void inflateBoxes(double radius) = 0;
  // Of the boxes holding the point (faces included), the one whose centre is nearest; the first on ties.
  virtual void pick(const Vector3& point) = 0;
  // The sub-object found by the last pick, or null.
  virtual IZelSubObject* picked() = 0;
};

class IZelHardProbeFeaturePicker : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeFeaturePicker";

  // Both are ignored while the picker is active.
  virtual void setFeatureStrategy(IZelHardProbeFeaturePickerFeatureStrategy* strategy) = 0;
  virtual void setPickStrategy(IZelHardProbeFeaturePickerPickStrategy* strategy) = 0;
  // The object whose features are offered; the picker holds no reference, so the caller keeps it alive.
  virtual void setObject(IZelDocObject* object) = 0;
  virtual void setHideNonCandidates(bool hide) = 0;
  // Offers the object's candidates; false without a strategy. True also when nothing can be picked.
  virtual bool start() = 0;
  // Removes the highlights, forgets the candidates and restores what the feature strategy hid.
  virtual void stop() = 0;
  virtual IZelSubObject* pickedSubObject() = 0;
  // False while no point was picked.
  virtual bool pickedPoint(Vector3& point) = 0;
  // Ready for the next pick: forgets the highlight, the pick and the radius taken.
  virtual void reset() = 0;
  virtual bool isActive() = 0;
};
