#include "commands/features/hard_probe_feature_picker.h"

#include <cstring>

#include "commands/features/center_distance_pick_strategy.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "host_api/zel_doc.h"
#include "ui/instructions/instruction_pictures.h"

namespace {

const ClassRegistration<HardProbeFeaturePicker> registration(registeredClass("HardProbeFeaturePicker"));

constexpr const char* kStopEvent = "Stop";
constexpr const char* kErrorEvent = "Error";
constexpr const char* kCancelEvent = "Cancel";

// A bit per feature in the usual object; the set grows when an object has more.
constexpr int32_t kCandidateBits = 10;

}  // namespace

HardProbeFeaturePicker::HardProbeFeaturePicker() {
  featureStrategy_.createInstance(classIdOf("FeatureTypeFeatureStrategy"));
  pickStrategy_ = new CenterDistancePickStrategy;
}

void HardProbeFeaturePicker::setFeatureStrategy(IZelHardProbeFeaturePickerFeatureStrategy* strategy) {
  if (!active_) featureStrategy_ = strategy;
}

void HardProbeFeaturePicker::setPickStrategy(IZelHardProbeFeaturePickerPickStrategy* strategy) {
  if (!active_) pickStrategy_ = strategy;
}

bool HardProbeFeaturePicker::start() {
  if (!featureStrategy_ || !pickStrategy_) return false;
  if (active_) return true;
  active_ = true;
  radiusTaken_ = false;
  const FeatureSubObjects all = featureSubObjectsOf(pickedFrom());
  BitVector bits(kCandidateBits);
  featureStrategy_->selectCandidates(all, bits);
  pickStrategy_->setCandidates(selectedOf(all, bits));
  featureStrategy_->showCandidates(all, bits, hideNonCandidates_);
  return true;
}

void HardProbeFeaturePicker::stop() {
  if (!active_) return;
  active_ = false;
  removeHighlight();
  if (IZelSubObjectMgr* manager = picked_ ? picked_->ownerManager() : nullptr) manager->clearHighlight();
  pickStrategy_->clear();
  featureStrategy_->restoreVisibility();
}

IZelDocObject* HardProbeFeaturePicker::pickedFrom() const {
  if (object_) return object_;
  SPtr<IZelDoc> document;
  return document ? document->currentObject() : nullptr;
}

bool HardProbeFeaturePicker::pickedPoint(Vector3& point) {
  if (!hasPickedPoint_) return false;
  point = pickedPoint_;
  return true;
}

void HardProbeFeaturePicker::reset() {
  radiusTaken_ = false;
  highlighted_ = nullptr;
  picked_ = nullptr;
  hasPickedPoint_ = false;
}

void HardProbeFeaturePicker::setProbeRadius(double radius) {
  if (radiusTaken_ || !pickStrategy_) return;
  pickStrategy_->inflateBoxes(radius);
  radiusTaken_ = true;
}

void HardProbeFeaturePicker::highlight(IZelSubObject* subObject) {
  removeHighlight();
  if (IZelSubObjectMgr* manager = subObject->ownerManager()) manager->highlight(subObject);
  highlighted_ = subObject;
}

void HardProbeFeaturePicker::removeHighlight() {
  if (!highlighted_) return;
  if (IZelSubObjectMgr* manager = highlighted_->ownerManager()) manager->clearHighlight();
  highlighted_ = nullptr;
}

void HardProbeFeaturePicker::onMoved(const Vector3& point, const Vector3&, const Vector3&) {
  if (!pickStrategy_) return;
  pickStrategy_->pick(point);
  IZelSubObject* candidate = pickStrategy_->picked();
  if (candidate == highlighted_) return;
  if (candidate) {
    highlight(candidate);
  } else {
    removeHighlight();
  }
  requestRedraw(false);
}

void HardProbeFeaturePicker::onPointSampled(const Vector3& point) {
  picked_ = nullptr;
  hasPickedPoint_ = false;
  // Moves reach the picker rate-limited, so the last highlight may lag behind the probe: the sampled point
  // itself decides.
  IZelSubObject* candidate = nullptr;
  if (pickStrategy_) {
    pickStrategy_->pick(point);
    candidate = pickStrategy_->picked();
  }
  if (candidate) {
    removeHighlight();
    picked_ = candidate;
    pickedPoint_ = point;
    hasPickedPoint_ = true;
    notify(kStopEvent, nullptr);
  }
  requestRedraw(false);
}

void HardProbeFeaturePicker::onPointStop(const Vector3&) {
  removeHighlight();
  notify(kStopEvent, nullptr);
}

void HardProbeFeaturePicker::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  const char* event = name.data();
  if (!event) return;
  if (std::strcmp(event, kErrorEvent) == 0) {
    notify(kErrorEvent, nullptr);
  } else if (std::strcmp(event, kCancelEvent) == 0) {
    removeHighlight();
    notify(kStopEvent, nullptr);
  }
}

void HardProbeFeaturePicker::userInstructions(IPtr<IZelUserInstructions>& out, bool) {
  out = pictures_.instructions(InstructionPictureSet::kFeaturePicker, false);
}

void HardProbeFeaturePicker::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelHardProbeFeaturePicker*>(this))
      .offer<IZelHardProbeFeaturePicker>(this)
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this)
      .offer<IZelUserInstructionSource>(this);
  querySubjectChain(chain);
  chain.end();
}
