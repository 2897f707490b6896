#include "features/collectors/simple_collector.h"

#include "features/instruction_texts.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"

SimpleCollector::SimpleCollector(const SimpleCollectorTraits& traits) : traits_(traits) {
  setCreator(traits.creator);
  setFeatureType(traits.featureType);
  setCanFinish(traits.canFinish);
  setShowFeatureStatistics(traits.showFeatureStatistics);
  if (!traits.workPlane) return;
  IPtr<IZelFeatureCollector> planeChild;
  planeChild.createInstance(classIdOf("PlaneCollector"));
  addChildCollector(planeChild, true);
}

bool SimpleCollector::fillCreatorParameters() {
  return fillWith({});
}

bool SimpleCollector::fillWith(std::span<const TrailingParameter> trailing) {
  return fillProbingParameters(traits_.fillKeys, workPlane_.get(), trailing);
}

bool SimpleCollector::acceptFeature(IZelFeature* feature) {
  if (!traits_.workPlane || workPlane_) return false;
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
  if (!traits_.pictures) return {};
  return pictures_.instructions(*traits_.pictures, withThirdPicture);
}

ZelString SimpleCollector::briefInstructions() {
  return traits_.briefWord ? probePointsOnText(tr(traits_.briefWord)) : probePointsText();
}

ZelString SimpleCollector::appendStopInstruction() {
  return traits_.offsetFinish ? offsetFinishText() : finishText();
}

ZelString SimpleCollector::surfaceWord() {
  return traits_.briefWord ? tr(traits_.briefWord) : FeatureCollectorBase::surfaceWord();
}
