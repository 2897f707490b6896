#pragma once

// The relay of a probing run: the device's receiver, which hands every call to the picker while picking
// lasts and then to the collector, and turns their events into its own for the utility: "StopAcquisition",
// "PointsChanged", "Stop", "Reset", "NewFeature", "NewChildFeature", "AddedChildFeature",
// "FeaturePickerFinished", "PickedFeatureSubObject", "UserInstructionsChanged" (IZelUserInstructions),
// "FeatureRefused" (ZelString: the collector's refusal), "Error", "Cancel" and "DeleteLastFeature".
// A stop the collector cannot turn into a feature keeps the run and every point ("FeatureRefused"), so the
// operator may add points and stop again; one lone point followed by such a stop starts the collector and
// the picker afresh ("Reset") instead, and a stop with no point taken ends the run ("Stop", with the
// collector's refusal as a ZelString: what the run ends without). Main thread only.

#include <cstdint>

#include "commands/features/feature_collector_initializer.h"
#include "commands/features/hard_probe_create_features_util.h"

class HardProbeCreateFeaturesUtil::HardProbeDataReceiver : public IZelHardProbeDataReceiverV2,
                                                           public IZelListener,
                                                           public PalperaSubjectBase {
 public:
  static constexpr const char* interfaceName = "HardProbeDataReceiver";

  // Attaches to the collector, then to the picker (null: no picking), which starts it.
  HardProbeDataReceiver(IZelFeatureCollector* collector, IZelHardProbeFeaturePicker* picker);
  // Stops the picker and lets go of both without a word to the listeners.
  ~HardProbeDataReceiver() override;

  IZelFeatureCollector* collector() const { return collector_.get(); }
  // The active picker: null once picking ended.
  IZelHardProbeFeaturePicker* picker() const { return picker_.get(); }
  // The points the collector holds for the feature it makes next.
  uint32_t pointsPending() const { return pointsPending_; }
  // The touches the run would end with outside the document: those pending, and those of child features
  // the collector accepted for the feature it has not made yet (a work plane).
  uint32_t touchesUnmade() const { return touchesUnmade_; }
  void setInitializer(FeatureCollectorInitializer* initializer) { initializer_ = initializer; }
  // Lets go of the picker and the collector, then notifies "StopAcquisition".
  void stopAll();

  // IZelHardProbeDataReceiver
  void setProbeRadius(double radius) override;
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointStop(const Vector3& point) override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  // IZelListener: the collector's and the picker's events.
  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void attachCollector(IZelFeatureCollector* collector);
  void detachCollector();
  void attachPicker(IZelHardProbeFeaturePicker* picker);
  void detachPicker();
  void onCollectorEvent(const char* event, void* data);
  void onCollectorStop();
  void onPickerEvent(const char* event);
  void restart();
  // "UserInstructionsChanged" with the source's instructions.
  void notifyInstructionsOf(IZelUnknown* source);

  IPtr<IZelFeatureCollector> collector_;
  IZelHardProbeDataReceiver* collectorReceiver_ = nullptr;  // collector_'s part
  IPtr<IZelHardProbeFeaturePicker> picker_;
  IZelHardProbeDataReceiver* pickerReceiver_ = nullptr;  // picker_'s part
  // The run's picker, which a restart brings back after picking ended.
  IPtr<IZelHardProbeFeaturePicker> savedPicker_;
  // Points handed to the collector since it last made a feature or a child feature: a refused stop keeps
  // them.
  uint32_t pointsPending_ = 0;
  // Touches handed to the collector since it made a feature or announced a child feature for the document.
  uint32_t touchesUnmade_ = 0;
  bool restartPending_ = false;
  double probeRadius_ = 0.0;
  IPtr<FeatureCollectorInitializer> initializer_;
};
