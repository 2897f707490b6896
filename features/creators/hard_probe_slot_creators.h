#pragma once

// The creators of a slot in "<WorkPlane>" from the child features probed on its outline ("<ChildFeatures>"),
// compensated by their own creators already; a slot's compensated points are its children's, in child order.
// - HardProbeOvalSlotCreator: from its two end circles "<Feature1>" and "<Feature2>": the width their mean
//   diameter, the axis from the first centre to the second. Circles about one centre, or one above the other
//   along the plane's normal, give no axis and no slot.
// - HardProbeRectangularSlotCreator: its four lines handed to the host's slot fitter as "<Line1>" ..
//   "<Line4>".
// - HardProbeRoundedSlotCreator: its four corner circles handed to the host's slot fitter as "<Circle1>" ..
//   "<Circle4>".

#include "features/creators/registered_creator.h"

class HardProbeOvalSlotCreator final : public RegisteredCreator<HardProbeOvalSlotCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeOvalSlotCreator";

  int32_t minPoints() override { return 0; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeRectangularSlotCreator final : public RegisteredCreator<HardProbeRectangularSlotCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeRectangularSlotCreator";

  int32_t minPoints() override { return 0; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeRoundedSlotCreator final : public RegisteredCreator<HardProbeRoundedSlotCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeRoundedSlotCreator";

  int32_t minPoints() override { return 0; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};
