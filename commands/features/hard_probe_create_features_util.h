#pragma once

// The feature-probing command's probing run. Three layers, all on the host's main thread: the device calls
// the relay (HardProbeDataReceiver); the relay hands each call to the picker while picking lasts and to the
// collector, and turns their events into its own; the utility hears the relay and works on the document, the
// tile and its own listeners.
//
// The utility owns the relay (which owns the collector and the picker), the visibility manager and the probe
// graphics for the length of one run. A listener may let go of the utility, and the utility of the relay,
// from inside an event: every dispatch holds what it still calls until it returns.

#include <memory>
#include <vector>

#include "commands/features/trial_fit_pace.h"
#include "commands/features/zel_hard_probe_create_features_util.h"
#include "commands/features/zel_hard_probe_feature_picker.h"
#include "devices/contracts/plugin_device.h"
#include "devices/registry/izel_plugin_service.h"
#include "features/collectors/zel_feature_collector.h"
#include "features/feature_statistics.h"
#include "framework/object/iptr.h"
#include "framework/subject/palpera_subject_base.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"
#include "ui/tiles/zel_hard_probe_tile.h"
#include "ui/visibility/zel_sub_object_visibility_mgr.h"

class HardProbeCreateFeaturesUtil : public IZelHardProbeCreateFeaturesUtil,
                                    public IZelListener,
                                    public PalperaSubjectBase {
 public:
  static constexpr const char* interfaceName = "HardProbeCreateFeaturesUtil";

  class HardProbeDataReceiver;
  class FeatureCollectorInitializer;

  HardProbeCreateFeaturesUtil();
  // Ends a run still going, so that nothing the run changed outlives it.
  ~HardProbeCreateFeaturesUtil() override;

  void setTargetObject(IZelDocObject* object) override { target_ = object; }
  bool isConnected() override;
  void connect() override;
  void disconnect() override;
  bool startFeature() override;
  bool stopFeature() override;
  void setUsePlane(bool use) override { usePlane_ = use; }
  // Holding the plane counts a reference, which the read-only view cannot; the plane itself is only read.
  void setWorkPlane(const IZelPlane* plane) override { workPlane_ = const_cast<IZelPlane*>(plane); }
  void setFeatureStrategy(IZelHardProbeFeaturePickerFeatureStrategy* strategy) override {
    featureStrategy_ = strategy;
  }
  void setHideNonCandidates(bool hide) override { hideNonCandidates_ = hide; }
  void setFeatureClassId(const ZelID& id) override { featureClassId_ = id; }
  void setCollectorClassId(const ZelID& id) override { collectorClassId_ = id; }
  void undoLastSampled() override;
  IZelSubObject* lastSubObject() override { return last_.subObject.get(); }
  void cancelFeature() override;

  // The relay's events.
  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // A feature added to the target object, and what undoing it gives back.
  struct AddedFeature {
    IPtr<IZelSubObject> subObject;
    ZelID typeId;
    bool tookNumber = false;  // named after a reference match, it took no running number
  };

  IZelFeatureCollector* collector() const;
  // A work plane set goes to the collector; the use-plane flag alone makes picking offer planes.
  void chooseWhatMayBePicked(IZelFeatureCollector& collector);
  // The picking text while picking is offered, else the collector's own instructions.
  void publishStartInstructions(IZelFeatureCollector& collector);
  // The picker of the run offers the target object's candidates, and the other objects' features hide.
  IPtr<IZelHardProbeFeaturePicker> offerPicking();
  void collectPickableTypeNames(const FeatureSubObjects& candidates);
  void hideOtherObjectsFeatures();
  void showProbeGraphics();

  void onNewFeature();
  void onNewChildFeature(void* data);
  void onPointsChanged();
  void onPickerFinished(bool restoreVisibility);
  void onReset();
  void undoLastFeature();
  // Removes a feature undone and tells the operator which.
  void removeUndone(const AddedFeature& added);
  // Tells of the touches the run ends with; a composite holding only child features gets its ending stop.
  void endUnfinished();
  // What happens to the child features of a composite left unmade when the run ends.
  enum class ChildFeatures { kKept, kRemoved };
  // Kept child features are told of, after why (translated; null or empty: nothing) the composite was not
  // made, and count as features the run made.
  void finishProbing(ChildFeatures children, const ZelString* why = nullptr);
  void keepChildFeatures(const ZelString* why);
  // The touches the relay holds outside the document, told with why (translated) when there are any.
  void tellUnmadeTouches(const HardProbeDataReceiver& relay, const ZelString& why);
  // Stops acquisition and ends the run.
  void endRun(ChildFeatures children);

  AddedFeature addToTarget(IZelFeature* feature, IZelFeatureCollector* maker);
  void removeFromTarget(const AddedFeature& added);
  void resetView();
  void publishStatistics(double maximumNegative, double maximumPositive, double standardDeviation);
  void publishNoStatistics();
  // The statistics of the feature's compensated points against it; no value without a feature or when the
  // host cannot evaluate them.
  void publishStatisticsOf(IZelFeature* feature);
  void updateBriefInstructions();
  void showFeatureStatistics(bool show);
  void notifyInstructions(IZelUserInstructions* instructions);
  void reportError(const char* text);
  // Through the host's error service; the text is translated already.
  void showError(const ZelString& text);
  IZelHardProbeTile* tile();

  IPtr<IZelDocObject> target_;
  IPtr<IZelPluginService> pluginService_;
  IPtr<IZelPluginDevice> device_;
  bool usePlane_ = false;
  IPtr<IZelPlane> workPlane_;
  IPtr<IZelHardProbeFeaturePickerFeatureStrategy> featureStrategy_;
  bool hideNonCandidates_ = true;
  ZelID featureClassId_;
  ZelID collectorClassId_;
  AddedFeature last_;
  IPtr<IZelHardProbeProbeGfx> probeGraphics_;
  IPtr<IZelSubObjectVisibilityMgr> visibility_;
  IPtr<HardProbeDataReceiver> relay_;
  std::vector<AddedFeature> childFeatures_;
  std::vector<ZelString> pickableTypeNames_;
  std::unique_ptr<FeatureStatistics> statistics_;
  TrialFitPace trialFitPace_;
  IPtr<IZelHardProbeTile> tile_;
};
