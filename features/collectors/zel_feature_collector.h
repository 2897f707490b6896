#pragma once

// A feature collector: what the operator talks to while probing one feature of one type. It takes the
// device's points, the stop point and the probe radius (it is a hard-probe receiver), tells the operator what
// to do next on the information tile, and, asked to, hands what it gathered to its creator, which makes the
// host feature. A composite collector drives child collectors first (a line's work plane, a slot's circles);
// while a child is active, device input goes to it.
//
// A collector notifies through its subject (IZelSubject): "Stop" (the stop point came: the listener answers
// with fillCreatorParameters), "Error", "Cancel", "DeleteLastFeature" (undo reached back past this feature),
// "DeletedPoint", "AddedChildFeature", "UserInstructionsChanged" without data, and "NewChildFeature" whose
// data is a ChildFeatureInfo* (not its IZelUnknown part), alive for the length of the event. Main thread
// only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/points.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_unknown.h"
#include "ui/instructions/zel_user_instructions.h"

class IZelFeatureCollector : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeatureCollector";

  virtual void setFeatureName(const ZelString& name) = 0;
  virtual void setTypeName(const ZelString& name) = 0;
  virtual ZelString typeName() = 0;
  // Names the active child after this feature and lets it publish, or publishes this collector's tile info.
  virtual void refreshInfo() = 0;
  // Writes the gathered values into the creator's table and has the feature made; answers whether it was.
  // A refusal leaves every gathered value, so the operator may add points and stop again.
  virtual bool fillCreatorParameters() = 0;
  // After a fill that made no feature: what the operator is told, translated, naming the feature (the
  // active child's, when one collects) and what it needs, such as "Cylinder was not made: 2 more points are
  // needed. Its points are kept."
  virtual ZelString refusal() = 0;
  // The feature made last, which the caller now holds; empty when none waits.
  virtual IPtr<IZelFeature> takeFeature() = 0;
  // The made feature's compensated points, numbered from 1; resultPoint leaves out outside 1..count.
  virtual int32_t resultPointCount() = 0;
  virtual bool resultPoint(int32_t i, Vector3& out) = 0;
  // Forgets the gathered values and the waiting feature, for the next feature of the same type.
  virtual void reset() = 0;
  // Takes the child's feature and accepts it; false when the child had none or it is refused.
  virtual bool acceptChildCollector(IZelFeatureCollector* child) = 0;
  // A feature made elsewhere (a child's, or one the operator picked); false, changing nothing, when refused.
  virtual bool acceptFeature(IZelFeature* feature) = 0;
  virtual bool deleteLastChild() = 0;
  virtual void publishTileInfo() = 0;
  // Removes the last sampled point (the active child's); false when there was none.
  virtual bool deleteLastPoint() = 0;
  // A host array that mirrors the sampled points (the probe graphics show it); null for none.
  virtual void setPointSink(RealPArray* points) = 0;
  virtual void setComponentChild(bool component) = 0;
  virtual bool isComponentChild() = 0;
  // One level only: a second push forgets the radius the first one saved.
  virtual void pushProbeRadius(double radius) = 0;
  virtual void popProbeRadius() = 0;
  // Whether the operator may finish the feature now.
  virtual bool canFinish() = 0;
  virtual bool showFeatureStatistics() = 0;
};

// Who tells the operator what to do: the active child's source, or the collector itself.
class IZelUserInstructionSource : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelUserInstructionSource";

  virtual void userInstructions(IPtr<IZelUserInstructions>& out, bool withThirdPicture) = 0;
};

// The data of "NewChildFeature": a child feature that goes into the document as a feature of its own, and
// the child collector that made it.
class ChildFeatureInfo : public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ChildFeatureInfo";

  ChildFeatureInfo(IZelFeature* made, IZelFeatureCollector* maker) : feature(made), collector(maker) {}

  void queryInterface(const char* name, void** out, bool) override;
  const char* className() override { return interfaceName; }

  IPtr<IZelFeature> feature;
  IPtr<IZelFeatureCollector> collector;
};
