#pragma once

// Drives one feature collector straight from the "HardProbe" device, without picking, statistics or
// document work: each finished feature is announced as "NewFeature" and can be taken only during that
// notification. Its subject also notifies "FeatureRefused" (data: the collector's reason, a ZelString valid
// during the call; the pass and its points are kept), "Stop", "Error", "Cancel", "UserInstructionsChanged"
// and "DeleteLastFeature". The caller connects the device first. Main thread only.

#include "devices/contracts/plugin_data_receivers.h"
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
  // What start registered with the device for the pass, without a reference for the caller; null when no
  // pass runs. The caller takes it off the device before it stops the device itself.
  virtual IZelPluginDataReceiver* deviceReceiver() = 0;
  // The feature being announced, which the caller then holds; empty outside "NewFeature".
  virtual IPtr<IZelFeature> takeFeature() = 0;
  virtual void takeFeature(IPtr<IZelFeature>& out) = 0;
};
