#include "features/collectors/parallel_planes_collector.h"

#include "features/creators/creator_parameter_keys.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<ParallelPlanesCollector> registration(registeredClass("ParallelPlanesCollector"));

}  // namespace

ParallelPlanesCollector::ParallelPlanesCollector() {
  buildChildren();
}

void ParallelPlanesCollector::buildChildren() {
  addComponent<PrimaryComponentCollector>("Primary Component");
  addComponent<SecondaryComponentCollector>("Secondary Component");
}

template <class Component>
void ParallelPlanesCollector::addComponent(const char* typeName) {
  IPtr<Component> component(new Component);
  component->setComponentChild(true);
  component->setProbeRadius(probeRadius());
  component->setTypeName(tr(typeName));
  addChildCollector(IPtr<IZelFeatureCollector>(component.get()), true);
}

bool ParallelPlanesCollector::fillCreatorParameters() {
  IZelFeature* components[] = {queryPart<IZelFeature>(workPlane()),
                               queryPart<IZelFeature>(secondaryPoint_.get())};
  const TrailingParameter children[] = {{kChildFeaturesKey, childFeaturesParameter(components)}};
  return fillProbingParameters(kFillRadius, nullptr, children);
}

bool ParallelPlanesCollector::acceptFeature(IZelFeature* feature) {
  if (!workPlane()) {
    IZelPlane* plane = featureOfKind<IZelPlane>(feature);
    if (!plane) return false;
    takeWorkPlane(plane);
    return true;
  }
  if (secondaryPoint_) return false;
  IZelPoint* point = featureOfKind<IZelPoint>(feature);
  if (!point) return false;
  secondaryPoint_ = point;
  advanceChild();
  return true;
}

void ParallelPlanesCollector::resetChildren() {
  forgetWorkPlane();
  secondaryPoint_.release();
  removeLastChild();
  removeLastChild();
  buildChildren();
}
