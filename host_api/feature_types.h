#pragma once

// What kind a feature is, and the host's last word on a new feature. The feature-type finder answers one type
// object per kind of feature for the host's whole life, so two planes have the same type; its class id
// (host_api/feature_type_ids.h) is what per-type running numbers are keyed by, and its display name ("Plane",
// "Line", "Circle", ...) is what new features are named after.

#include <cstdint>

#include "basic_types/zel_id.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_unknown.h"

class IZelCadRecreationRecord;

// Something the host knows by class id and shows by name.
class IZelEntity : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelEntity";

  virtual ZelID classId() = 0;
  virtual ZelString displayName() = 0;
};

// The type of a kind of feature; its entity face gives the type's class id and display name.
class IZelFeatureType : public virtual IZelEntity {
 public:
  static constexpr const char* interfaceName = "IZelFeatureType";
};

class IZelFeatureTypeFinder : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeatureTypeFinder";

  // The type of the feature's kind, without a reference for the caller: it lives as long as the host. Null
  // for a null feature and for one of no kind the host knows.
  virtual IZelFeatureType* featureType(IZelFeature* feature) = 0;
};

// Brings a new feature in line with the host before it is shown: set the feature, then apply with mode 0.
// Each lookup answers a new modifier, so callers on different threads never share the feature in between.
class IZelFeatureRecreationModifier : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeatureRecreationModifier";

  // Holds a reference on the feature until apply; false, changing nothing, for null.
  virtual bool setFeature(IZelFeature* feature) = 0;
  // Applies the mode to the feature set last and lets go of it. False, changing nothing, without a feature
  // or for a mode other than 0.
  virtual bool apply(int32_t mode) = 0;
  // The CAD recreation record of a feature, the caller holding its reference; null for a feature not
  // recreated from a CAD model.
  virtual IZelCadRecreationRecord* cadRecord(IZelFeature* feature) = 0;
};
