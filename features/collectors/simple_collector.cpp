#include "features/collectors/simple_collector.h"

#include "features/instruction_texts.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"

SimpleCollector::SimpleCollector(const SimpleCollectorSpec& spec) : spec_(spec) {
  setCreator(spec.creator);
  setFeatureType(spec.featureType);
  setCanFinish(spec.canFinish);
  setShowFeatureStatistics(spec.showFeatureStatistics);
  if (!spec.workPlane) return;
  IPtr<IZelFeatureCollector> planeChild;
  planeChild.createInstance(classIdOf("PlaneCollector"));
  addChildCollector(planeChild, true);
}

bool SimpleCollector::fillCreatorParameters() {
  return fillProbingParameters(spec_.fillKeys, workPlane_.get());
}

bool SimpleCollector::acceptFeature(IZelFeature* feature) {
  if (!spec_.workPlane || workPlane_) return false;
  IZelPlane* plane = featureOfKind<IZelPlane>(feature);
  if (!plane) return false;
  takeWorkPlane(plane);
  return true;
}

void SimpleCollector::takeWorkPlane(IZelPlane* plane) {
  holdWorkPlane(plane);
  advanceChild();
}

IPtr<IZelUserInstructions> SimpleCollector::userInstructions(bool withThirdPicture) {
  if (!spec_.pictures) return {};
  return instructionsWithPictures(*spec_.pictures, withThirdPicture);
}

ZelString SimpleCollector::briefInstructions() {
  return spec_.briefWord ? probePointsOnText(tr(spec_.briefWord)) : probePointsText();
}

ZelString SimpleCollector::appendStopInstruction() {
  return spec_.offsetFinish ? offsetFinishText() : finishText();
}
