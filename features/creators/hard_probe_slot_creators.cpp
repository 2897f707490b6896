#include "features/creators/hard_probe_slot_creators.h"

#include <string>

#include "features/compensated_points.h"
#include "framework/object/host_lookup.h"
#include "framework/registrations/class_registration.h"
#include "host_api/registry_paths.h"

namespace {

const ClassRegistration<HardProbeOvalSlotCreator> ovalSlot(registeredClass("HardProbeOvalSlotCreator"));
const ClassRegistration<HardProbeRectangularSlotCreator> rectangularSlot(
    registeredClass("HardProbeRectangularSlotCreator"));
const ClassRegistration<HardProbeRoundedSlotCreator> roundedSlot(
    registeredClass("HardProbeRoundedSlotCreator"));

// The four children of a rectangular or rounded slot.
constexpr int kOutlineChildren = 4;

using Children = std::vector<IPtr<IZelFeature>>;

PointList childrensPoints(const Children& children) {
  PointList points;
  for (const IPtr<IZelFeature>& child : children) {
    PointList own = getCompensatedPoints(child.get()).value_or(PointList{});
    points.insert(points.end(), own.begin(), own.end());
  }
  return points;
}

// The slot the host's slot fitter of slotType makes from the children, given as "<{childName}1>" ..
// "<{childName}4>"; none when there is no such fitter or it makes none.
IPtr<IZelFeature> fitSlot(const char* slotType, const char* childName, const Children& children) {
  RegPtr<IZelFeatureFitter> fitter{ZelCString((std::string(kPalperaFitterPath) + slotType).c_str())};
  if (!fitter) return {};
  for (size_t k = 0; k < children.size(); ++k) {
    const std::string name = "<" + std::string(childName) + std::to_string(k + 1) + ">";
    IPtr<IZelParameter> form;
    form.takeOwnership(children[k]->parameterForm());
    fitter->setParameter(ZelString(name.c_str()), form.get());
  }
  IPtr<IZelFeature> fitted;
  fitted.takeOwnership(fitter->fit());
  return fitted;
}

// The oval slot about the two end circles, or none when the host makes none or the circles give it no axis.
IPtr<IZelFeature> ovalSlotOf(IZelArc& first, IZelArc& second, const Vector3& normal) {
  const Vector3 c1 = first.center(), c2 = second.center();
  const double r1 = first.radius(), r2 = second.radius();
  const Vector3 axis = (c2 - c1).normalized();
  IPtr<IZelOvalSlot> slot;
  slot.getService();
  if (!slot) return {};
  slot->setCenter((c1 + c2) / 2.0);
  slot->setWidth(r1 + r2);
  slot->setLength((c1 - c2).length() + r1 + r2);
  if (!slot->setAxis(axis) || !slot->setSecondDirection(Vector3::cross(normal, axis))) return {};
  return IPtr<IZelFeature>(queryPart<IZelFeature>(slot.get()));
}

}  // namespace

IPtr<IZelFeature> HardProbeOvalSlotCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kPlane);
  std::optional<Children> children = childFeatures<IZelArc>(2);
  if (!probing || !children) return {};
  IPtr<IZelFeature> slot =
      ovalSlotOf(*queryPart<IZelArc>((*children)[0].get()), *queryPart<IZelArc>((*children)[1].get()),
                 probing->workPlane->normal());
  return slot ? finish(slot, childrensPoints(*children)) : IPtr<IZelFeature>();
}

IPtr<IZelFeature> HardProbeRectangularSlotCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kPlane);
  std::optional<Children> children = childFeatures<IZelLine>(kOutlineChildren);
  if (!probing || !children) return {};
  IPtr<IZelFeature> slot = fitSlot(IZelRectangularSlot::interfaceName, "Line", *children);
  return slot ? finish(slot, childrensPoints(*children)) : IPtr<IZelFeature>();
}

IPtr<IZelFeature> HardProbeRoundedSlotCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kPlane);
  std::optional<Children> children = childFeatures<IZelArc>(kOutlineChildren);
  if (!probing || !children) return {};
  IPtr<IZelFeature> slot = fitSlot(IZelRoundedSlot::interfaceName, "Circle", *children);
  return slot ? finish(slot, childrensPoints(*children)) : IPtr<IZelFeature>();
}
