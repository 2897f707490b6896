#include "commands/features/hard_probe_data_receiver.h"

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/subject/event_name.h"

namespace {

// The relay's own events.
constexpr const char* kStopAcquisition = "StopAcquisition";
constexpr const char* kPointsChanged = "PointsChanged";
constexpr const char* kStop = "Stop";
constexpr const char* kReset = "Reset";
constexpr const char* kNewFeature = "NewFeature";
constexpr const char* kFeaturePickerFinished = "FeaturePickerFinished";
constexpr const char* kPickedFeatureSubObject = "PickedFeatureSubObject";
constexpr const char* kUserInstructionsChanged = "UserInstructionsChanged";
constexpr const char* kFeatureRefused = "FeatureRefused";
// What the collector notifies beside those.
constexpr const char* kError = "Error";
constexpr const char* kCancel = "Cancel";
constexpr const char* kDeleteLastFeature = "DeleteLastFeature";
constexpr const char* kDeletedPoint = "DeletedPoint";
constexpr const char* kNewChildFeature = "NewChildFeature";
constexpr const char* kAddedChildFeature = "AddedChildFeature";

}  // namespace

using Relay = HardProbeCreateFeaturesUtil::HardProbeDataReceiver;

Relay::HardProbeDataReceiver(IZelFeatureCollector* collector, IZelHardProbeFeaturePicker* picker) {
  attachCollector(collector);
  attachPicker(picker);
}

Relay::~HardProbeDataReceiver() {
  detachPicker();
  detachCollector();
}

void Relay::attachCollector(IZelFeatureCollector* collector) {
  collector_ = collector;
  collectorReceiver_ = queryPart<IZelHardProbeDataReceiver>(collector);
  if (auto* subject = queryPart<IZelSubject>(collector)) subject->attach(this);
}

void Relay::detachCollector() {
  if (auto* subject = queryPart<IZelSubject>(collector_.get())) subject->detach(this);
  collectorReceiver_ = nullptr;
  collector_.release();
}

void Relay::attachPicker(IZelHardProbeFeaturePicker* picker) {
  if (!picker) return;
  if (picker != savedPicker_.get()) savedPicker_ = picker;
  picker_ = picker;
  pickerReceiver_ = queryPart<IZelHardProbeDataReceiver>(picker);
  if (auto* subject = queryPart<IZelSubject>(picker)) subject->attach(this);
  if (!picker->start()) detachPicker();
}

void Relay::detachPicker() {
  if (!picker_) return;
  // The picker may be the one calling: it stays alive until this call returns.
  IPtr<IZelHardProbeFeaturePicker> picker = picker_;
  picker->stop();
  picker->reset();
  if (auto* subject = queryPart<IZelSubject>(picker.get())) subject->detach(this);
  pickerReceiver_ = nullptr;
  picker_.release();
}

void Relay::stopAll() {
  detachPicker();
  detachCollector();
  notify(kStopAcquisition, nullptr);
}

void Relay::notifyInstructionsOf(IZelUnknown* source) {
  IPtr<IZelUserInstructions> instructions;
  if (auto* instructionSource = queryPart<IZelUserInstructionSource>(source))
    instructionSource->userInstructions(instructions, true);
  notify(kUserInstructionsChanged, instructions.get());
}

void Relay::setProbeRadius(double radius) {
  IPtr<Relay> self(this);
  probeRadius_ = radius;
  IPtr<IZelHardProbeFeaturePicker> picker = picker_;
  if (pickerReceiver_) pickerReceiver_->setProbeRadius(radius);
  IPtr<IZelFeatureCollector> collector = collector_;
  if (collectorReceiver_) collectorReceiver_->setProbeRadius(radius);
}

void Relay::onMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  IPtr<Relay> self(this);
  IPtr<IZelHardProbeFeaturePicker> picker = picker_;
  if (pickerReceiver_) pickerReceiver_->onMoved(point, to, up);
  IPtr<IZelFeatureCollector> collector = collector_;
  if (collectorReceiver_) collectorReceiver_->onMoved(point, to, up);
}

void Relay::onPointSampled(const Vector3& point) {
  IPtr<Relay> self(this);
  if (IPtr<IZelHardProbeFeaturePicker> picker = picker_) {
    if (pickerReceiver_) pickerReceiver_->onPointSampled(point);
    if (picker_.get() != picker.get()) return;  // it picked, and picking ended
    if (picker->pickedSubObject()) {
      notifyInstructionsOf(picker.get());
      return;
    }
  }
  IPtr<IZelFeatureCollector> collector = collector_;
  if (!collector) return;
  // Picking ends when the operator starts probing; the picked-nothing point is the feature's first.
  if (picker_) {
    detachPicker();
    notify(kFeaturePickerFinished, nullptr);
  }
  if (collectorReceiver_) collectorReceiver_->onPointSampled(point);
  ++pointsPending_;
  ++touchesUnmade_;
  notify(kPointsChanged, nullptr);
  notifyInstructionsOf(collector_.get());
}

void Relay::onPointStop(const Vector3& point) {
  IPtr<Relay> self(this);
  if (IPtr<IZelHardProbeFeaturePicker> picker = picker_) {
    if (pickerReceiver_) pickerReceiver_->onPointStop(point);
    return;
  }
  IPtr<IZelFeatureCollector> collector = collector_;
  restartPending_ = collector && pointsPending_ == 1 && collector->canFinish() && initializer_ &&
                    GUIDUtils::isValid(initializer_->collectorClassId());
  const bool restartRequested = restartPending_;
  if (collectorReceiver_) collectorReceiver_->onPointStop(point);
  if (restartRequested && !restartPending_ && collector_) {
    collector_->publishTileInfo();
    notify(kReset, nullptr);
  }
}

void Relay::onCustomEvent(const ZelCString& name, IZelUnknown* payload) {
  IPtr<Relay> self(this);
  if (IPtr<IZelHardProbeFeaturePicker> picker = picker_) {
    if (pickerReceiver_) pickerReceiver_->onCustomEvent(name, payload);
    return;
  }
  IPtr<IZelFeatureCollector> collector = collector_;
  if (collectorReceiver_) collectorReceiver_->onCustomEvent(name, payload);
}

void Relay::onNotify(const char* event, IZelSubject* subject, void* data) {
  IPtr<Relay> self(this);
  if (subject && subject == queryPart<IZelSubject>(collector_.get())) {
    onCollectorEvent(event, data);
  } else if (subject && subject == queryPart<IZelSubject>(picker_.get())) {
    onPickerEvent(event);
  }
}

void Relay::onCollectorEvent(const char* event, void* data) {
  IPtr<IZelFeatureCollector> collector = collector_;
  if (isEvent(event, kStop)) {
    onCollectorStop();
  } else if (isEvent(event, kNewChildFeature) || isEvent(event, kAddedChildFeature)) {
    pointsPending_ = 0;
    // A child feature announced goes into the document with its touches; one accepted stays inside.
    if (isEvent(event, kNewChildFeature)) touchesUnmade_ = 0;
    notify(event, data);
  } else if (isEvent(event, kUserInstructionsChanged)) {
    notifyInstructionsOf(collector.get());
  } else if (isEvent(event, kError) || isEvent(event, kCancel)) {
    collector->reset();
    stopAll();
    notify(event, data);
  } else if (isEvent(event, kDeleteLastFeature)) {
    notify(event, data);
    if (collector_) collector_->publishTileInfo();
  } else if (isEvent(event, kDeletedPoint)) {
    if (pointsPending_ > 0) --pointsPending_;
    if (touchesUnmade_ > 0) --touchesUnmade_;
    notify(kPointsChanged, nullptr);
  }
}

void Relay::onCollectorStop() {
  IPtr<IZelFeatureCollector> collector = collector_;
  if (collector->fillCreatorParameters()) {
    pointsPending_ = 0;
    touchesUnmade_ = 0;
    collector->publishTileInfo();
    notify(kNewFeature, nullptr);
    // The listener may have ended the run meanwhile; the collector then has no next feature.
    if (collector_.get() != collector.get()) return;
    collector->reset();
    collector->refreshInfo();
  } else if (restartPending_) {
    restart();
  } else if (pointsPending_ > 0) {
    // The operator may add points and stop again; only a stop with no point taken ends the run.
    ZelString refusal = collector->refusal();
    notify(kFeatureRefused, &refusal);
  } else {
    // Why the feature was not made, should the stop leave something unfinished: a composite's children.
    ZelString why = collector->refusal();
    stopAll();
    notify(kStop, &why);
  }
}

void Relay::restart() {
  collector_->reset();
  detachCollector();
  IPtr<IZelFeatureCollector> fresh;
  fresh.createInstance(initializer_->collectorClassId());
  if (!fresh) {
    stopAll();
    notify(kStop, nullptr);
    return;
  }
  pointsPending_ = 0;
  touchesUnmade_ = 0;
  initializer_->initialise(fresh.get());
  attachCollector(fresh.get());
  if (collectorReceiver_) collectorReceiver_->setProbeRadius(probeRadius_);
  attachPicker(savedPicker_.get());
  if (pickerReceiver_) pickerReceiver_->setProbeRadius(probeRadius_);
  restartPending_ = false;
}

void Relay::onPickerEvent(const char* event) {
  IPtr<IZelHardProbeFeaturePicker> picker = picker_;
  IPtr<IZelFeatureCollector> collector = collector_;
  IZelSubObject* picked = picker->pickedSubObject();
  auto* pickedFeature = queryPart<IZelFeatureSubObject>(picked);
  bool accepted = isEvent(event, kStop) && pickedFeature && pickedFeature->feature() && collector &&
                  collector->acceptFeature(pickedFeature->feature());
  if (!accepted && picked) {
    IPtr<IZelHardProbeCreateFeaturesUtil::SubObjectData> offered(
        new IZelHardProbeCreateFeaturesUtil::SubObjectData(picked));
    notify(kPickedFeatureSubObject, offered.get());
    accepted = offered->taken;
  }
  notify(kFeaturePickerFinished, nullptr);
  detachPicker();
  if (accepted && collector_) {
    notifyInstructionsOf(collector_.get());
    collector_->publishTileInfo();
  } else {
    stopAll();
    notify(kStop, nullptr);
  }
}

void Relay::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelListener*>(this))
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this)
      .offer<IZelListener>(this);
  querySubjectChain(chain);
  chain.end();
}
