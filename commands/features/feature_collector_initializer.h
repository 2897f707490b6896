#pragma once

// Readies a fresh collector of a probing run, and remembers the class a restart makes anew.

#include "commands/features/hard_probe_create_features_util.h"

class HardProbeCreateFeaturesUtil::FeatureCollectorInitializer : public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "FeatureCollectorInitializer";

  explicit FeatureCollectorInitializer(const ZelID& collectorClassId) : collectorClassId_(collectorClassId) {}

  // Names the collector's feature after its type and has it publish its tile.
  void initialise(IZelFeatureCollector* collector);
  const ZelID& collectorClassId() const { return collectorClassId_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ZelID collectorClassId_;
};
