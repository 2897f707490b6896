#include "features/collectors/feature_collector_base.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "features/compensated_points.h"
#include "features/creators/creator_parameter_keys.h"
#include "features/side_refusal.h"
#include "features/stray_touch.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/event_name.h"
#include "framework/translation/tr.h"
#include "host_api/feature_types.h"
#include "host_api/registry_paths.h"

void ChildFeatureInfo::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}

FeatureCollectorBase::FeatureCollectorBase() {
  sampledPoints_.reserve(16);
  tile_.createInstance(classIdOf("HardProbeTileFacade"));
}

FeatureCollectorBase::~FeatureCollectorBase() {
  for (const IPtr<IZelFeatureCollector>& child : children_)
    if (auto* subject = queryPart<IZelSubject>(child.get())) subject->detach(this);
}

void FeatureCollectorBase::setFeatureName(const ZelString& name) {
  if (&name != &featureName_) featureName_ = name;
}

IPtr<IZelFeatureCollector> FeatureCollectorBase::activeChild() const {
  return activeChild_ < children_.size() ? children_[activeChild_] : IPtr<IZelFeatureCollector>();
}

void FeatureCollectorBase::refreshInfo() {
  IPtr<IZelFeatureCollector> child = activeChild();
  if (!child) {
    publishTileInfo();
    return;
  }
  child->setFeatureName(tr("%1 (%2)", featureName_, child->typeName()));
  child->refreshInfo();
}

IPtr<IZelFeature> FeatureCollectorBase::takeFeature() {
  return std::exchange(createdFeature_, IPtr<IZelFeature>());
}

bool FeatureCollectorBase::resultPoint(int32_t i, Vector3& out) {
  if (i < 1 || i > resultPointCount()) return false;
  out = resultPoints_[static_cast<size_t>(i - 1)];
  return true;
}

ZelString FeatureCollectorBase::refusal() {
  if (IPtr<IZelFeatureCollector> child = activeChild()) return child->refusal();
  return tr("%1 was not made: %2. Its points are kept.", featureName_, ownRefusalReason());
}

ZelString FeatureCollectorBase::refusalReason() {
  IPtr<IZelFeatureCollector> child = activeChild();
  if (auto* collecting = queryPart<FeatureCollectorBase>(child.get())) return collecting->refusalReason();
  return ownRefusalReason();
}

ZelString FeatureCollectorBase::ownRefusalReason() const {
  return refusalReason_.isEmpty() ? tr("the points do not determine it") : refusalReason_;
}

void FeatureCollectorBase::reset() {
  sampledPoints_.clear();
  touchApproaches_.clear();
  approach_.forget();
  resultPoints_.clear();
  sampledSinceReset_ = false;
  stopPoint_ = Vector3();
  createdFeature_.release();
  if (pointSink_) pointSink_->clear();
  resetChildren();
  // Over a copy, so that nothing a child does while it resets changes the list being walked.
  const std::vector<IPtr<IZelFeatureCollector>> children = children_;
  for (const IPtr<IZelFeatureCollector>& child : children) child->reset();
  for (const IPtr<IZelFeatureCollector>& child : children) child->setPointSink(pointSink_.get());
}

bool FeatureCollectorBase::acceptChildCollector(IZelFeatureCollector* child) {
  if (!child) return false;
  IPtr<IZelFeature> feature = child->takeFeature();
  return feature && acceptFeature(feature.get());
}

void FeatureCollectorBase::publishTileInfo() {
  if (IPtr<IZelFeatureCollector> child = activeChild()) {
    child->publishTileInfo();
    return;
  }
  if (!tile()) return;
  tile()->setText("FeatureName", featureName_);
  tile()->setFlag("PointsTaken", 0);
  tile()->setFlag("PointsRequired", pointsRequired_);
  if (!createdFeature_) tile()->setText("BriefInstructions", briefInstructions());
}

bool FeatureCollectorBase::deleteLastPoint() {
  if (IPtr<IZelFeatureCollector> child = activeChild()) return child->deleteLastPoint();
  if (sampledPoints_.empty()) return false;
  sampledPoints_.pop_back();
  touchApproaches_.pop_back();
  if (pointSink_) pointSink_->removeLast();
  refreshInstructions();
  notify(kDeletedPointEvent, nullptr);
  return true;
}

void FeatureCollectorBase::setPointSink(RealPArray* points) {
  if (points != pointSink_.get()) pointSink_ = points;
  for (const IPtr<IZelFeatureCollector>& child : children_) child->setPointSink(points);
}

void FeatureCollectorBase::pushProbeRadius(double radius) {
  savedProbeRadius_ = probeRadius_;
  probeRadius_ = radius;
}

void FeatureCollectorBase::popProbeRadius() {
  probeRadius_ = savedProbeRadius_;
  savedProbeRadius_ = 0.0;
}

bool FeatureCollectorBase::canFinish() {
  IPtr<IZelFeatureCollector> child = activeChild();
  if (!child) return canFinishFlag_;
  if (!child->isComponentChild()) return child->canFinish();
  // A component may finish only behind a child that is not one (the work plane), never as the first child.
  return activeChild_ > 0 && !children_[activeChild_ - 1]->isComponentChild() && child->canFinish();
}

void FeatureCollectorBase::setProbeRadius(double radius) {
  probeRadius_ = radius;
  for (const IPtr<IZelFeatureCollector>& child : children_)
    if (auto* receiver = queryPart<IZelHardProbeDataReceiver>(child.get())) receiver->setProbeRadius(radius);
}

void FeatureCollectorBase::onMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  if (IPtr<IZelFeatureCollector> child = activeChild()) {
    if (auto* receiver = queryPart<IZelHardProbeDataReceiver>(child.get())) receiver->onMoved(point, to, up);
    return;
  }
  approach_.moved(point, to);
}

void FeatureCollectorBase::onPointSampled(const Vector3& point) {
  if (IPtr<IZelFeatureCollector> child = activeChild()) {
    if (auto* receiver = queryPart<IZelHardProbeDataReceiver>(child.get())) receiver->onPointSampled(point);
    return;
  }
  sampledPoints_.push_back(point);
  touchApproaches_.push_back(approach_.touched(point, probeRadius_));
  appendToSink(point);
  refreshInstructions();
  sampledSinceReset_ = true;
}

void FeatureCollectorBase::onPointStop(const Vector3& point) {
  stopPoint_ = point;
  approach_.forget();
  if (IPtr<IZelFeatureCollector> child = activeChild()) {
    if (auto* receiver = queryPart<IZelHardProbeDataReceiver>(child.get())) receiver->onPointStop(point);
    return;
  }
  notify(kStopEvent, nullptr);
}

void FeatureCollectorBase::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  const char* event = name.data();
  if (isEvent(event, kErrorEvent)) {
    notify(kErrorEvent, nullptr);
  } else if (isEvent(event, kCancelEvent)) {
    notify(kCancelEvent, nullptr);
  } else if (isEvent(event, kUndoLastSampledEvent)) {
    // With nothing to undo in this feature, the undo reaches back into the feature made before it.
    if (!deleteLastPoint() && !sampledSinceReset_) notify(kDeleteLastFeatureEvent, nullptr);
  }
}

void FeatureCollectorBase::userInstructions(IPtr<IZelUserInstructions>& out, bool withThirdPicture) {
  IPtr<IZelFeatureCollector> child = activeChild();
  if (auto* source = queryPart<IZelUserInstructionSource>(child.get())) {
    source->userInstructions(out, false);
    return;
  }
  out = userInstructions(withThirdPicture);
}

void FeatureCollectorBase::onNotify(const char* event, IZelSubject* subject, void*) {
  IPtr<IZelFeatureCollector> child = activeChild();
  if (!child || subject != queryPart<IZelSubject>(child.get())) return;
  if (isEvent(event, kStopEvent)) {
    onChildStop(*child);
  } else if (isEvent(event, kDeletedPointEvent)) {
    // Whoever counts the touches not yet made into a feature hears only this collector.
    notify(kDeletedPointEvent, nullptr);
  }
}

void FeatureCollectorBase::onChildStop(IZelFeatureCollector& child) {
  if (!child.fillCreatorParameters()) {
    notify(kStopEvent, nullptr);
    return;
  }
  const size_t count = children_.size();
  bool childFollows = hasNextChild();
  acceptChildCollector(&child);
  if (!child.isComponentChild()) child.reset();
  if (children_.size() != count) childFollows = hasNextChild();
  if (childFollows || pointsRequired_ != 0) {
    notify(kAddedChildFeatureEvent, nullptr);
    notify(kUserInstructionsChangedEvent, nullptr);
  } else {
    notify(kStopEvent, nullptr);
  }
}

void FeatureCollectorBase::setCreator(const char* creatorClassName) {
  creator_.createInstance(classIdOf(creatorClassName));
  pointsRequired_ = creator_ ? creator_->minPoints() : 0;
}

void FeatureCollectorBase::setFeatureType(const char* featureInterfaceName) {
  const std::string path = std::string(kFeatureTypesPath) + featureInterfaceName;
  RegPtr<IZelFeatureType> type{ZelCString(path.c_str())};
  if (type) typeName_ = type->displayName();
}

void FeatureCollectorBase::addChildCollector(const IPtr<IZelFeatureCollector>& child, bool restart) {
  if (!child) return;
  if (auto* subject = queryPart<IZelSubject>(child.get())) subject->attach(this);
  const bool noneActive = activeChild_ >= children_.size();
  children_.push_back(child);
  if (pointSink_) child->setPointSink(pointSink_.get());
  if (restart || noneActive) activeChild_ = 0;
}

void FeatureCollectorBase::removeLastChild() {
  if (!children_.empty()) {
    if (auto* subject = queryPart<IZelSubject>(children_.back().get())) subject->detach(this);
    children_.pop_back();
  }
  activeChild_ = 0;
}

void FeatureCollectorBase::advanceChild() {
  if (activeChild_ < children_.size()) ++activeChild_;
  refreshInfo();
}

void FeatureCollectorBase::activateChild(size_t index) {
  activeChild_ = std::min(index, children_.size());
}

IPtr<IZelParameter> FeatureCollectorBase::featureParameter(IZelFeature* feature) {
  SPtr<IZelEmbeddedFeatureParameter> value;
  if (!value) return {};
  value->setFeature(feature);
  return IPtr<IZelParameter>(value.get());
}

IPtr<IZelParameter> FeatureCollectorBase::childFeaturesParameter(std::span<IZelFeature* const> features) {
  SPtr<IZelParameterTable> table;
  if (!table) return {};
  int32_t number = 0;
  for (IZelFeature* feature : features) {
    IPtr<IZelParameter> value = featureParameter(feature);
    if (!value) return {};
    ZelString key(kChildFeaturePrefix);
    key += ZelString::number(++number);
    key += ZelString(u">");
    table->setParameter(key, value.get());
  }
  return IPtr<IZelParameter>(table.get());
}

bool FeatureCollectorBase::fillProbingParameters(uint32_t keys, IZelPlane* workPlane,
                                                 std::span<const TrailingParameter> trailing) {
  IPtr<IZelVectorsValue> sampled;
  IPtr<IZelVectorValue> stop;
  IPtr<IZelDoubleValue> radius;
  IPtr<IZelParameter> plane;
  IPtr<IZelVectorsValue> approaches;
  if (keys & kFillSampled) sampled.getService();
  if (keys & kFillApproaches) approaches.getService();
  if (keys & kFillStop) stop.getService();
  if (keys & kFillRadius) radius.getService();
  if (keys & kFillWorkPlane) plane = featureParameter(queryPart<IZelFeature>(workPlane));
  refusalReason_ = tr("the host could not take its values");
  sideVerdict_ = SideJudgement::kKeep;
  if (!creator_ || ((keys & kFillSampled) && !sampled) || ((keys & kFillStop) && !stop) ||
      ((keys & kFillRadius) && !radius) || ((keys & kFillWorkPlane) && !plane) ||
      ((keys & kFillApproaches) && !approaches) ||
      std::ranges::any_of(trailing, [](const TrailingParameter& extra) { return !extra.value; }))
    return false;
  if (sampled) {
    setPoints(*sampled, sampledPoints_);
    creator_->setParameter(ZelString(kSampledPointsKey), sampled.get());
  }
  if (stop) {
    stop->setValue(stopPoint_);
    creator_->setParameter(ZelString(kStopPointKey), stop.get());
  }
  if (radius) {
    radius->setValue(probeRadius_);
    creator_->setParameter(ZelString(kProbeRadiusKey), radius.get());
  }
  if (plane) creator_->setParameter(ZelString(kWorkPlaneKey), plane.get());
  if (approaches) {
    setPoints(*approaches, travelledApproaches());
    creator_->setParameter(ZelString(kApproachesKey), approaches.get());
  }
  for (const TrailingParameter& extra : trailing)
    creator_->setParameter(ZelString(extra.key), extra.value.get());
  if (!createWithCreator() && stop && radius) remakeFromTouchedSide(*stop, *radius);
  // Before any other reason: a stray touch pulls the fit, and what the creator then says of it misleads. A
  // plane with a poor fit is made, its spread shown; but a stray touch may tilt it until its stop lies on the
  // side the touches came from, and then the stray touch, not the stop, is to blame.
  if (sampled && radius) refuseStrayTouch(*sampled, *radius, approaches.get(), false);
  if (stop && createdFeature_ && !holdToTouchedSide(*stop) && sampled && radius)
    refuseStrayTouch(*sampled, *radius, approaches.get(), true);
  return static_cast<bool>(createdFeature_);
}

ZelString FeatureCollectorBase::surfaceWord() {
  return tr("surface");
}

bool FeatureCollectorBase::createWithCreator() {
  if (!creator_) return false;
  IPtr<IZelFeature> made;
  made.takeOwnership(creator_->createFeature());
  if (made.get() != createdFeature_.get()) createdFeature_ = std::move(made);
  refusalReason_ = createdFeature_ ? ZelString() : creator_->refusal();
  loadResultPoints();
  return static_cast<bool>(createdFeature_);
}

SideJudgement FeatureCollectorBase::judgeMadeSide(const Vector3& stop) {
  return judgeSide({*createdFeature_, sampledPoints_, touchApproaches_, stop, probeRadius_});
}

void FeatureCollectorBase::remakeFromTouchedSide(IZelVectorValue& stop, IZelDoubleValue& radius) {
  IPtr<IZelDoubleValue> noRadius;
  noRadius.getService();
  if (probeRadius_ == 0 || !creator_ || !noRadius) return;
  noRadius->setValue(0.0);
  creator_->setParameter(ZelString(kProbeRadiusKey), noRadius.get());
  IPtr<IZelFeature> throughCentres;
  throughCentres.takeOwnership(creator_->createFeature());
  creator_->setParameter(ZelString(kProbeRadiusKey), &radius);
  const SideJudgement judged =
      throughCentres
          ? judgeThroughCentres({*throughCentres, sampledPoints_, touchApproaches_, stopPoint_, probeRadius_})
          : SideJudgement{};
  sideVerdict_ = judged.verdict;
  if (judged.verdict == SideJudgement::kKeep) return;
  if (judged.verdict != SideJudgement::kRemake) {
    refusalReason_ = sideRefusalText(judged, surfaceWord());
    return;
  }
  const ZelString refused = refusalReason_;
  stop.setValue(judged.liftedStop);
  creator_->setParameter(ZelString(kStopPointKey), &stop);
  if (createWithCreator()) return;
  // What the creator said of the operator's own stop holds.
  refusalReason_ = refused;
  stop.setValue(stopPoint_);
  creator_->setParameter(ZelString(kStopPointKey), &stop);
}

bool FeatureCollectorBase::holdToTouchedSide(IZelVectorValue& stop) {
  SideJudgement judged = judgeMadeSide(stopPoint_);
  if (judged.verdict == SideJudgement::kRemake) {
    // Made again from a stop on the touches' side, which its probing record keeps for a refit.
    stop.setValue(judged.liftedStop);
    creator_->setParameter(ZelString(kStopPointKey), &stop);
    if (createWithCreator()) judged = judgeMadeSide(judged.liftedStop);
  }
  sideVerdict_ = judged.verdict;
  if (!createdFeature_ || judged.verdict == SideJudgement::kKeep) return true;
  createdFeature_.release();
  loadResultPoints();
  refusalReason_ = sideRefusalText(judged, surfaceWord());
  return false;
}

namespace {

PointList without(PointList points, size_t index) {
  points.erase(points.begin() + static_cast<std::ptrdiff_t>(index));
  return points;
}

}  // namespace

PointList FeatureCollectorBase::travelledApproaches() const {
  PointList travelled;
  for (const TouchApproach& approach : touchApproaches_)
    travelled.push_back(approach.travelled ? approach.direction : Vector3());
  return travelled;
}

void FeatureCollectorBase::refuseStrayTouch(IZelVectorsValue& sampled, IZelDoubleValue& radius,
                                            IZelVectorsValue* approaches, bool planes) {
  // A trial fit through the ball centres judges nothing: its touches are judged at the stop.
  if (probeRadius_ == 0 || !creator_) return;
  IPtr<IZelVectorsValue> touches, touchesApproaches;
  IPtr<IZelDoubleValue> noRadius;
  touches.getService();
  noRadius.getService();
  if (!touches || !noRadius) return;
  if (approaches) touchesApproaches.getService();
  noRadius->setValue(0.0);
  creator_->setParameter(ZelString(kProbeRadiusKey), noRadius.get());
  const PointList travelled = travelledApproaches();
  const std::optional<StrayTouch> stray = findStrayTouch(
      sampledPoints_,
      [&](std::optional<size_t> skipped) {
        setPoints(*touches, skipped ? without(sampledPoints_, *skipped) : sampledPoints_);
        creator_->setParameter(ZelString(kSampledPointsKey), touches.get());
        if (touchesApproaches) {
          setPoints(*touchesApproaches, skipped ? without(travelled, *skipped) : travelled);
          creator_->setParameter(ZelString(kApproachesKey), touchesApproaches.get());
        }
        IPtr<IZelFeature> fitted;
        fitted.takeOwnership(creator_->createFeature());
        return fitted;
      },
      planes, probeRadius_);
  // The creator's table goes back to what the feature was made from, for a remake from another stop.
  creator_->setParameter(ZelString(kSampledPointsKey), &sampled);
  creator_->setParameter(ZelString(kProbeRadiusKey), &radius);
  if (approaches) creator_->setParameter(ZelString(kApproachesKey), approaches);
  if (!stray) return;
  createdFeature_.release();
  loadResultPoints();
  refusalReason_ = strayTouchText(*stray, sampledPoints_.size(), surfaceWord());
}

void FeatureCollectorBase::refreshInstructions() {
  if (!tile()) return;
  const auto taken = static_cast<int32_t>(sampledPoints_.size());
  if (taken < pointsRequired_) {
    tile()->setText("BriefInstructions", briefInstructions());
  } else {
    tile()->setText("BriefInstructions", tr("%1 or %2", briefInstructions(), appendStopInstruction()));
  }
  tile()->setFlag("PointsTaken", taken);
}

void FeatureCollectorBase::offerBases(QueryChain& chain) {
  chain.offer<FeatureCollectorBase>(this)
      .offer<IZelFeatureCollector>(this)
      .offer<IZelHardProbeDataReceiverV2>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelUserInstructionSource>(this)
      .offer<IZelListener>(this);
  querySubjectChain(chain);
}

void FeatureCollectorBase::appendToSink(const Vector3& point) {
  if (!pointSink_) return;
  // An entry is the point followed by whatever else the array carries, which a sampled point leaves 0.
  std::vector<double> entry(static_cast<size_t>(std::max(3, pointSink_->entryWidth())), 0.0);
  entry[0] = point.x;
  entry[1] = point.y;
  entry[2] = point.z;
  pointSink_->append(entry.data());
}

void FeatureCollectorBase::loadResultPoints() {
  resultPoints_ =
      createdFeature_ ? getCompensatedPoints(createdFeature_.get()).value_or(PointList{}) : PointList{};
}
