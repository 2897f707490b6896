#include "commands/quick_probe/palpera_quick_probe_cmd.h"

#include <utility>

#include "commands/common/command_readiness.h"
#include "commands/quick_probe/air_side.h"
#include "commands/quick_probe/feature_sub_objects.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/events/acquisition_error.h"
#include "devices/managers/izel_plugin_manager.h"
#include "features/collectors/feature_collector_base.h"
#include "features/feature_matching.h"
#include "features/placed_feature.h"
#include "features/unmade_touches.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/setting_on.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/subject/event_name.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/feature_kinds.h"
#include "host_api/feature_types.h"
#include "host_api/gui_receiver.h"
#include "host_api/zel_mesh.h"

namespace {

const ClassRegistration<PalperaQuickProbeCmd> registration(registeredClass("PalperaQuickProbeCmd"));

constexpr const char* kDevice = "HardProbe";
constexpr const char* kDialogClosingEvent = "Command/DialogClosing";
constexpr const char* kTransparentReferenceKey = "Palpera/Gfx/TransparentReferenceObject";
constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";

IZelPlugin* activeHardProbePlugin(IZelPluginService& service) {
  IZelPluginManager* manager = service.getManager(ZelCString(kDevice));
  return manager ? manager->activePlugin() : nullptr;
}

// A probed cylinder or cone turned to run like its nominal: an axis has no side. A plane's normal tells its
// side and is never turned.
void orientAxisLike(IZelFeature& probed, IZelFeature* nominal) {
  Vector3 probedDirection, nominalDirection;
  if (auto* cylinder = queryPart<IZelCylinder>(&probed), *same = queryPart<IZelCylinder>(nominal);
      cylinder && same) {
    probedDirection = cylinder->axisDirection();
    nominalDirection = same->axisDirection();
  } else if (auto* cone = queryPart<IZelCone>(&probed), *alike = queryPart<IZelCone>(nominal);
             cone && alike) {
    probedDirection = cone->axisDirection();
    nominalDirection = alike->axisDirection();
  }
  if (probedDirection.dot(nominalDirection) < 0) probed.reverseOrientation();
}

}  // namespace

PalperaQuickProbeCmd::PalperaQuickProbeCmd() {
  name_ = tr("Quick Probe");
}

void PalperaQuickProbeCmd::onEvent(IHostEvent* event) {
  if (!event || event->id() != IHostEvent::kDialogClosing) return;
  SPtr<IDataStore> store;
  if (store) store->fireEvent(nullptr, kDialogClosingEvent);
}

bool PalperaQuickProbeCmd::canRun(IZelUnknown* context) {
  if (contextFlag(context, IComponentCommandContainerV2::kInCommand) && !active_) return false;
  return !contextFlag(context, IComponentCommandContainerV2::kRecordingMacro) &&
         !contextFlag(context, IComponentCommandContainerV2::kSectionCurrent) &&
         !contextFlag(context, IComponentCommandContainerV2::kBoundaryCurrent);
}

bool PalperaQuickProbeCmd::activate() {
  if (!commandReady(name_, {.hardProbe = true, .activeReference = true}) || !findReference()) return false;
  active_ = true;
  pointCount_ = 0;
  if (!findOrCreateTarget()) {
    reportUserError(tr("Unable to create the object for the probed features."));
    deactivate();
    return false;
  }
  if (settingOn(kTransparentReferenceKey)) restoreDisplay_ = showReferenceObject();
  requestRedraw(false);
  if (!connect()) {
    deactivate();
    return false;
  }
  graphics_.build(testObject_.get(), recognizer_.topology(), recognizer_.placement());
  enterReferenceFeatures();
  return true;
}

bool PalperaQuickProbeCmd::findReference() {
  SPtr<IZelDoc> document;
  IZelDocObject* reference = document ? document->findObject(ZelString(u"RefObject")) : nullptr;
  auto* mesh = reference ? queryPart<IZelMeshExt>(reference->subObject("SurfModel")) : nullptr;
  auto* modelId = queryPart<IZelObjectModelId>(reference);
  const bool cad = mesh && modelId;
  // A CAD reference that cannot be placed says so itself.
  std::optional<ObjectPlacement> placement = cad ? ObjectPlacement::ofReference(reference) : std::nullopt;
  if (cad && !placement) return false;
  if (!cad || !recognizer_.attach(mesh, modelId->modelId(), *placement)) {
    reportUserError(tr("Quick probe needs a CAD reference object (\"RefObject\")."));
    return false;
  }
  refObject_ = IPtr<IZelDocObject>(reference);
  return true;
}

bool PalperaQuickProbeCmd::findOrCreateTarget() {
  SPtr<IZelDoc> document;
  if (!document) return false;
  testObject_ = IPtr<IZelDocObject>(document->findObject(ZelString(u"TestObject")));
  if (!testObject_) testObject_ = createFeatureObject(*document);
  return bool(testObject_);
}

bool PalperaQuickProbeCmd::connect() {
  pluginService_.getService();
  device_ = pluginService_ ? pluginService_->getDevice(ZelCString(kDevice)) : nullptr;
  if (!device_ || !device_->connect()) {
    device_.release();
    reportUserError(tr("Unable to connect to hard probe device."));
    return false;
  }
  // The device's points are in the reference object's frame only after the active plug-in reloads it.
  IZelPlugin* plugin = activeHardProbePlugin(*pluginService_);
  if (!plugin) {
    device_->disconnect();
    device_.release();
    reportUserError(tr("No hard probe plug-in is active."));
    return false;
  }
  plugin->reloadObjectMatrix();
  device_->addReceiver(this);
  connected_ = true;
  if (settingOn(kShowProbeKey)) {
    probeGraphics_.getService();
    if (probeGraphics_) {
      probeGraphics_->setParentObject(refObject_.get());
      probeGraphics_->attach();
    }
  }
  if (device_->startAcquisition()) return true;
  reportUserError(tr("Unable to start data acquisition."));
  return false;
}

void PalperaQuickProbeCmd::disconnect() {
  if (probeGraphics_) {
    probeGraphics_->detach();
    probeGraphics_.release();
  }
  if (!device_) return;
  if (IZelPlugin* plugin = activeHardProbePlugin(*pluginService_)) plugin->resetObjectMatrix();
  if (connected_) {
    stopDetached(*device_, {this});
  }
  device_->disconnect();
  device_.release();
  connected_ = false;
}

void PalperaQuickProbeCmd::enterReferenceFeatures() {
  referenceVisibility_.clear();
  forEachFeatureSubObject(refObject_.get(), [&](IZelFeatureSubObject& subObject) {
    referenceVisibility_.emplace_back(IPtr<IZelSubObject>(&subObject), isHidden(subObject));
    const int32_t index = recognizer_.enterReferenceFeature(subObject.feature());
    if (index != QuickProbeRecognizer::kNone) shownNominals_.set(index, IPtr<IZelSubObject>(&subObject));
  });
}

void PalperaQuickProbeCmd::restoreReferenceVisibility() {
  for (const auto& [subObject, hidden] : referenceVisibility_) setVisible(subObject.get(), !hidden);
  referenceVisibility_.clear();
}

void PalperaQuickProbeCmd::deactivate() {
  graphics_.remove();
  disconnect();
  if (restoreDisplay_.graphics) restoreDisplay_.graphics->setDisplayMode(restoreDisplay_.previousMode);
  restoreDisplay_ = {};
  removeTempNominal();
  restoreReferenceVisibility();
  recognizer_.detach();
  shownNominals_.clear();
  tempNames_.clear();
  probedSubObjects_.clear();
  matchedReferences_.clear();
  pointCount_ = 0;
  refObject_.release();
  testObject_.release();
  pluginService_.release();
  requestRedraw(false);
  active_ = false;
}

void PalperaQuickProbeCmd::setProbeRadius(double radius) {
  recognizer_.setProbeRadius(radius);
}

void PalperaQuickProbeCmd::onMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  movesSinceTouch_.moved({point, to, up});
  handlePoint(point, false);
}

void PalperaQuickProbeCmd::onPointSampled(const Vector3& point) {
  handlePoint(point, true);
}

void PalperaQuickProbeCmd::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  if (!active_) return;
  if (isEvent(name.data(), IZelHardProbeDataReceiver::kUndoLastSampledEvent)) return undoLastTouch();
  if (!isAcquisitionError(name)) return;
  IPtr<PalperaQuickProbeCmd> self(this);
  // A device that failed sends nothing more, and what it had in transit is no touch to take: the features of
  // the earlier stops stay, the touches since the last one are let go with the command, and told.
  disconnect();
  reportAcquisitionError();
  for (const QuickProbeRecognizer::Entry& entry : recognizer_.collectorsInOrder())
    letGo(entry, tr("the device failed before the stop"));
  finishCommand(context_, true);
}

void PalperaQuickProbeCmd::handlePoint(const Vector3& point, bool sampled) {
  if (!active_) return;
  hideShownNominals();
  const int32_t index = recognizer_.recognise(point);
  if (index != QuickProbeRecognizer::kNone) showNominal(index);
  graphics_.showEdges(recognizer_.edgesOf(index));
  requestRedraw(false);
  if (!sampled) return;
  const std::vector<DeviceMove> travel = movesSinceTouch_.take();
  if (recognizer_.onUnmeasuredFace())
    return reportUserError(tr("this face is not a feature Quick Probe measures"));
  // A touch that no feature takes is lost to the operator: said, never dropped without a word.
  if (!recognizer_.acceptsPoints(index))
    return reportUserError(
        tr("this touch lies on no feature of the reference model that Quick Probe can place; "
           "it is not taken"));
  if (auto* receiver = queryPart<IZelHardProbeDataReceiver>(recognizer_.collector(index))) {
    // The probe direction of the last move since the last touch or stop, or none.
    recognizer_.noteTouch(index, point, travel.empty() ? Vector3() : travel.back().to);
    for (const DeviceMove& move : travel) receiver->onMoved(move.point, move.to, move.up);
    receiver->onPointSampled(point);
    graphics_.addPoint(point);
    ++pointCount_;
  }
}

void PalperaQuickProbeCmd::undoLastTouch() {
  const int32_t index = recognizer_.takeBackLastTouch();
  if (index == QuickProbeRecognizer::kNone) return;
  // The collector lets the touch go as it does under "Hard Probe Features".
  if (IZelFeatureCollector* collector = recognizer_.collector(index)) collector->deleteLastPoint();
  // The touches since the last stop are the newest and the ones drawn; a touch kept from before it is not.
  if (pointCount_ == 0) return;
  --pointCount_;
  graphics_.removeLastPoint();
  requestRedraw(false);
}

void PalperaQuickProbeCmd::hideShownNominals() {
  shownNominals_.forEach(
      [](int32_t, const IPtr<IZelSubObject>& subObject) { setVisible(subObject.get(), false); });
}

void PalperaQuickProbeCmd::showNominal(int32_t index) {
  if (IPtr<IZelSubObject>* shown = shownNominals_.find(index)) {
    removeTempNominal();
    setVisible(shown->get(), true);
    return;
  }
  if (index == tempIndex_ && tempNominal_) return;
  removeTempNominal();
  // Under the name it was first shown with, so that showing it again takes no new number, unless a feature
  // added since holds it: the reference object never holds two features of one name.
  const ZelString* shownAs = tempNames_.find(index);
  const bool keepName = shownAs && !holdsName(refObject_.get(), *shownAs);
  tempNominal_ = addNominal(recognizer_.nominal(index), keepName ? *shownAs : ZelString());
  setVisible(tempNominal_.get(), true);
  if (!tempNominal_) return;
  tempIndex_ = index;
  tempNames_.set(index, tempNominal_->name());
}

void PalperaQuickProbeCmd::removeTempNominal() {
  if (tempNominal_) {
    if (IZelSubObjectMgr* manager = tempNominal_->ownerManager())
      manager->removeSubObject(tempNominal_.get());
  }
  tempNominal_.release();
  tempIndex_ = QuickProbeRecognizer::kNone;
}

void PalperaQuickProbeCmd::onPointStop(const Vector3& point) {
  if (!active_) return;
  movesSinceTouch_.clear();
  if (pointCount_ == 0) {
    finishCommand(context_, true);
    return;
  }
  finishTouched(point);
}

bool PalperaQuickProbeCmd::apply() {
  // Also the touches a refused stop kept, which no touch since then has counted.
  if (active_) finishTouched(std::nullopt);
  return true;
}

void PalperaQuickProbeCmd::finishTouched(const std::optional<Vector3>& stop) {
  removeTempNominal();
  // A snapshot in table order: finishing removes the entries it finishes.
  for (const QuickProbeRecognizer::Entry& entry : recognizer_.collectorsInOrder()) finishEntry(entry, stop);
  pointCount_ = 0;
  graphics_.clearPoints();
  graphics_.showEdges({});
  requestRedraw(false);
  recognizer_.forgetCurrent();
}

void PalperaQuickProbeCmd::finishEntry(const QuickProbeRecognizer::Entry& entry,
                                       const std::optional<Vector3>& stop) {
  IZelFeatureCollector& collector = *entry.collector;
  // A collector made for a face the probe only passed over holds nothing to finish or lose.
  if (recognizer_.touchCount(entry.index) == 0) return dropEntry(entry);
  // Each feature is compensated towards its own nominal's material; the operator's stop point lies on the
  // air side of some features only.
  const std::optional<Vector3> air = recognizer_.airSide(entry.index);
  const std::optional<Vector3> side = air ? air : stop;
  if (!side)
    return letGo(entry, tr("the command ended before the stop that tells the side the probe came from"));
  if (auto* receiver = queryPart<IZelHardProbeDataReceiver>(&collector)) receiver->onPointStop(*side);
  collector.setFeatureName(nominalName(entry));
  IPtr<IZelFeature> feature =
      collector.fillCreatorParameters() ? collector.takeFeature() : IPtr<IZelFeature>();
  if (!feature && air && touchedFromModelMaterial(collector)) {
    reportUserError(modelMaterialRefusal(nominalName(entry)));
    return dropEntry(entry);
  }
  if (!feature && !stop) {
    // The command ends: no next stop can complete it.
    auto* base = queryPart<FeatureCollectorBase>(&collector);
    return letGo(entry, base ? base->refusalReason() : tr("the points do not determine it"));
  }
  if (!feature) {
    // Kept, touches and all, so that more touches can complete it at the next stop.
    reportUserError(tr("Not recognised: %1 Probe more and stop again.", collector.refusal()));
    return;
  }
  if (entry.nominal && !sameSideAsNominal(*feature, *entry.nominal, air)) {
    reportUserError(
        tr("%1 is refused: probed, it has the material on the other side than its nominal. Its "
           "touches are dropped; probe it again.",
           nominalName(entry)));
    dropEntry(entry);
    return;
  }
  addProbed(entry, feature);
  dropEntry(entry);
}

void PalperaQuickProbeCmd::addProbed(const QuickProbeRecognizer::Entry& entry,
                                     const IPtr<IZelFeature>& feature) {
  const bool matching = isFeatureMatchingEnabled();
  // One probed feature stands for one nominal: a second probe of it is named apart, and told.
  IPtr<IZelSubObject>* earlier = probedSubObjects_.find(entry.index);
  const ZelString earlierName = earlier ? (*earlier)->name() : ZelString();
  IPtr<IZelSubObject> match(matching && !earlier
                                ? bestReferenceMatch(feature.get(),
                                                     [&](IZelSubObject* reference) {
                                                       return heldByAnother(entry.index, reference);
                                                     })
                                : nullptr);
  recognizer_.setProbed(entry.index, feature.get());
  orientAxisLike(*feature, entry.nominal.get());
  IPtr<IZelSubObject> added =
      addFeature(testObject_.get(), feature.get(), match ? match->name() : ZelString(), true);
  if (!added) return;
  fillProbeArraySource(added.get(), entry.collector.get());
  if (earlier) {
    reportUserError(tr("%1 is probed again; this probe is added as %2, which no nominal stands for.",
                       earlierName, added->name()));
    return;
  }
  probedSubObjects_.set(entry.index, added);
  if (match) {
    matchedReferences_.set(entry.index, match);
    return;
  }
  standForNominal(entry, *feature, *added, matching);
}

void PalperaQuickProbeCmd::standForNominal(const QuickProbeRecognizer::Entry& entry, IZelFeature& feature,
                                           IZelSubObject& added, bool matching) {
  // A feature of the reference object that no recreation record ties to its face is its nominal all the
  // same: never a second one beside it.
  if (!shownNominals_.find(entry.index)) {
    if (IZelSubObject* held = referenceHolding(entry.nominal.get()))
      shownNominals_.set(entry.index, IPtr<IZelSubObject>(held));
  }
  if (IPtr<IZelSubObject>* own = shownNominals_.find(entry.index)) {
    // Its own nominal is a reference feature the probed one does not match: under a name of its own, so
    // that nothing pairs it with another feature's nominal.
    if (matching)
      reportUserError(
          tr("The probed %1 matches no reference feature; it is added as %2.", (*own)->name(), added.name()));
    return;
  }
  if (!entry.nominal) return;
  if (matching && !withinMatchTolerances(*entry.nominal, feature)) {
    reportUserError(
        tr("The probed %1 lies beyond the matching tolerances of its nominal; it is added as %1 "
           "and no nominal is named after it.",
           added.name()));
    return;
  }
  // Under the name the probed feature received, which no reference feature holds, so that the two are seen
  // as one.
  IPtr<IZelSubObject> nominal = addNominal(entry.nominal.get(), added.name());
  if (!nominal) return;
  shownNominals_.set(entry.index, nominal);
  // Shown from now on while the probe is near it, and hidden again when the command ends, as it was added.
  referenceVisibility_.emplace_back(nominal, true);
}

bool PalperaQuickProbeCmd::heldByAnother(int32_t index, IZelSubObject* reference) {
  bool held = false;
  const auto check = [&](int32_t owner, const IPtr<IZelSubObject>& subObject) {
    held = held || (owner != index && subObject.get() == reference);
  };
  shownNominals_.forEach(check);
  matchedReferences_.forEach(check);
  return held;
}

void PalperaQuickProbeCmd::letGo(const QuickProbeRecognizer::Entry& entry, const ZelString& why) {
  if (const int32_t touches = recognizer_.touchCount(entry.index))
    reportUserError(unmadeTouchesText(touches, nominalName(entry), why));
  dropEntry(entry);
}

void PalperaQuickProbeCmd::dropEntry(const QuickProbeRecognizer::Entry& entry) {
  entry.collector->reset();
  recognizer_.removeCollector(entry.index);
}

ZelString PalperaQuickProbeCmd::nominalName(const QuickProbeRecognizer::Entry& entry) {
  if (IPtr<IZelSubObject>* shown = shownNominals_.find(entry.index)) return (*shown)->name();
  if (const ZelString* shownAs = tempNames_.find(entry.index)) return *shownAs;
  SPtr<IZelFeatureTypeFinder> finder;
  auto* type = queryPart<IZelEntity>(finder ? finder->featureType(entry.nominal.get()) : nullptr);
  return type ? type->displayName() : entry.collector->typeName();
}

IPtr<IZelSubObject> PalperaQuickProbeCmd::addNominal(IZelFeature* nominal, const ZelString& name) {
  IPtr<IZelFeature> own = placedFeature(nominal, recognizer_.placement().worldToOwn());
  return addFeature(refObject_.get(), own.get(), name, false);
}

IPtr<IZelSubObject> PalperaQuickProbeCmd::addFeature(IZelDocObject* object, IZelFeature* feature,
                                                     const ZelString& name, bool visible) {
  return addFeatureSubObject(object, feature, name, visible, [&](const ZelString& given) {
    return holdsName(refObject_.get(), given) || holdsName(testObject_.get(), given);
  });
}

void PalperaQuickProbeCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain
      .classLeaf("PalperaQuickProbeCmd", static_cast<CompBaseCmd*>(this),
                 static_cast<IComponentCommand*>(this))
      .offer<IZelHardProbeDataReceiverV2>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelPluginDataReceiver>(this);
  queryCommandChain(chain);
}
