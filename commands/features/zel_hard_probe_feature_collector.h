#pragma once

// Drives one feature collector straight from the "HardProbe" device, without picking, statistics or
// document work: each finished feature is announced as "NewFeature" and can be taken only during that
// notification. Its subject also notifies "Stop", "Error", "Cancel", "UserInstructionsChanged" and
// "DeleteLastFeature". The caller connects the device first. Main thread only.

#include "features/collectors/zel_feature_collector.h"
#include "framework/object/iptr.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_unknown.h"

class IZelHardProbeFeatureCollector : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeFeatureCollector";

  virtual void setCollector(IZelFeatureCollector* collector) = 0;
  // Both give the collector set, without a reference for the caller.
  virtual IZelFeatureCollector* collector() = 0;
  virtual IZelFeatureCollector* getCollector() = 0;
  // False without a collector or a device, or when acquisition does not start.
  virtual bool start() = 0;
  // The feature being announced, which the caller then holds; empty outside "NewFeature".
  virtual IPtr<IZelFeature> takeFeature() = 0;
  virtual void takeFeature(IPtr<IZelFeature>& out) = 0;
};
