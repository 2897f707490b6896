#include "commands/features/palpera_create_features_cmd2.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "commands/common/command_readiness.h"
#include "commands/features/feature_sub_objects.h"
#include "commands/features/probe_command_arguments.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/setting_on.h"
#include "framework/memory/assertion.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/subject/event_name.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/help_service.h"
#include "host_api/registry_paths.h"
#include "host_api/unit_service.h"
#include "ui/instructions/zel_user_instructions.h"
#include "ui/tiles/hard_probe_tile_facade.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

const ClassRegistration<PalperaCreateFeaturesCmd2> registration(registeredClass("PalperaCreateFeaturesCmd2"));

constexpr const char* kInCommandKey = "Palpera/Hard Probe Features In Command";
constexpr const char* kTransparentReferenceKey = "Palpera/Gfx/TransparentReferenceObject";
constexpr const char* kShowInfoKey = "Palpera/Tile/ShowInfo";
constexpr const char* kShowInstructionsKey = "Palpera/Tile/ShowInstructions";
constexpr const char* kTargetObjectName = "TestObject";
constexpr const char* kSourceFile = "palperacreatefeaturescmd2";
// The host's length units: the metre, which probing does not work in, and the millimetre.
constexpr int32_t kMetreUnit = 7;
constexpr int32_t kMillimetreUnit = 1;

void setInCommand(bool on) {
  SPtr<IDataStore> store;
  if (store) store->setInt(nullptr, kInCommandKey, on ? 1 : 0);
}

// The class id whose text the registry holds under prefix + name; the null id when it holds none, or a
// text that is no id.
ZelID registeredId(const char* prefix, const std::string& name) {
  SPtr<Corvane::IZelRegistry> registry;
  if (!registry) return {};
  const std::string path = prefix + name;
  ZelCString key(path.c_str());
  const ZelCString* text = registry->lookup(&key);
  return text ? ZelID::fromString(*text) : ZelID();
}

}  // namespace

PalperaCreateFeaturesCmd2::PalperaCreateFeaturesCmd2() {
  name_ = tr("Hard Probe Features");
}

PalperaCreateFeaturesCmd2::~PalperaCreateFeaturesCmd2() {
  stopRun(RunEnd::kKeep);
}

void PalperaCreateFeaturesCmd2::onEvent(IHostEvent* event) {
  if (!event || !util_) return;
  if (event->id() == IHostEvent::kDelete) util_->undoLastSampled();
  if (event->id() == IHostEvent::kDialogClosing) util_->stopFeature();
}

bool PalperaCreateFeaturesCmd2::canRun(IZelUnknown* context) {
  if (contextFlag(context, IComponentCommandContainerV2::kInCommand) ||
      contextFlag(context, IComponentCommandContainerV2::kRecordingMacro) ||
      contextFlag(context, IComponentCommandContainerV2::kSectionCurrent)) {
    return false;
  }
  return !settingOn(kInCommandKey) && !resultBarsEmulator(context);
}

bool PalperaCreateFeaturesCmd2::activate() {
  IPtr<PalperaCreateFeaturesCmd2> self(this);
  featureClassId_ = {};
  collectorClassId_ = {};
  if (!readArguments() || !commandReady(name_, {.hardProbe = true})) return false;
  setInCommand(true);
  SPtr<IUnitService> units;
  if (units && units->currentLengthUnit() == kMetreUnit) units->setCurrentLengthUnit(kMillimetreUnit);
  undo_ = std::make_unique<UndoRecord>();
  if (!target_ && !chooseTarget()) {
    reportAssertion("obj_", kSourceFile, __LINE__);
    undo_.reset();
    setInCommand(false);
    return false;
  }
  undo_->target = target_.get();
  if (settingOn(kTransparentReferenceKey)) {
    reference_ = showReferenceObject();
    requestRedraw(false);
  }
  undo_->before = featureSubObjectsOf(target_.get());
  std::ranges::sort(undo_->before);

  if (!util_) util_.createInstance(classIdOf("HardProbeCreateFeaturesUtil"));
  if (auto* subject = queryPart<IZelSubject>(util_.get())) {
    subject->attach(this);
    listening_ = true;
  }
  activating_ = true;
  bool started = false;
  if (!util_) {
    reportAssertion("util_", kSourceFile, __LINE__);
  } else {
    util_->setTargetObject(target_.get());
    util_->connect();
    if (IZelPlugin* plugin = getCurrentHardProbePlugin()) plugin->reloadObjectMatrix();
    featureCreated_ = false;
    started = startProbing();
  }
  activating_ = false;
  if (!started) deactivate();
  return started;
}

bool PalperaCreateFeaturesCmd2::readArguments() {
  auto* container = queryPart<IComponentCommandContainerV2>(context());
  const ZelCString text = container ? container->argumentText() : ZelCString();
  if (text.isEmpty()) return true;  // the run then fails on the missing class ids, as a reported fault
  const ProbeCommandArguments arguments = parseProbeCommandArguments(text.c_str());
  if (arguments.feature.empty() || arguments.collector.empty()) return false;
  const ZelID feature = registeredId(kFeatureTypesPath, arguments.feature);
  const ZelID collector = registeredId(kFeatureCollectorsPath, arguments.collector);
  const std::optional<bool> usePlane = parseUsePlane(arguments.usePlane);
  if (!GUIDUtils::isValid(feature) || !GUIDUtils::isValid(collector) || !usePlane) return false;
  featureClassId_ = feature;
  collectorClassId_ = collector;
  usePlane_ = *usePlane;
  SPtr<IHelpServiceV2> help;
  if (help) help->setTopic(ZelCString(arguments.collector.c_str()), true);
  return true;
}

bool PalperaCreateFeaturesCmd2::chooseTarget() {
  SPtr<IZelDoc> doc;
  if (!doc) return false;
  target_ = doc->findObject(ZelString(kTargetObjectName));
  if (target_) return true;
  target_ = createFeatureObject(*doc);
  if (!target_) return false;
  undo_->objectCreated = true;
  return true;
}

bool PalperaCreateFeaturesCmd2::startProbing() {
  if (!GUIDUtils::isValid(featureClassId_))
    reportAssertion("GUIDUtils::isValid(featureClassID_)", kSourceFile, __LINE__);
  if (!GUIDUtils::isValid(collectorClassId_))
    reportAssertion("GUIDUtils::isValid(featureCollectorClassID_)", kSourceFile, __LINE__);
  util_->setUsePlane(usePlane_);
  util_->setWorkPlane(nullptr);
  util_->setFeatureClassId(featureClassId_);
  util_->setCollectorClassId(collectorClassId_);
  if (!util_->isConnected()) return false;
  probing_ = util_->startFeature();
  showTiles(probing_);
  return probing_;
}

void PalperaCreateFeaturesCmd2::showTiles(bool active) {
  IPtr<IZelHardProbeTile> tile = tileFacade();
  if (!tile) return;
  tile->setFlag("ShowFeatureInfo", 1);
  tile->setFlag("ShowBriefInstructions", 1);
  tile->setActive(active);
  if (settingOn(kShowInfoKey)) tile->showTile(ZelCString("hardprobe info tile"), active);
  if (settingOn(kShowInstructionsKey)) tile->showTile(ZelCString("hardprobe instructions tile"), active);
  if (!active) tile->clear();
}

void PalperaCreateFeaturesCmd2::stopRun(RunEnd end) {
  if (listening_) {
    listening_ = false;
    if (auto* subject = queryPart<IZelSubject>(util_.get())) subject->detach(this);
  }
  if (!probing_) return;
  probing_ = false;
  if (end == RunEnd::kCancel) {
    util_->cancelFeature();
  } else {
    util_->stopFeature();
  }
  showTiles(false);
}

void PalperaCreateFeaturesCmd2::deactivate() {
  IPtr<PalperaCreateFeaturesCmd2> self(this);
  stopRun(RunEnd::kKeep);
  if (IZelPlugin* plugin = getCurrentHardProbePlugin()) plugin->resetObjectMatrix();
  undo_.reset();
  if (reference_.graphics) reference_.graphics->setDisplayMode(reference_.previousMode);
  reference_ = {};
  target_.release();
  if (util_) util_->disconnect();
  requestRedraw(false);
  setInCommand(false);
}

bool PalperaCreateFeaturesCmd2::cancel() {
  IPtr<PalperaCreateFeaturesCmd2> self(this);
  stopRun(RunEnd::kCancel);
  if (!undo_ || !undo_->target) return true;
  if (undo_->objectCreated) {
    removeObjectFromDocument(undo_->target);
    return true;
  }
  auto* subObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(undo_->target));
  if (!subObjects) return true;
  for (IZelFeatureSubObject* feature : featureSubObjectsOf(undo_->target)) {
    if (!std::ranges::binary_search(undo_->before, feature))
      subObjects->removeSubObject(queryPart<IZelSubObject>(feature));
  }
  return true;
}

void PalperaCreateFeaturesCmd2::onNotify(const char* event, IZelSubject*, void* data) {
  if (isEvent(event, "ProbeStop")) {
    probing_ = false;
    showTiles(false);
    // While activating, the run's end is activation's failure, not a request to finish a running command.
    if (!activating_) finishCommand(context(), featureCreated_);
  } else if (isEvent(event, "UserInstructions")) {
    if (IPtr<IZelHardProbeTile> tile = tileFacade())
      tile->setInstructions("FullInstructions", static_cast<IZelUserInstructions*>(data));
  } else if (isEvent(event, "BriefInstructions")) {
    if (IPtr<IZelHardProbeTile> tile = tileFacade())
      tile->setText("BriefInstructions", data ? *static_cast<ZelString*>(data) : ZelString());
  } else if (isEvent(event, "NewFeature")) {
    featureCreated_ = true;
  }
}

void PalperaCreateFeaturesCmd2::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain
      .classLeaf(interfaceName, static_cast<PalperaCreateFeaturesCmd2*>(this),
                 static_cast<IZelUnknown*>(static_cast<CompBaseCmd*>(this)))
      .offer<IZelListener>(this);
  queryCommandChain(chain);
}
