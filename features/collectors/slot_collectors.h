#pragma once

// The collectors of slots in a face. A slot takes no point of its own: first its work plane (probed or
// picked, then handed to every component child), then one component from each component child strictly in
// order (the two end circles of an oval slot, the four sides of a rectangular one, the four corner circles
// of a rounded one), and its creator makes the slot from them. The work plane stays for the next slot.

#include <cstdint>
#include <vector>

#include "features/collectors/circle_collectors.h"

struct SlotCollectorTraits {
  SimpleCollectorTraits collector;
  int32_t components;
  // The object a component feature stands for, as a feature, when it is of the slot's component kind.
  IZelFeature* (*componentOf)(IZelFeature* feature);
  // A new component child, not yet named nor given the work plane.
  IPtr<IZelFeatureCollector> (*makeComponentChild)();
};

class SlotCollector : public SimpleCollector {
 public:
  static constexpr const char* interfaceName = "SlotCollector";

  // "<WorkPlane>", then "<ChildFeatures>" = the components "<Feature1>" .. in order; empty ones missing.
  bool fillCreatorParameters() override;
  // The work plane first, then a component into the first empty place; a wrong kind, or a component
  // beyond the last, is refused.
  bool acceptFeature(IZelFeature* feature) override;
  // Keeps the work plane and starts again at the first component.
  void resetChildren() override;

  // The components held, in order; empty places are null.
  const std::vector<IPtr<IZelFeature>>& components() const { return components_; }

 protected:
  explicit SlotCollector(const SlotCollectorTraits& traits);

 private:
  void buildComponentChildren();

  const SlotCollectorTraits& slotTraits_;
  std::vector<IPtr<IZelFeature>> components_;
};

// An oval slot's two end circles.
class OvalSlotCollector final : public ConcreteCollector<OvalSlotCollector, SlotCollector> {
 public:
  static constexpr const char* interfaceName = "OvalSlotCollector";
  static const SlotCollectorTraits kTraits;

  // Instructions without a picture or text.
  IPtr<IZelUserInstructions> userInstructions(bool withThirdPicture) override;
  using SlotCollector::userInstructions;
};

// A rectangular slot's four sides.
class RectangularSlotCollector final : public ConcreteCollector<RectangularSlotCollector, SlotCollector> {
 public:
  static constexpr const char* interfaceName = "RectangularSlotCollector";
  static const SlotCollectorTraits kTraits;
};

// A rounded slot's four corner circles.
class RoundedSlotCollector final : public ConcreteCollector<RoundedSlotCollector, SlotCollector> {
 public:
  static constexpr const char* interfaceName = "RoundedSlotCollector";
  static const SlotCollectorTraits kTraits;
};

// A line collector showing a side of a rectangular slot, all three pictures always.
class RectangularSlotLineCollector final : public LineCollector {
 public:
  IPtr<IZelUserInstructions> userInstructions(bool withThirdPicture) override;
  using LineCollector::userInstructions;
};

// A circle collector showing a corner of a rounded slot, all three pictures always.
class RoundedSlotCircleCollector final : public CircleCollector {
 public:
  IPtr<IZelUserInstructions> userInstructions(bool withThirdPicture) override;
  using CircleCollector::userInstructions;
};
