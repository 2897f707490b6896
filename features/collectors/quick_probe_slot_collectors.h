#pragma once

// The collectors of a slot recognised on the CAD model, which the operator probes anywhere along its wall
// and stops once: seeded from the nominal slot, each sends every sampled point to the component collector
// of the nearest nominal component and, at the stop, finishes every component and then the slot from them.
// The component collectors and the slot collector inside are members, not children: they get nothing
// through the base's forwarding and tell nobody of their events.
//
// Each component is fitted with the probe radius and a stop point on its free side, inside the slot (an
// oval's end centre, a rounded slot's corner centre, the slot's centre for a rectangular slot's sides), so
// the slot comes out compensated. The operator's own stop point is no such point: off a long slot's middle
// it lies outside both end circles.
//
// Calling order: construct; seedFromNominal; setProbeRadius; acceptFeature (the recognised face's plane);
// the points of this slot; at the stop fillCreatorParameters, takeFeature when it succeeded, and reset in
// either case, which keeps the nominal and the work plane for the next slot on it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "features/collectors/slot_collectors.h"

struct QuickProbeSlotTraits {
  int32_t components;
  // Whether a point equally near two components goes to the later one (else to the earlier one).
  bool tieToLater;
  IPtr<IZelFeatureCollector> (*makeComponentCollector)();
  IPtr<IZelFeatureCollector> (*makeSlotCollector)();
};

class QuickProbeSlotCollector : public FeatureCollectorBase {
 public:
  static constexpr const char* interfaceName = "QuickProbeSlotCollector";

  // Takes the nominal slot and works out its nominal components; false, changing nothing, for a feature
  // that is not a slot of this collector's kind.
  virtual bool seedFromNominal(IZelFeature* feature) = 0;

  // Fits every component (the first that fails refuses), then the slot from them in nominal order; again
  // from the same points when asked again.
  bool fillCreatorParameters() override;
  IPtr<IZelFeature> takeFeature() override;
  // Readies the components and the slot for the next slot on the same nominal and work plane.
  void reset() override;
  // The work plane, once: the component and slot collectors are built on it.
  bool acceptFeature(IZelFeature* feature) override;
  using FeatureCollectorBase::userInstructions;
  IPtr<IZelUserInstructions> userInstructions(bool withThirdPicture) override;
  ZelString briefInstructions() override;
  ZelString appendStopInstruction() override;

  // To the component collector of the nearest nominal component; this collector keeps no point.
  void onPointSampled(const Vector3& point) override;
  // Takes the last point back from the component it went to; false when none holds a point.
  bool deleteLastPoint() override;

  // The component collectors, in nominal order, once the work plane is held; then the slot collector.
  std::span<const IPtr<IZelFeatureCollector>> componentCollectors() const { return components_; }
  IZelFeatureCollector* slotCollector() const { return slot_.get(); }
  // Each component's stop point, on its free side: where its compensation points away from.
  std::span<const Vector3> freeSidePoints() const { return freeSidePoints_; }

 protected:
  explicit QuickProbeSlotCollector(const QuickProbeSlotTraits& traits);

  // Keeps the nominal and its components' free-side points.
  void seed(IZelFeature* nominal, std::vector<Vector3> freeSidePoints);
  // The squared distance from the point to nominal component i; by default to its free-side point (the
  // centre of a circle).
  virtual double squaredDistance(size_t component, const Vector3& point);

 private:
  size_t nearestComponent(const Vector3& point);

  const QuickProbeSlotTraits& traits_;
  IPtr<IZelFeature> nominal_;
  std::vector<Vector3> freeSidePoints_;
  IPtr<IZelPlane> workPlane_;
  std::vector<IPtr<IZelFeatureCollector>> components_;
  std::vector<size_t> touchedComponents_;  // the component of each point held, oldest first
  IPtr<IZelFeatureCollector> slot_;
};

// Two end circles about the nominal end centres.
class QuickProbeOvalSlotCollector final
    : public ConcreteCollector<QuickProbeOvalSlotCollector, QuickProbeSlotCollector> {
 public:
  static constexpr const char* interfaceName = "QuickProbeOvalSlotCollector";
  static const QuickProbeSlotTraits kTraits;

  bool seedFromNominal(IZelFeature* feature) override;
};

// Four sides along the nominal edges: the end at +axis, the side at -width, the end at -axis, the side at
// +width.
class QuickProbeRectangularSlotCollector final
    : public ConcreteCollector<QuickProbeRectangularSlotCollector, QuickProbeSlotCollector> {
 public:
  static constexpr const char* interfaceName = "QuickProbeRectangularSlotCollector";
  static const QuickProbeSlotTraits kTraits;

  bool seedFromNominal(IZelFeature* feature) override;

  std::span<const IPtr<IZelLine>> nominalEdges() const { return nominalEdges_; }

 protected:
  double squaredDistance(size_t component, const Vector3& point) override;

 private:
  std::vector<IPtr<IZelLine>> nominalEdges_;
};

// Four corner circles about the nominal corner centres, in the order (+axis, +width), (-, +), (-, -), (+, -).
class QuickProbeRoundedSlotCollector final
    : public ConcreteCollector<QuickProbeRoundedSlotCollector, QuickProbeSlotCollector> {
 public:
  static constexpr const char* interfaceName = "QuickProbeRoundedSlotCollector";
  static const QuickProbeSlotTraits kTraits;

  bool seedFromNominal(IZelFeature* feature) override;
};
