#pragma once

// The probed-feature collector: the collector's own receiver is registered with the device, and this object
// hears the collector's events, builds each feature at the stop point and announces it. A stop point the
// collector cannot build a feature from, an "Error" or a "Cancel" stops acquisition; the collector keeps its
// points after a failed build. Another collector set during a pass takes the old one's receiver off the
// device. Main thread only.

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
  // Stops listening, so a collector that outlives this object never calls it.
  ~HardProbeFeatureCollector() override;

  void setCollector(IZelFeatureCollector* collector) override;
  IZelFeatureCollector* collector() override { return collector_.get(); }
  IZelFeatureCollector* getCollector() override { return collector(); }
  bool start() override;
  IPtr<IZelFeature> takeFeature() override { return std::move(feature_); }
  void takeFeature(IPtr<IZelFeature>& out) override { out = takeFeature(); }

  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void listen(bool on);
  void stop();
  void onStop();
  // Takes the registered receiver off the device, once.
  void releaseReceiver();

  IPtr<IZelPluginDevice> device_;
  IPtr<IZelFeatureCollector> collector_;
  IPtr<IZelPluginDataReceiver> receiver_;  // registered with device_ while set
  IPtr<IZelFeature> feature_;
  bool listening_ = false;
};
