#include "features/collectors/slot_collectors.h"

#include <algorithm>

#include "features/creators/creator_parameter_keys.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

template <class Kind>
IZelFeature* componentOfKind(IZelFeature* feature) {
  return queryPart<IZelFeature>(featureOfKind<Kind>(feature));
}

IPtr<IZelFeatureCollector> circleByClassId() {
  IPtr<IZelFeatureCollector> child;
  child.createInstance(classIdOf("CircleCollector"));
  return child;
}

template <class Child>
IPtr<IZelFeatureCollector> constructed() {
  return IPtr<IZelFeatureCollector>(new Child);
}

const ClassRegistration<OvalSlotCollector> ovalSlot(registeredClass("OvalSlotCollector"));
const ClassRegistration<RectangularSlotCollector> rectangularSlot(
    registeredClass("RectangularSlotCollector"));
const ClassRegistration<RoundedSlotCollector> roundedSlot(registeredClass("RoundedSlotCollector"));

}  // namespace

constinit const SlotCollectorTraits OvalSlotCollector::kTraits{
    {"HardProbeOvalSlotCreator", "IZelOvalSlot", 0, true, false, false, "slot", true},
    2,
    componentOfKind<IZelArc>,
    circleByClassId};
constinit const SlotCollectorTraits RectangularSlotCollector::kTraits{
    {"HardProbeRectangularSlotCreator", "IZelRectangularSlot", 0, true, false, false, "rectangle", true},
    4,
    componentOfKind<IZelLine>,
    constructed<RectangularSlotLineCollector>};
constinit const SlotCollectorTraits RoundedSlotCollector::kTraits{
    {"HardProbeRoundedSlotCreator", "IZelRoundedSlot", 0, true, false, false, "rounded slot", true},
    4,
    componentOfKind<IZelArc>,
    constructed<RoundedSlotCircleCollector>};
SlotCollector::SlotCollector(const SlotCollectorTraits& traits)
    : SimpleCollector(traits.collector),
      slotTraits_(traits),
      components_(static_cast<size_t>(traits.components)) {
  buildComponentChildren();
}

void SlotCollector::buildComponentChildren() {
  for (int32_t number = 1; number <= slotTraits_.components; ++number) {
    IPtr<IZelFeatureCollector> child = slotTraits_.makeComponentChild();
    if (!child) continue;
    child->setComponentChild(true);
    if (auto* receiver = queryPart<IZelHardProbeDataReceiver>(child.get()))
      receiver->setProbeRadius(probeRadius());
    if (IZelFeature* plane = workPlaneFeature()) child->acceptFeature(plane);
    child->setTypeName(tr("%1 %2", child->typeName(), ZelString::number(number)));
    addChildCollector(child, true);
  }
}

bool SlotCollector::fillCreatorParameters() {
  std::vector<IZelFeature*> held;
  for (const IPtr<IZelFeature>& component : components_) held.push_back(component.get());
  const TrailingParameter children[] = {{kChildFeaturesKey, childFeaturesParameter(held)}};
  return fillProbingParameters(kFillWorkPlane, workPlane(), children);
}

bool SlotCollector::acceptFeature(IZelFeature* feature) {
  if (!workPlane()) {
    IZelPlane* plane = featureOfKind<IZelPlane>(feature);
    if (!plane) return false;
    holdWorkPlane(plane);
    for (const IPtr<IZelFeatureCollector>& child : children().subspan(1))
      child->acceptFeature(workPlaneFeature());
  } else {
    auto empty = std::ranges::find(components_, nullptr, &IPtr<IZelFeature>::get);
    IZelFeature* component = slotTraits_.componentOf(feature);
    if (empty == components_.end() || !component) return false;
    *empty = component;
  }
  advanceChild();
  return true;
}

void SlotCollector::resetChildren() {
  for (IPtr<IZelFeature>& component : components_) component.release();
  while (children().size() > 1) removeLastChild();
  buildComponentChildren();
  advanceChild();
}

IPtr<IZelUserInstructions> OvalSlotCollector::userInstructions(bool) {
  IPtr<IZelUserInstructions> made;
  made.createInstance(classIdOf("UserInstructions"));
  return made;
}

IPtr<IZelUserInstructions> RectangularSlotLineCollector::userInstructions(bool) {
  return pictures().instructions(InstructionPictureSet::kRectangularSlotLine, true);
}

IPtr<IZelUserInstructions> RoundedSlotCircleCollector::userInstructions(bool) {
  return pictures().instructions(InstructionPictureSet::kRoundedSlotCorner, true);
}
