#include "features/collectors/circle_collectors.h"

#include "features/creators/creator_parameter_keys.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<CircleCollector> circle(registeredClass("CircleCollector"));
const ClassRegistration<PointCircleCollector> pointCircle(registeredClass("PointCircleCollector"));
const ClassRegistration<BoltPatternCircleCollector> boltPattern(
    registeredClass("BoltPatternCircleCollector"));

}  // namespace

bool CircleCollector::fillCreatorParameters() {
  if (!isComponentChild()) return SimpleCollector::fillCreatorParameters();
  IPtr<IZelIntValue> hole;
  hole.getService();
  if (hole) hole->setValue(1);
  const TrailingParameter marked[] = {{kHoleKey, IPtr<IZelParameter>(hole.get())}};
  return fillWith(marked);
}

ZelString PointCircleCollector::briefInstructions() {
  return tr("Place the probe in the hole and probe a point or finish");
}

void PointCircleCollector::onPointSampled(const Vector3& point) {
  ConcreteCollector::onPointSampled(point);
  // While the work plane is still being probed, its points are only that plane's.
  if (workPlane()) onPointStop(point);
}

ZelString BoltPatternCircleCollector::BoltCollector::briefInstructions() {
  return tr("Probe points on a bolt or circle");
}

BoltPatternCircleCollector::BoltPatternCircleCollector() {
  newestBoltCollector_ = makeBoltCollector(true);
}

IPtr<IZelFeatureCollector> BoltPatternCircleCollector::makeBoltCollector(bool restart) {
  IPtr<BoltCollector> bolt(new BoltCollector);
  bolt->setTypeName(tr("Bolt"));
  bolt->setProbeRadius(probeRadius());
  if (IZelFeature* plane = workPlaneFeature()) bolt->acceptFeature(plane);
  IPtr<IZelFeatureCollector> child(bolt.get());
  addChildCollector(child, restart);
  return child;
}

bool BoltPatternCircleCollector::fillCreatorParameters() {
  std::vector<IZelFeature*> circles;
  for (const IPtr<IZelArc>& circle : boltCircles_) circles.push_back(queryPart<IZelFeature>(circle.get()));
  const TrailingParameter children[] = {{kChildFeaturesKey, childFeaturesParameter(circles)}};
  return fillProbingParameters(kFillWorkPlane, workPlane(), children);
}

ZelString BoltPatternCircleCollector::refusal() {
  auto* bolt = queryPart<FeatureCollectorBase>(activeChild().get());
  if (!workPlane() || !bolt || !bolt->sampledPoints().empty()) return ConcreteCollector::refusal();
  return tr("%1 was not made: %2.", featureName(), ownRefusalReason());
}

bool BoltPatternCircleCollector::acceptChildCollector(IZelFeatureCollector* child) {
  if (!child) return false;
  IPtr<IZelFeature> feature = child->takeFeature();
  return feature && acceptBoltFeature(feature.get(), child);
}

bool BoltPatternCircleCollector::acceptFeature(IZelFeature* feature) {
  return acceptBoltFeature(feature, nullptr);
}

bool BoltPatternCircleCollector::acceptBoltFeature(IZelFeature* feature, IZelFeatureCollector* fromChild) {
  if (!workPlane()) {
    IZelPlane* plane = featureOfKind<IZelPlane>(feature);
    if (!plane) return false;
    holdWorkPlane(plane);
    newestBoltCollector_->acceptFeature(workPlaneFeature());
  } else {
    IZelArc* circle = featureOfKind<IZelArc>(feature);
    if (!circle) return false;
    boltCircles_.emplace_back(circle);
    if (fromChild) announce(circle, *fromChild);
  }
  newestBoltCollector_ = makeBoltCollector(false);
  advanceChild();
  return true;
}

void BoltPatternCircleCollector::announce(IZelArc* circle, IZelFeatureCollector& fromChild) {
  // Whoever adds the circle to the document names it through its collector: as one of the pattern's.
  const ZelString boltTypeName = fromChild.typeName();
  fromChild.setTypeName(typeName());
  IPtr<ChildFeatureInfo> info(new ChildFeatureInfo(queryPart<IZelFeature>(circle), &fromChild));
  notify(kNewChildFeatureEvent, info.get());
  fromChild.setTypeName(boltTypeName);
}

bool BoltPatternCircleCollector::deleteLastChild() {
  if (boltCircles_.empty()) return false;
  boltCircles_.pop_back();
  newestBoltCollector_ = makeBoltCollector(true);
  // Every bolt collector that made a circle was reset then, so the first one is ready for the next.
  advanceChild();
  return true;
}

void BoltPatternCircleCollector::resetChildren() {
  // Every bolt collector goes, however many undone circles have left behind; the plane collector stays.
  while (children().size() > 1) removeLastChild();
  boltCircles_.clear();
  if (!workPlane()) {
    // Cut short before its plane: as constructed, the plane comes first.
    newestBoltCollector_ = makeBoltCollector(true);
    return;
  }
  makeBoltCollector(true);
  newestBoltCollector_ = makeBoltCollector(true);
  advanceChild();
}
