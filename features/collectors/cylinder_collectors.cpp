#include "features/collectors/cylinder_collectors.h"

#include "features/creators/creator_parameter_keys.h"
#include "features/instruction_texts.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<CylinderCollector> cylinder(registeredClass("CylinderCollector"));
const ClassRegistration<ConstrainedCylinderCollector> constrainedCylinder(
    registeredClass("ConstrainedCylinderCollector"));
const ClassRegistration<TopBottomPlaneCylinderCollector> topBottomPlaneCylinder(
    registeredClass("TopBottomPlaneCylinderCollector"));

}  // namespace

ZelString TopBottomPlaneCylinderCollector::ChildPlaneCollector::briefInstructions() {
  return probePointsOnText(planeWord_);
}

TopBottomPlaneCylinderCollector::TopBottomPlaneCylinderCollector() {
  buildChildren();
}

void TopBottomPlaneCylinderCollector::buildChildren() {
  addPlaneChild("Bottom %1", "bottom plane");
  addPlaneChild("Top %1", "top plane");
}

void TopBottomPlaneCylinderCollector::addPlaneChild(const char* typeNameKey, const char* planeWordKey) {
  IPtr<ChildPlaneCollector> child(new ChildPlaneCollector);
  child->setTypeName(tr(typeNameKey, child->typeName()));
  child->setPlaneWord(tr(planeWordKey));
  child->setProbeRadius(probeRadius());
  addChildCollector(IPtr<IZelFeatureCollector>(child.get()), true);
}

bool TopBottomPlaneCylinderCollector::fillCreatorParameters() {
  const TrailingParameter planes[] = {
      {kBottomPlaneKey, featureParameter(queryPart<IZelFeature>(bottomPlane_.get()))},
      {kTopPlaneKey, featureParameter(queryPart<IZelFeature>(topPlane_.get()))}};
  return fillProbingParameters(kFillWithoutWorkPlane, nullptr, planes);
}

bool TopBottomPlaneCylinderCollector::acceptFeature(IZelFeature* feature) {
  if (topPlane_) return false;
  IZelPlane* plane = featureOfKind<IZelPlane>(feature);
  if (!plane) return false;
  (bottomPlane_ ? topPlane_ : bottomPlane_) = plane;
  advanceChild();
  return true;
}

void TopBottomPlaneCylinderCollector::resetChildren() {
  bottomPlane_.release();
  topPlane_.release();
  removeLastChild();
  removeLastChild();
  buildChildren();
}
