// The Move Device wizard's probing passes: a feature collector per reference or target, and the tiles shown
// while it runs.

#include "commands/alignment/common/device_transform_steps.h"
#include "commands/alignment/move_device/move_device_controls.h"
#include "commands/alignment/move_device/move_device_widget.h"
#include "devices/contracts/plugin_device.h"
#include "devices/events/acquisition_error.h"
#include "devices/registry/izel_plugin_service.h"
#include "features/collectors/zel_feature_collector.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/setting_on.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/event_name.h"
#include "framework/translation/tr.h"
#include "ui/instructions/zel_user_instructions.h"
#include "ui/tiles/hard_probe_tile_facade.h"
#include "ui/tiles/zel_hard_probe_tile.h"

using namespace move_device_controls;

namespace {

constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";
constexpr const char* kResetBoundingBoxKey = "Palpera/Gfx/ResetBoundingBox";
constexpr const char* kShowInfoKey = "Palpera/Tile/ShowInfo";
constexpr const char* kShowInstructionsKey = "Palpera/Tile/ShowInstructions";

struct Kind {
  uint32_t number;
  const char* collectorClass;
  const char* featureName;
};

constexpr Kind kKinds[] = {{MoveDeviceWidget::kSinglePoint, "PointCollector", "Point"},
                           {MoveDeviceWidget::kSphereCenter, "SphereCollector", "Sphere Center"},
                           {MoveDeviceWidget::kCircleCenter, "CircleCollector", "Circle Center"}};

const Kind* kindOf(uint32_t number) {
  for (const Kind& kind : kKinds)
    if (kind.number == number) return &kind;
  return nullptr;
}

IZelPluginDevice* hardProbeDevice() {
  SPtr<IZelPluginService> devices;
  return devices ? devices->getDevice(ZelCString("HardProbe")) : nullptr;
}

}  // namespace

bool MoveDeviceWidget::startProbing(uint32_t kind) {
  if (!collector_) {
    collector_.createInstance(classIdOf("HardProbeFeatureCollector"));
    if (!collector_) return false;
    if (auto* subject = queryPart<IZelSubject>(collector_.get())) subject->attach(this);
  }
  const Kind* known = kindOf(kind);
  IPtr<IZelFeatureCollector> featureCollector;
  if (known) featureCollector.createInstance(classIdOf(known->collectorClass));
  if (!featureCollector) {
    releaseCollector();
    return false;
  }
  featureName_ = tr(known->featureName);
  notify("ProbeStart", nullptr);
  probing_ = true;
  if (settingOn(kShowProbeKey)) {
    probe_.show(ZelString(u"Move Device Widget Graphics"));
  }
  // The probe's object is a point object: the touches sampled for the feature are drawn as its points.
  if (IZelPoints* drawn = pointsOf(probe_.object())) featureCollector->setPointSink(drawn->array());
  featureCollector->setFeatureName(featureName_);
  showTiles(true);
  collector_->setCollector(featureCollector.get());
  showCollectorInstructions();
  if (collector_->start()) {
    kind_ = kind;
    return true;
  }
  endProbing();
  return false;
}

void MoveDeviceWidget::onNotify(const char* event, IZelSubject* sender, void* data) {
  if (!collector_ || !sender || sender != queryPart<IZelSubject>(collector_.get())) return;
  // A pass may end, and the collector be let go, inside the handling below.
  IPtr<IZelHardProbeFeatureCollector> keep = collector_;
  if (isEvent(event, "NewFeature")) {
    onNewFeatureEvent();
  } else if (isEvent(event, "FeatureRefused")) {
    // The pass goes on with its touches, as in "Hard Probe Features": more touches or a lifted stop finish
    // it.
    reportUserError(*static_cast<const ZelString*>(data));
  } else if (isEvent(event, "Stop") || isEvent(event, "Cancel")) {
    onProbeStop();
  } else if (isEvent(event, "UserInstructionsChanged")) {
    showCollectorInstructions();
  } else if (isEvent(event, "Error")) {
    onAcquisitionError();
  }
}

void MoveDeviceWidget::onNewFeatureEvent() {
  IPtr<IZelFeature> feature = collector_->takeFeature();
  if (!feature || !probing_) return;
  if (!onNewFeature(*feature)) {
    stopDevice();
    endProbing();
  } else if (referenceMode_) {
    IZelFeatureCollector* featureCollector = collector_->collector();
    featureCollector->reset();
    featureCollector->refreshInfo();
  } else {
    stopDevice();
    // A target whose kind no collector probes ends the pass here: nothing else would.
    if (!startNextTarget() && probing_) endProbing();
  }
}

bool MoveDeviceWidget::onNewFeature(IZelFeature& feature) {
  Vector3 a, b, centre;
  if (!feature.frame(a, b, centre)) return true;
  bool goOn = true;
  if (referenceMode_) {
    if (references_.count() >= PointContainer::kCapacity) return false;
    ZelString name = featureName_;
    references_.add(centre, kind_, name, true);
    addListEntry(kReferenceList, name);
    if (references_.count() >= kFewestPairs) enable(kNext, true);
    if (references_.count() >= PointContainer::kCapacity) {
      enable(kCreateReferencesBox, false);
      goOn = false;
    }
  } else {
    if (targets_.count() >= references_.count()) return false;
    showTargetPrompt();
    ZelString name = references_.name(targets_.count());
    targets_.add(centre, kind_, name, false);
    addListEntry(kTargetList, name);
    for (int32_t button : {kTargetStart, kTargetRetry, kTargetRestart}) enable(button, true);
    if (targets_.count() >= references_.count()) {
      enable(kTargetStart, false);
      enable(kNext, true);
      goOn = false;
    }
  }
  if (probe_.graphics() && settingOn(kResetBoundingBoxKey)) probe_.graphics()->fitView(false);
  return goOn;
}

void MoveDeviceWidget::onProbeStop() {
  if (referenceMode_ && references_.count() >= 1) enable(kTypePrevious, false);
  if (!referenceMode_ && targets_.count() == 0) enable(kTargetStart, true);
  endProbing();
}

void MoveDeviceWidget::onAcquisitionError() {
  endProbing();
  reportAcquisitionError();
  notify("ProbeStop", nullptr);
}

void MoveDeviceWidget::stopDevice() {
  IZelPluginDevice* device = hardProbeDevice();
  if (!device) return;
  stopDetached(*device, {collector_ ? collector_->deviceReceiver() : nullptr});
}

void MoveDeviceWidget::endProbing() {
  probing_ = false;
  IZelPluginDevice* device = hardProbeDevice();
  if (IZelPluginDataReceiver* receiver = collector_ ? collector_->deviceReceiver() : nullptr;
      receiver && device)
    device->removeReceiver(receiver);
  showTiles(false);
  probe_.hide();
  showInstructions(nullptr);
  notify("ProbeStop", nullptr);
  notifySensitivity(sensitivity_);
}

bool MoveDeviceWidget::startNextTarget() {
  if (targets_.count() >= references_.count()) return false;
  referenceMode_ = false;
  showTargetPrompt();
  return startProbing(references_.type(targets_.count()));
}

void MoveDeviceWidget::showTargetPrompt() {
  setText(kTargetPrompt, references_.name(targets_.count()));
}
// Tiles.

void MoveDeviceWidget::showTiles(bool on) {
  const bool showInfo = settingOn(kShowInfoKey);
  const bool showInstructionsTile = settingOn(kShowInstructionsKey);
  IPtr<IZelHardProbeTile> tile = tileFacade();
  if (!tile) return;
  tile->setFlag("ShowFeatureInfo", 1);
  tile->setFlag("ShowBriefInstructions", 0);
  tile->setActive(on);
  if (showInfo) tile->showTile(ZelCString("hardprobe info tile"), on);
  if (showInstructionsTile) tile->showTile(ZelCString("hardprobe instructions tile"), on);
  if (!on) tile->clear();
}

void MoveDeviceWidget::showInstructions(IZelUserInstructions* instructions) {
  if (IPtr<IZelHardProbeTile> tile = tileFacade()) tile->setInstructions("FullInstructions", instructions);
}

void MoveDeviceWidget::showCollectorInstructions() {
  auto* source = queryPart<IZelUserInstructionSource>(collector_ ? collector_->collector() : nullptr);
  if (!source) return;
  IPtr<IZelUserInstructions> instructions;
  source->userInstructions(instructions, true);
  showInstructions(instructions.get());
}
