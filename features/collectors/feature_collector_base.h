#pragma once

// What every feature collector shares: the gathered points, stop point and radius, the child collectors and
// which of them is active, the tile texts while probing, undo, and the protocol by which a child's finished
// feature reaches its parent ("Stop" from the active child: the child fills and makes its feature, the parent
// accepts it, resets the child unless it is a component, and goes on or stops itself).
//
// A concrete collector derives from RegisteredCollector (registered_collector.h), makes its creator in its
// constructor (setCreator), names its feature type, sets its flags, adds its children, and writes
// fillCreatorParameters and the instruction texts. Main thread only; no lock beyond the subject's.
//
// The active child is held as an index: children are appended while a child takes device events (a new
// child announced from inside a child's "Stop"), which an iterator would not survive. A child that is handed
// a device event or answered is held for the length of the call, so a parent that rebuilds its children
// meanwhile never leaves the child running on freed memory.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "devices/contracts/plugin_data_receivers.h"
#include "features/approach_side.h"
#include "features/collectors/zel_feature_collector.h"
#include "features/creators/zel_hard_probe_feature_creator.h"
#include "features/point_list.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/subject/palpera_subject_base.h"
#include "framework/subject/zel_subject.h"
#include "host_api/feature_kinds.h"
#include "ui/tiles/zel_hard_probe_tile.h"

// The object the feature stands for as Kind, when the feature is of that kind; null otherwise (null too).
template <class Kind>
Kind* featureOfKind(IZelFeature* feature) {
  return queryPart<Kind>(feature) ? queryPart<Kind>(feature->object()) : nullptr;
}

class FeatureCollectorBase : public IZelFeatureCollector,
                             public IZelHardProbeDataReceiverV2,
                             public IZelUserInstructionSource,
                             public IZelListener,
                             public PalperaSubjectBase {
 public:
  static constexpr const char* interfaceName = "FeatureCollectorBase";

  // The collector events.
  static constexpr const char* kStopEvent = "Stop";
  static constexpr const char* kErrorEvent = "Error";
  static constexpr const char* kCancelEvent = "Cancel";
  static constexpr const char* kDeleteLastFeatureEvent = "DeleteLastFeature";
  static constexpr const char* kDeletedPointEvent = "DeletedPoint";
  static constexpr const char* kAddedChildFeatureEvent = "AddedChildFeature";
  static constexpr const char* kUserInstructionsChangedEvent = "UserInstructionsChanged";
  static constexpr const char* kNewChildFeatureEvent = "NewChildFeature";

  FeatureCollectorBase(const FeatureCollectorBase&) = delete;
  FeatureCollectorBase& operator=(const FeatureCollectorBase&) = delete;
  // Detaches from the children, which may outlive this collector (a "NewChildFeature" holder keeps one).
  ~FeatureCollectorBase() override;

  // IZelFeatureCollector
  void setFeatureName(const ZelString& name) override;
  void setTypeName(const ZelString& name) override { typeName_ = name; }
  ZelString typeName() override { return typeName_; }
  void refreshInfo() override;
  IPtr<IZelFeature> takeFeature() override;
  int32_t resultPointCount() override { return static_cast<int32_t>(resultPoints_.size()); }
  bool resultPoint(int32_t i, Vector3& out) override;
  ZelString refusal() override;
  void reset() override;
  bool acceptChildCollector(IZelFeatureCollector* child) override;
  bool acceptFeature(IZelFeature*) override { return false; }
  bool deleteLastChild() override { return false; }
  void publishTileInfo() override;
  bool deleteLastPoint() override;
  void setPointSink(RealPArray* points) override;
  void setComponentChild(bool component) override { componentChild_ = component; }
  bool isComponentChild() override { return componentChild_; }
  void pushProbeRadius(double radius) override;
  void popProbeRadius() override;
  bool canFinish() override;
  bool showFeatureStatistics() override { return showFeatureStatistics_; }

  // What the operator is shown while this collector itself collects: new instructions with its pictures
  // (the third only when asked), or empty for a collector without pictures.
  virtual IPtr<IZelUserInstructions> userInstructions(bool withThirdPicture) = 0;
  // The one-line instruction, such as "Probe points on the line".
  virtual ZelString briefInstructions() = 0;
  // The finishing step offered once enough points are taken, such as "finish".
  virtual ZelString appendStopInstruction() = 0;
  // Composites rebuild their children here; the base has none to rebuild.
  virtual void resetChildren() {}
  // Whether the creator starts its fit from the touches' travel (kFillApproaches).
  virtual bool startsFromTravel() const { return false; }

  // IZelHardProbeDataReceiver
  void setProbeRadius(double radius) override;
  // The probe direction, which the next touch keeps as its own (to the active child, when there is one).
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointStop(const Vector3& point) override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  // IZelUserInstructionSource
  void userInstructions(IPtr<IZelUserInstructions>& out, bool withThirdPicture) override;

  // IZelListener: the active child's events.
  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  // The gathered values, as the creator will get them.
  const PointList& sampledPoints() const { return sampledPoints_; }
  // Each sampled point's approach (approach_side.h), from the moves reported since the touch or stop before
  // it.
  std::span<const TouchApproach> touchApproaches() const { return touchApproaches_; }
  const Vector3& stopPoint() const { return stopPoint_; }
  double probeRadius() const { return probeRadius_; }
  int32_t pointsRequired() const { return pointsRequired_; }
  const ZelString& featureName() const { return featureName_; }
  // Why the last fill made no feature (the active child's, when one collects), as refusal() words it after
  // "was not made: ".
  ZelString refusalReason();
  // What the ball's positions made of the last fill's side (approach_side.h); kKeep when not judged.
  SideJudgement::Verdict sideVerdict() const { return sideVerdict_; }

  // The keys a fill writes into the creator's table, in this order when present.
  // kFillApproaches: each touch's travel, where the creator can start its fit from it.
  enum FillKey : uint32_t {
    kFillSampled = 1,
    kFillStop = 2,
    kFillRadius = 4,
    kFillWorkPlane = 8,
    kFillApproaches = 16
  };

  // The child collectors in probing order, and the active one (none while this collector collects itself).
  std::span<const IPtr<IZelFeatureCollector>> children() const { return children_; }
  IPtr<IZelFeatureCollector> activeChild() const;
  // Whether a child follows the active one.
  bool hasNextChild() const { return activeChild_ + 1 < children_.size(); }

 protected:
  // Makes the tile facade; the concrete constructor does the rest.
  FeatureCollectorBase();

  // The creator of that class (made by its id) and the points it needs; a class the host cannot make leaves
  // no creator and 0 points required, and every fill then refuses.
  void setCreator(const char* creatorClassName);
  IZelHardProbeFeatureCreator* creator() const { return creator_.get(); }
  // typeName = the display name of the feature type whose interface name is given; unchanged when the host
  // does not know the type.
  void setFeatureType(const char* featureInterfaceName);
  void setCanFinish(bool canFinish) { canFinishFlag_ = canFinish; }
  void setShowFeatureStatistics(bool show) { showFeatureStatistics_ = show; }

  // Listens to the child and appends it; the first child becomes active when restart is true or no child was
  // active, else the active child stays.
  void addChildCollector(const IPtr<IZelFeatureCollector>& child, bool restart);
  // Drops the last child (when any) and makes the first one active.
  void removeLastChild();
  // The next child becomes active (after the last: this collector itself), then the tile follows.
  void advanceChild();
  // Makes the child at index active; an index past the last means this collector itself.
  void activateChild(size_t index);

  // A value a composite adds behind the gathered ones, such as its planes or its child features.
  struct TrailingParameter {
    const char16_t* key;
    IPtr<IZelParameter> value;
  };
  // Writes those of the gathered values (and the work plane, null for none), then the trailing values, into
  // the creator's table and has the feature made; false, writing nothing, when a host value cannot be made.
  bool fillProbingParameters(uint32_t keys, IZelPlane* workPlane,
                             std::span<const TrailingParameter> trailing = {});
  // Asks the creator for the feature, keeps it, loads its compensated points; answers whether one was made.
  bool createWithCreator();
  // The word for this collector's surface in what the operator is told, such as "plane".
  virtual ZelString surfaceWord();
  // The embedded-feature value of a feature (null: an empty one); empty when the host cannot make it.
  static IPtr<IZelParameter> featureParameter(IZelFeature* feature);
  // The table of child features "<Feature1>", "<Feature2>", ... in order, each embedded; empty when a host
  // value cannot be made.
  static IPtr<IZelParameter> childFeaturesParameter(std::span<IZelFeature* const> features);

  // Why this collector's own last fill made no feature, as refusal() words it after "was not made: ".
  ZelString ownRefusalReason() const;

  // The tile's brief text and points taken, after every point added or removed.
  void refreshInstructions();

  // The base's names in a query: "FeatureCollectorBase", then its interfaces and the subject's.
  void offerBases(QueryChain& chain);

 private:
  void appendToSink(const Vector3& point);
  // Where the touches say the made feature was compensated into the air (approach_side.h), makes it again
  // from a stop on their side or refuses it; false when it refused.
  bool holdToTouchedSide(IZelVectorValue& stop);
  // Where the creator made nothing from the stop, makes the feature from a stop on the side the touches tell
  // of the surface through the ball centres (approach_side.h), which needs no side.
  void remakeFromTouchedSide(IZelVectorValue& stop, IZelDoubleValue& radius);
  // Refuses the made feature when its touches do not lie on one feature, a touch gone astray (stray_touch.h),
  // judged through the creator with these values put back afterwards; a plane's touches only with planes.
  void refuseStrayTouch(IZelVectorsValue& sampled, IZelDoubleValue& radius, IZelVectorsValue* approaches,
                        bool planes);
  // Each sampled point's travel into it; zero where the device reported none.
  PointList travelledApproaches() const;
  SideJudgement judgeMadeSide(const Vector3& stop);
  void loadResultPoints();
  void onChildStop(IZelFeatureCollector& child);
  IZelHardProbeTile* tile() const { return tile_.get(); }

  double probeRadius_ = 0.0;
  PointList sampledPoints_;
  std::vector<TouchApproach> touchApproaches_;
  ApproachTracker approach_;
  PointList resultPoints_;
  bool sampledSinceReset_ = false;
  IPtr<RealPArray> pointSink_;
  Vector3 stopPoint_;
  IPtr<IZelFeature> createdFeature_;
  ZelString refusalReason_;  // why the last fill made no feature
  SideJudgement::Verdict sideVerdict_ = SideJudgement::kKeep;
  IPtr<IZelHardProbeTile> tile_;
  IPtr<IZelHardProbeFeatureCreator> creator_;
  int32_t pointsRequired_ = 0;
  bool componentChild_ = false;
  std::vector<IPtr<IZelFeatureCollector>> children_;
  size_t activeChild_ = 0;  // children_.size() and beyond: this collector collects itself
  ZelString featureName_;
  ZelString typeName_;
  double savedProbeRadius_ = 0.0;
  bool canFinishFlag_ = false;
  bool showFeatureStatistics_ = false;
};
