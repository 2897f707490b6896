#pragma once

// The probed-feature collector: the device's points reach the collector through the relay of a probing run
// (HardProbeCreateFeaturesUtil::HardProbeDataReceiver), and this object hears the relay's events, as
// "Hard Probe Features" does. Each feature made at a stop point is announced. A stop point the collector
// cannot build a feature from keeps the pass and its points and is announced as "FeatureRefused" with the
// collector's reason; a stop with no point taken since the last feature, an "Error" or a "Cancel" stops
// acquisition. Another collector set during a pass takes the old one's relay off the device. Main thread
// only.

#include "commands/features/zel_hard_probe_feature_collector.h"
#include "devices/contracts/plugin_device.h"
#include "framework/subject/palpera_subject_base.h"
#include "framework/subject/zel_subject.h"

class HardProbeFeatureCollector : public IZelHardProbeFeatureCollector,
                                  public IZelListener,
                                  public PalperaSubjectBase {
 public:
  static constexpr const char* interfaceName = "HardProbeFeatureCollector";

  HardProbeFeatureCollector() = default;
  // Stops listening, so a relay that outlives this object never calls it.
  ~HardProbeFeatureCollector() override;

  void setCollector(IZelFeatureCollector* collector) override;
  IZelFeatureCollector* collector() override { return collector_.get(); }
  IZelFeatureCollector* getCollector() override { return collector(); }
  bool start() override;
  IZelPluginDataReceiver* deviceReceiver() override { return relay_.get(); }
  IPtr<IZelFeature> takeFeature() override { return std::move(feature_); }
  void takeFeature(IPtr<IZelFeature>& out) override { out = takeFeature(); }

  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void stop();
  void announceFeature();
  // Takes the relay off the device and stops hearing it, once.
  void releaseRelay();

  IPtr<IZelPluginDevice> device_;
  IPtr<IZelFeatureCollector> collector_;
  IPtr<IZelHardProbeDataReceiverV2> relay_;  // registered with device_ and heard while set
  IPtr<IZelFeature> feature_;
};
