#pragma once

// The creators of a cylinder from probe-tip centres, "<SampledPoints>" (at least 6), "<StopPoint>" and
// "<ProbeRadius>". Each hands the host's cylinder fit a start estimated from the points
// (cylinder_initial_values.h), moves the fitted surface one probe radius away from the stop point (outwards
// in a bore, inwards on a boss) and scales the points radially onto it:
// - HardProbeCylinderCreator: a free axis;
// - HardProbeConstrainedCylinderCreator: the axis parallel to the normal of "<WorkPlane>", the cylinder
//   spanning the probed points' extent along it;
// - HardProbeTopBottomPlaneCylinderCreator: between "<BottomPlane>" and "<TopPlane>", its ends the feet of
//   its first axis end on the two planes.
// A fitted or compensated radius that is not above 0 gives no cylinder: the points would be mirrored through
// the axis.

#include "features/creators/registered_creator.h"

class HardProbeCylinderCreator final : public RegisteredCreator<HardProbeCylinderCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeCylinderCreator";

  int32_t minPoints() override { return 6; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeConstrainedCylinderCreator final
    : public RegisteredCreator<HardProbeConstrainedCylinderCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeConstrainedCylinderCreator";

  int32_t minPoints() override { return 6; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeTopBottomPlaneCylinderCreator final
    : public RegisteredCreator<HardProbeTopBottomPlaneCylinderCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeTopBottomPlaneCylinderCreator";

  int32_t minPoints() override { return 6; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};
