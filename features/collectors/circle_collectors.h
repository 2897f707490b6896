#pragma once

// The collectors of circles in a work plane: a circle probed on the rim of a hole or boss, a hole measured by
// one point with the probe ball resting in it, and the bolt pattern, the circle through the centres of any
// number of bolt circles, each of which goes into the document as a feature of its own.

#include <vector>

#include "features/collectors/simple_collectors.h"

// Not final: the bolt and the rounded-slot corner collectors are circle collectors that only speak and
// show differently, and answer as circle collectors.
class CircleCollector : public ConcreteCollector<CircleCollector> {
 public:
  static constexpr const char* interfaceName = "CircleCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbeCircleCreator",      "IZelArc", kFillWithWorkPlane, true, true, true, "circle", true,
      InstructionPictureSet::kCircle};

  // A circle probed as a component is a slot's end or corner, cut into the face: marked as a hole, so that
  // a stop taken anywhere in the slot, outside this circle, never makes it a boss.
  bool fillCreatorParameters() override;
};

// With its work plane held, every point sampled is its stop point too: one point in the hole finishes it.
class PointCircleCollector final : public ConcreteCollector<PointCircleCollector> {
 public:
  static constexpr const char* interfaceName = "PointCircleCollector";
  static constexpr SimpleCollectorTraits kTraits{"HardProbePointCircleCreator",
                                                 "IZelArc",
                                                 kFillSampled | kFillRadius | kFillWorkPlane,
                                                 true,
                                                 false,
                                                 false,
                                                 "circle",
                                                 true,
                                                 InstructionPictureSet::kCircle};

  ZelString briefInstructions() override;
  void onPointSampled(const Vector3& point) override;
};

// Announces each bolt circle with "NewChildFeature" (under the pattern's type name for as long as the event
// lasts) and always keeps one fresh bolt collector behind the active one, so it never finishes on its own:
// the operator ends the pattern with a stop on a bolt collector that has too few points for a circle.
class BoltPatternCircleCollector final : public ConcreteCollector<BoltPatternCircleCollector> {
 public:
  static constexpr const char* interfaceName = "BoltPatternCircleCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbeBoltCircleCreator", "IZelArc", 0, true, false, false, "circle", true};

  // A circle collector of its own brief text, not registered: its parent makes it.
  class BoltCollector final : public CircleCollector {
   public:
    ZelString briefInstructions() override;
  };

  BoltPatternCircleCollector();

  // "<WorkPlane>", then "<ChildFeatures>" = the bolt circles "<Feature1>" .. "<FeatureN>" in probing order.
  bool fillCreatorParameters() override;
  bool acceptChildCollector(IZelFeatureCollector* child) override;
  // The work plane first, then bolt circles (arcs), any number of them.
  bool acceptFeature(IZelFeature* feature) override;
  // A stop on a bolt collector that holds no touch ends the pattern: then the pattern's own refusal, which
  // names neither kept points nor a next stop, as the run ends with it; else the active child's.
  ZelString refusal() override;
  // Takes back the last bolt circle; the first bolt collector probes the next one.
  bool deleteLastChild() override;
  // Keeps the plane collector and the work plane and starts again at a fresh bolt collector.
  void resetChildren() override;

  size_t boltCircleCount() const { return boltCircles_.size(); }

 private:
  bool acceptBoltFeature(IZelFeature* feature, IZelFeatureCollector* fromChild);
  void announce(IZelArc* circle, IZelFeatureCollector& fromChild);
  IPtr<IZelFeatureCollector> makeBoltCollector(bool restart);

  std::vector<IPtr<IZelArc>> boltCircles_;
  IPtr<IZelFeatureCollector> newestBoltCollector_;
};
