#include "commands/features/hard_probe_create_features_util.h"

#include <algorithm>
#include <utility>

#include "basic_types/string_utilities.h"
#include "commands/features/hard_probe_data_receiver.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "features/feature_sub_object.h"
#include "features/unmade_touches.h"
#include "features/view_framing.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/setting_on.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/subject/event_name.h"
#include "framework/translation/tr.h"
#include "host_api/feature_types.h"
#include "host_api/zel_error_service.h"

namespace {

const ClassRegistration<HardProbeCreateFeaturesUtil> registration(
    registeredClass("HardProbeCreateFeaturesUtil"));

constexpr const char* kDeviceName = "HardProbe";
constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";
constexpr const char* kResetBoundingBoxKey = "Palpera/Gfx/ResetBoundingBox";
// The statistics value that means "no value".
constexpr double kNoValue = 3.4e38;

// The feature's type, or null when the host does not know it; and its class id, or the null id.
IZelFeatureType* featureType(IZelFeature* feature) {
  SPtr<IZelFeatureTypeFinder> finder;
  return finder ? finder->featureType(feature) : nullptr;
}

ZelID featureTypeId(IZelFeature* feature) {
  auto* entity = queryPart<IZelEntity>(featureType(feature));
  return entity ? entity->classId() : ZelID();
}

}  // namespace

void IZelHardProbeCreateFeaturesUtil::SubObjectData::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}

HardProbeCreateFeaturesUtil::HardProbeCreateFeaturesUtil() = default;

HardProbeCreateFeaturesUtil::~HardProbeCreateFeaturesUtil() {
  if (!relay_) return;
  relay_->detach(this);
  // The device would otherwise go on feeding the relay, and through it the collector, after its owner is
  // gone.
  if (device_) {
    stopDetached(*device_, {relay_.get()});
  }
  if (visibility_) visibility_->restore();
  if (probeGraphics_) probeGraphics_->detach();
}

void HardProbeCreateFeaturesUtil::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelListener*>(this))
      .offer<IZelHardProbeCreateFeaturesUtil>(this)
      .offer<IZelListener>(this);
  querySubjectChain(chain);
  chain.end();
}

IZelFeatureCollector* HardProbeCreateFeaturesUtil::collector() const {
  return relay_ ? relay_->collector() : nullptr;
}

bool HardProbeCreateFeaturesUtil::isConnected() {
  if (!target_) return false;
  IZelPluginManager* manager = getHardProbePluginManager();
  auto* plugin = queryPart<IZelHardProbePlugin>(manager ? manager->currentPlugin() : nullptr);
  return plugin && plugin->isConnected();
}

void HardProbeCreateFeaturesUtil::connect() {
  pluginService_.getService();
  device_ = pluginService_ ? pluginService_->getDevice(ZelCString(kDeviceName)) : nullptr;
  if (device_ && device_->connect()) return;
  reportError("Unable to connect to hard probe device.");
}

void HardProbeCreateFeaturesUtil::disconnect() {
  workPlane_.release();
  featureStrategy_.release();
  target_.release();
  last_ = {};
  if (device_) device_->disconnect();
  device_.release();
  pluginService_.release();
}

bool HardProbeCreateFeaturesUtil::startFeature() {
  IPtr<IZelFeatureCollector> collector;
  collector.createInstance(collectorClassId_);
  if (!collector) {
    reportError("Not implemented");
    return false;
  }
  pickableTypeNames_.clear();
  chooseWhatMayBePicked(*collector);
  IPtr<IZelHardProbeFeaturePicker> picker = offerPicking();
  relay_ = new HardProbeDataReceiver(collector.get(), picker.get());
  relay_->attach(this);
  notify("ProbeStart", nullptr);
  showProbeGraphics();
  IPtr<FeatureCollectorInitializer> initializer(new FeatureCollectorInitializer(collectorClassId_));
  initializer->initialise(collector.get());
  relay_->setInitializer(initializer.get());

  if (!device_) {
    reportError("Unable to connect to hard probe device.");
    finishProbing(ChildFeatures::kRemoved);
    return false;
  }
  device_->addReceiver(relay_.get());
  if (!device_->startAcquisition()) {
    device_->removeReceiver(relay_.get());
    finishProbing(ChildFeatures::kRemoved);
    return false;
  }
  publishNoStatistics();
  publishStartInstructions(*collector);
  return true;
}

void HardProbeCreateFeaturesUtil::chooseWhatMayBePicked(IZelFeatureCollector& collector) {
  if (workPlane_) {
    collector.acceptFeature(queryPart<IZelFeature>(workPlane_.get()));
  } else if (usePlane_ && !featureStrategy_) {
    featureStrategy_.createInstance(classIdOf("FeatureTypeFeatureStrategy"));
    if (auto* types = queryPart<IFeatureTypeFeatureStrategy>(featureStrategy_.get()))
      types->addType("IZelPlane");
  }
}

void HardProbeCreateFeaturesUtil::publishStartInstructions(IZelFeatureCollector& collector) {
  if (relay_->picker()) {
    updateBriefInstructions();
    showFeatureStatistics(false);
    return;
  }
  IPtr<IZelUserInstructions> instructions;
  if (auto* source = queryPart<IZelUserInstructionSource>(&collector))
    source->userInstructions(instructions, true);
  notifyInstructions(instructions.get());
  showFeatureStatistics(collector.showFeatureStatistics());
}

IPtr<IZelHardProbeFeaturePicker> HardProbeCreateFeaturesUtil::offerPicking() {
  if (!featureStrategy_ || workPlane_) return {};
  const FeatureSubObjects all = featureSubObjectsOf(target_.get());
  if (all.empty()) return {};
  BitVector bits(static_cast<int32_t>(all.size()));
  featureStrategy_->selectCandidates(all, bits);
  const FeatureSubObjects candidates = selectedOf(all, bits);
  if (candidates.empty()) return {};
  collectPickableTypeNames(candidates);
  IPtr<IZelHardProbeFeaturePicker> picker;
  picker.getService();
  if (picker) {
    picker->setObject(target_.get());
    picker->setFeatureStrategy(featureStrategy_.get());
    picker->setHideNonCandidates(hideNonCandidates_);
  }
  visibility_.createInstance(classIdOf("SubObjectVisibilityMgr"));
  hideOtherObjectsFeatures();
  return picker;
}

void HardProbeCreateFeaturesUtil::collectPickableTypeNames(const FeatureSubObjects& candidates) {
  std::vector<IZelFeatureType*> types;
  for (IZelFeatureSubObject* candidate : candidates) {
    IZelFeatureType* type = featureType(candidate->feature());
    if (type && std::ranges::find(types, type) == types.end()) types.push_back(type);
  }
  for (IZelFeatureType* type : types) pickableTypeNames_.push_back(type->displayName());
  std::ranges::sort(pickableTypeNames_, [](const ZelString& a, const ZelString& b) {
    return naturalCompare(a.data(), b.data()) < 0;
  });
}

void HardProbeCreateFeaturesUtil::hideOtherObjectsFeatures() {
  SPtr<IZelDoc> doc;
  if (!doc || !visibility_) return;
  for (int32_t i = 0; i < doc->objectCount(); ++i) {
    IZelDocObject* object = doc->objectAt(i);
    if (!object || object == target_.get() || !object->property("Visible")) continue;
    for (IZelFeatureSubObject* subObject : featureSubObjectsOf(object)) visibility_->change(subObject, false);
  }
  visibility_->apply();
}

void HardProbeCreateFeaturesUtil::showProbeGraphics() {
  if (!settingOn(kShowProbeKey) || probeGraphics_) return;
  probeGraphics_.getService();
  if (!probeGraphics_) return;
  probeGraphics_->setParentObject(target_.get());
  probeGraphics_->attach();
}

bool HardProbeCreateFeaturesUtil::stopFeature() {
  IPtr<HardProbeCreateFeaturesUtil> self(this);
  endUnfinished();
  // The ending stop may have ended the run already.
  if (relay_) endRun(ChildFeatures::kKept);
  return true;
}

void HardProbeCreateFeaturesUtil::cancelFeature() {
  IPtr<HardProbeCreateFeaturesUtil> self(this);
  endRun(ChildFeatures::kRemoved);
}

void HardProbeCreateFeaturesUtil::endRun(ChildFeatures children) {
  if (device_ && relay_) {
    stopDetached(*device_, {relay_.get()});
  }
  finishProbing(children);
}

void HardProbeCreateFeaturesUtil::endUnfinished() {
  IPtr<HardProbeDataReceiver> relay = relay_;
  if (!relay) return;
  if (relay->touchesUnmade() > 0) {
    // Without a stop the side the probe came from is unknown, and a guessed side compensates the wrong way.
    tellUnmadeTouches(*relay, tr("the run ended before the stop that makes it and tells the side the probe "
                                 "came from"));
  } else if (!childFeatures_.empty()) {
    // No touch waits, so the stop point goes nowhere: the composite is made from its child features or
    // says why not, as at the stop that ends it.
    relay->onPointStop(Vector3());
  }
}

void HardProbeCreateFeaturesUtil::undoLastSampled() {
  IPtr<HardProbeCreateFeaturesUtil> self(this);
  IPtr<IZelFeatureCollector> collector(this->collector());
  if (auto* receiver = queryPart<IZelHardProbeDataReceiver>(collector.get()))
    receiver->onCustomEvent(ZelCString(IZelHardProbeDataReceiver::kUndoLastSampledEvent), nullptr);
}

void HardProbeCreateFeaturesUtil::onNotify(const char* event, IZelSubject* subject, void* data) {
  // A listener of ours may let go of this utility, and finishing lets go of the relay, inside this call.
  IPtr<HardProbeCreateFeaturesUtil> self(this);
  IPtr<HardProbeDataReceiver> relay = relay_;
  if (!relay || subject != static_cast<IZelSubject*>(relay.get())) return;
  if (isEvent(event, "StopAcquisition")) {
    if (device_) {
      stopDetached(*device_, {relay.get()});
    }
  } else if (isEvent(event, "PointsChanged")) {
    if (trialFitPace_.due(relay->pointsPending())) onPointsChanged();
  } else if (isEvent(event, "FeaturePickerFinished")) {
    onPickerFinished(true);
  } else if (isEvent(event, "AddedChildFeature")) {
    onPickerFinished(false);
  } else if (isEvent(event, "NewFeature")) {
    onNewFeature();
  } else if (isEvent(event, "NewChildFeature")) {
    onNewChildFeature(data);
  } else if (isEvent(event, "PickedFeatureSubObject")) {
    notify(event, data);
  } else if (isEvent(event, "UserInstructionsChanged")) {
    notifyInstructions(static_cast<IZelUserInstructions*>(data));
  } else if (isEvent(event, "Reset")) {
    onReset();
  } else if (isEvent(event, "FeatureRefused")) {
    showError(*static_cast<const ZelString*>(data));
  } else if (isEvent(event, "Stop")) {
    // A composite's accepted children (its work plane) go with a run ended by a stop without a touch.
    tellUnmadeTouches(*relay, tr("a stop without a touch ended the run before it was made"));
    finishProbing(ChildFeatures::kKept, static_cast<const ZelString*>(data));
  } else if (isEvent(event, "Cancel")) {
    finishProbing(ChildFeatures::kRemoved);
  } else if (isEvent(event, "Error")) {
    // What the device measured before it failed stays; what it had not finished is told.
    reportError("An error occurred during data acquisition.");
    tellUnmadeTouches(*relay, tr("the device failed before the stop"));
    finishProbing(ChildFeatures::kKept);
  } else if (isEvent(event, "DeleteLastFeature")) {
    undoLastFeature();
  }
}

void HardProbeCreateFeaturesUtil::onPointsChanged() {
  IPtr<IZelFeatureCollector> collector(this->collector());
  if (!collector) return;
  // The trial feature runs through the probe-tip centres, as the points were taken.
  collector->pushProbeRadius(0.0);
  IPtr<IZelFeature> trial =
      collector->fillCreatorParameters() ? collector->takeFeature() : IPtr<IZelFeature>();
  publishStatisticsOf(trial.get());
  collector->popProbeRadius();
}

void HardProbeCreateFeaturesUtil::onPickerFinished(bool restoreVisibility) {
  if (restoreVisibility && visibility_) visibility_->restore();
  IZelFeatureCollector* collector = this->collector();
  showFeatureStatistics(collector && collector->showFeatureStatistics());
}

void HardProbeCreateFeaturesUtil::onNewFeature() {
  IPtr<IZelFeatureCollector> collector(this->collector());
  IPtr<IZelFeature> feature = collector ? collector->takeFeature() : IPtr<IZelFeature>();
  AddedFeature added = addToTarget(feature.get(), collector.get());
  if (!added.subObject) {
    reportError("The probed feature could not be added to the document.");
    publishNoStatistics();
    return;
  }
  resetView();
  last_ = std::move(added);
  childFeatures_.clear();
  notify("NewFeature", nullptr);
  // The operator reads how well the made feature fits its points until the next touch.
  publishStatisticsOf(feature.get());
}

void HardProbeCreateFeaturesUtil::onNewChildFeature(void* data) {
  auto* info = static_cast<ChildFeatureInfo*>(data);
  if (!info || !info->feature || !info->collector) return;
  AddedFeature added = addToTarget(info->feature.get(), info->collector.get());
  if (!added.subObject) {
    reportError("The probed feature could not be added to the document.");
    return;
  }
  resetView();
  childFeatures_.push_back(std::move(added));
  last_ = {};
}

void HardProbeCreateFeaturesUtil::onReset() {
  if (!relay_ || !relay_->picker()) return;
  // Restoring emptied the records when picking ended: the other objects' features are recorded afresh.
  hideOtherObjectsFeatures();
  updateBriefInstructions();
  showFeatureStatistics(false);
}

void HardProbeCreateFeaturesUtil::undoLastFeature() {
  if (last_.subObject) {
    removeUndone(std::exchange(last_, {}));
  } else if (!childFeatures_.empty()) {
    IPtr<IZelFeatureCollector> collector(this->collector());
    if (collector && collector->deleteLastChild()) {
      AddedFeature child = std::move(childFeatures_.back());
      childFeatures_.pop_back();
      removeUndone(child);
    }
  }
  publishNoStatistics();
}

void HardProbeCreateFeaturesUtil::removeUndone(const AddedFeature& added) {
  // A press of undo after a stop takes back a whole feature, which the operator may not have meant.
  const ZelString name = added.subObject ? added.subObject->name() : ZelString();
  removeFromTarget(added);
  showError(tr("Undo removed %1 and the touches it was made from.", name));
}

void HardProbeCreateFeaturesUtil::finishProbing(ChildFeatures children, const ZelString* why) {
  IPtr<HardProbeCreateFeaturesUtil> self(this);
  last_ = {};
  if (children == ChildFeatures::kKept && !childFeatures_.empty()) keepChildFeatures(why);
  for (const AddedFeature& child : childFeatures_) removeFromTarget(child);
  childFeatures_.clear();
  if (relay_) {
    relay_->detach(this);
    relay_.release();
  }
  if (visibility_) {
    visibility_->restore();
    visibility_.release();
  }
  if (probeGraphics_) {
    probeGraphics_->detach();
    probeGraphics_.release();
  }
  pickableTypeNames_.clear();
  notify("UserInstructions", nullptr);
  notify("ProbeStop", nullptr);
}

void HardProbeCreateFeaturesUtil::tellUnmadeTouches(const HardProbeDataReceiver& relay,
                                                    const ZelString& why) {
  if (const uint32_t touches = relay.touchesUnmade())
    showError(unmadeTouchesText(static_cast<int32_t>(touches), tr("a feature"), why));
}

void HardProbeCreateFeaturesUtil::keepChildFeatures(const ZelString* why) {
  // Only a bolt pattern announces child features, each a bolt circle measured in full.
  const auto count = static_cast<int32_t>(childFeatures_.size());
  const ZelString kept = count == 1 ? tr("The bolt circle probed is kept as a feature of its own.")
                                    : tr("The %1 bolt circles probed are kept as features of their own.",
                                         ZelString::number(count));
  showError(why && !why->isEmpty() ? tr("%1 %2", *why, kept) : kept);
  childFeatures_.clear();
  notify("NewFeature", nullptr);
}

HardProbeCreateFeaturesUtil::AddedFeature HardProbeCreateFeaturesUtil::addToTarget(
    IZelFeature* feature, IZelFeatureCollector* maker) {
  AddedFeature added;
  added.typeId = featureTypeId(feature);
  IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(target_.get());
  const int32_t numberBefore = manager ? manager->runningNumber(added.typeId) : 0;
  added.subObject = addFeatureSubObject(target_.get(), feature, maker);
  added.tookNumber = added.subObject && manager && manager->runningNumber(added.typeId) > numberBefore;
  return added;
}

void HardProbeCreateFeaturesUtil::removeFromTarget(const AddedFeature& added) {
  IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(target_.get());
  auto* subObjects = queryPart<IZelSubObjectMgr>(manager);
  if (!added.subObject || !subObjects || !GUIDUtils::isValid(added.typeId)) return;
  if (subObjects->removeSubObject(added.subObject.get()) && added.tookNumber)
    manager->giveBackRunningNumber(added.typeId);
}

void HardProbeCreateFeaturesUtil::resetView() {
  if (settingOn(kResetBoundingBoxKey) && target_)
    computeSceneBoundingBox(target_.get(), probeGraphics_.get());
}

IZelHardProbeTile* HardProbeCreateFeaturesUtil::tile() {
  if (!tile_) tile_.createInstance(kHardProbeTileFacadeClassId);
  return tile_.get();
}

void HardProbeCreateFeaturesUtil::publishStatistics(double maximumNegative, double maximumPositive,
                                                    double standardDeviation) {
  IZelHardProbeTile* facade = tile();
  if (!facade) return;
  facade->setValue("FeatureStandardDeviation", standardDeviation);
  facade->setValue("FeatureMaxNegativeDistance", maximumNegative);
  facade->setValue("FeatureMaxPositiveDistance", maximumPositive);
}

void HardProbeCreateFeaturesUtil::publishNoStatistics() {
  publishStatistics(kNoValue, kNoValue, kNoValue);
}

void HardProbeCreateFeaturesUtil::publishStatisticsOf(IZelFeature* feature) {
  if (!statistics_) statistics_ = std::make_unique<FeatureStatistics>();
  double negative = 0, positive = 0, deviation = 0;
  if (!feature || !statistics_->evaluate(feature, negative, positive, deviation)) {
    publishNoStatistics();
    return;
  }
  publishStatistics(negative, positive, deviation);
}

void HardProbeCreateFeaturesUtil::showFeatureStatistics(bool show) {
  if (IZelHardProbeTile* facade = tile()) facade->setFlag("ShowFeatureStatistics", show ? 1 : 0);
}

void HardProbeCreateFeaturesUtil::updateBriefInstructions() {
  ZelString text;
  const std::vector<ZelString>& names = pickableTypeNames_;
  if (names.size() == 1) {
    text = tr("Begin probing or select an existing %1", names[0]);
  } else if (names.size() == 2) {
    text = tr("Begin probing or select an existing %1 or %2", names[0], names[1]);
  } else if (names.size() > 2) {
    ZelString joined = names[0];
    for (size_t i = 1; i < names.size(); ++i) {
      joined += ZelString(u", ");
      joined += names[i];
    }
    text = tr("Begin probing or select an existing feature (%1)", joined);
  }
  notify("BriefInstructions", &text);
}

void HardProbeCreateFeaturesUtil::notifyInstructions(IZelUserInstructions* instructions) {
  notify("UserInstructions", instructions);
}

void HardProbeCreateFeaturesUtil::reportError(const char* text) {
  showError(tr(text));
}

void HardProbeCreateFeaturesUtil::showError(const ZelString& text) {
  SPtr<IZelErrorService> errors;
  if (errors) errors->report(text, 1, emptyZelCString());
}
