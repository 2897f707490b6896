#pragma once

// The creators of a cylinder from probe-tip centres, "<SampledPoints>" (at least 6), "<StopPoint>" and
// "<ProbeRadius>". Each hands the host's cylinder fit a start estimated from the points
// (cylinder_initial_values.h), moves the fitted surface one probe radius away from the stop point (outwards
// in a bore, inwards on a boss) and scales the points radially onto it:
// - HardProbeCylinderCreator: a free axis;
// - HardProbeConstrainedCylinderCreator: the axis parallel to the normal of "<WorkPlane>", the cylinder
//   spanning the probed points' extent along it;
// - HardProbeTopBottomPlaneCylinderCreator: between "<BottomPlane>" and "<TopPlane>", its fitted axis kept
//   and ended where it meets the two planes; an axis within 10 degrees of parallel to either gives none.
// A fitted or compensated radius that is not above 0 gives no cylinder: the points would be mirrored through
// the axis. Nor does a stop taken on the surface, which cannot tell a bore from a boss.

#include <functional>

#include "features/creators/registered_creator.h"

// What the three share: the compensation of the fitted cylinder and the finishing steps.
class CylinderCreatorBase : public HardProbeFeatureCreatorBase {
 protected:
  using HardProbeFeatureCreatorBase::HardProbeFeatureCreatorBase;

  // Bounds the compensated cylinder; answers the reason (translated) when it cannot, else empty.
  using Bound = std::function<ZelString(IZelCylinder&)>;
  // The fitted cylinder (none: the fit's refusal stands) compensated for the probe radius, bounded, and
  // finished with its compensated points; none with the reason as the refusal.
  IPtr<IZelFeature> finishCylinder(const IPtr<IZelFeature>& fitted, const Probing& probing,
                                   const Bound& bound = nullptr);
};

class HardProbeCylinderCreator final
    : public RegisteredCreator<HardProbeCylinderCreator, CylinderCreatorBase> {
 public:
  static constexpr const char* interfaceName = "HardProbeCylinderCreator";

  int32_t minPoints() override { return 6; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeConstrainedCylinderCreator final
    : public RegisteredCreator<HardProbeConstrainedCylinderCreator, CylinderCreatorBase> {
 public:
  static constexpr const char* interfaceName = "HardProbeConstrainedCylinderCreator";

  int32_t minPoints() override { return 6; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeTopBottomPlaneCylinderCreator final
    : public RegisteredCreator<HardProbeTopBottomPlaneCylinderCreator, CylinderCreatorBase> {
 public:
  static constexpr const char* interfaceName = "HardProbeTopBottomPlaneCylinderCreator";

  int32_t minPoints() override { return 6; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};
