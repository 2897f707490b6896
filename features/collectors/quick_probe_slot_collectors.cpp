#include "features/collectors/quick_probe_slot_collectors.h"

#include <limits>
#include <utility>

#include "features/instruction_texts.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"

namespace {

template <class Collector>
IPtr<IZelFeatureCollector> constructed() {
  return IPtr<IZelFeatureCollector>(new Collector);
}

// The slot's width direction: the part of its second direction square to its axis.
Vector3 widthDirection(IZelSlotOutline& slot) {
  return Vector3::perpendicularPart(slot.secondDirection(), slot.axis()).normalized();
}

}  // namespace

constinit const QuickProbeSlotTraits QuickProbeOvalSlotCollector::kTraits{
    2, true, constructed<CircleCollector>, constructed<OvalSlotCollector>};
constinit const QuickProbeSlotTraits QuickProbeRectangularSlotCollector::kTraits{
    4, false, constructed<LineCollector>, constructed<RectangularSlotCollector>};
constinit const QuickProbeSlotTraits QuickProbeRoundedSlotCollector::kTraits{
    4, false, constructed<CircleCollector>, constructed<RoundedSlotCollector>};

QuickProbeSlotCollector::QuickProbeSlotCollector(const QuickProbeSlotTraits& traits) : traits_(traits) {}

void QuickProbeSlotCollector::seed(IZelFeature* nominal, std::vector<Vector3> freeSidePoints) {
  nominal_ = nominal;
  freeSidePoints_ = std::move(freeSidePoints);
}

bool QuickProbeSlotCollector::acceptFeature(IZelFeature* feature) {
  if (workPlane_) return false;
  IZelPlane* plane = featureOfKind<IZelPlane>(feature);
  if (!plane) return false;
  workPlane_ = plane;
  components_.clear();
  touchedComponents_.clear();
  for (int32_t i = 0; i < traits_.components; ++i) {
    IPtr<IZelFeatureCollector> component = traits_.makeComponentCollector();
    component->refreshInfo();
    component->acceptFeature(feature);
    components_.push_back(component);
  }
  slot_ = traits_.makeSlotCollector();
  slot_->refreshInfo();
  slot_->acceptFeature(feature);
  return true;
}

double QuickProbeSlotCollector::squaredDistance(size_t component, const Vector3& point) {
  return component < freeSidePoints_.size() ? (point - freeSidePoints_[component]).squaredLength()
                                            : std::numeric_limits<double>::max();
}

size_t QuickProbeSlotCollector::nearestComponent(const Vector3& point) {
  size_t nearest = 0;
  double least = std::numeric_limits<double>::max();
  for (size_t i = 0; i < components_.size(); ++i) {
    const double distance = squaredDistance(i, point);
    if (distance < least || (traits_.tieToLater && distance == least)) {
      least = distance;
      nearest = i;
    }
  }
  return nearest;
}

void QuickProbeSlotCollector::onPointSampled(const Vector3& point) {
  if (components_.empty()) return;
  const size_t nearest = nearestComponent(point);
  auto* receiver = queryPart<IZelHardProbeDataReceiver>(components_[nearest].get());
  if (!receiver) return;
  receiver->onPointSampled(point);
  touchedComponents_.push_back(nearest);
}

bool QuickProbeSlotCollector::deleteLastPoint() {
  if (touchedComponents_.empty()) return false;
  const size_t last = touchedComponents_.back();
  touchedComponents_.pop_back();
  return components_[last]->deleteLastPoint();
}

bool QuickProbeSlotCollector::fillCreatorParameters() {
  if (components_.empty() || !slot_ || freeSidePoints_.size() != components_.size()) return false;
  for (size_t i = 0; i < components_.size(); ++i) {
    auto* receiver = queryPart<IZelHardProbeDataReceiver>(components_[i].get());
    if (!receiver) return false;
    receiver->setProbeRadius(probeRadius());
    receiver->onPointStop(freeSidePoints_[i]);
    if (!components_[i]->fillCreatorParameters()) return false;
  }
  // A slot collector still holding the components of an earlier fill would refuse these.
  slot_->reset();
  for (const IPtr<IZelFeatureCollector>& component : components_) {
    IPtr<IZelFeature> feature = component->takeFeature();
    slot_->acceptFeature(feature.get());
  }
  return slot_->fillCreatorParameters();
}

IPtr<IZelFeature> QuickProbeSlotCollector::takeFeature() {
  return slot_ ? slot_->takeFeature() : IPtr<IZelFeature>();
}

void QuickProbeSlotCollector::reset() {
  touchedComponents_.clear();
  for (const IPtr<IZelFeatureCollector>& component : components_) component->reset();
  if (slot_) slot_->reset();
}

IPtr<IZelUserInstructions> QuickProbeSlotCollector::userInstructions(bool) {
  IPtr<IZelUserInstructions> made;
  made.createInstance(classIdOf("UserInstructions"));
  return made;
}

ZelString QuickProbeSlotCollector::briefInstructions() {
  return probePointsOnText(tr("slot"));
}

ZelString QuickProbeSlotCollector::appendStopInstruction() {
  return offsetFinishText();
}

bool QuickProbeOvalSlotCollector::seedFromNominal(IZelFeature* feature) {
  IZelOvalSlot* slot = featureOfKind<IZelOvalSlot>(feature);
  if (!slot) return false;
  const Vector3 centre = slot->center();
  const Vector3 toEnd = slot->axis() * ((slot->length() - slot->width()) / 2.0);
  seed(feature, {centre + toEnd, centre - toEnd});
  return true;
}

bool QuickProbeRectangularSlotCollector::seedFromNominal(IZelFeature* feature) {
  IZelRectangularSlot* slot = featureOfKind<IZelRectangularSlot>(feature);
  if (!slot) return false;
  const Vector3 centre = slot->center();
  const Vector3 alongHalf = slot->axis() * (slot->length() / 2.0);
  const Vector3 acrossHalf = widthDirection(*slot) * (slot->width() / 2.0);
  const Vector3 corners[] = {centre + alongHalf + acrossHalf, centre + alongHalf - acrossHalf,
                             centre - alongHalf - acrossHalf, centre - alongHalf + acrossHalf};
  std::vector<IPtr<IZelLine>> edges;
  for (size_t i = 0; i < 4; ++i) {
    IPtr<IZelLine> edge;
    edge.getService();
    if (!edge) return false;
    edge->setLine(corners[i], corners[(i + 1) % 4], 0, 0);
    edges.push_back(edge);
  }
  nominalEdges_ = std::move(edges);
  // Every side is compensated away from the slot's centre, which lies on the free side of all four.
  seed(feature, {centre, centre, centre, centre});
  return true;
}

double QuickProbeRectangularSlotCollector::squaredDistance(size_t component, const Vector3& point) {
  if (component >= nominalEdges_.size()) return std::numeric_limits<double>::max();
  return (point - nominalEdges_[component]->closestPoint(point)).squaredLength();
}

bool QuickProbeRoundedSlotCollector::seedFromNominal(IZelFeature* feature) {
  IZelRoundedSlot* slot = featureOfKind<IZelRoundedSlot>(feature);
  if (!slot) return false;
  const Vector3 centre = slot->center();
  const double diameter = slot->cornerDiameter();
  const Vector3 along = slot->axis() * ((slot->length() - diameter) / 2.0);
  const Vector3 across = widthDirection(*slot) * ((slot->width() - diameter) / 2.0);
  seed(feature,
       {centre + along + across, centre - along + across, centre - along - across, centre + along - across});
  return true;
}
