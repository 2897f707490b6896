#pragma once

// The creators of a cone from probe-tip centres, "<SampledPoints>" (at least 7), "<StopPoint>" and
// "<ProbeRadius>". Each hands the host's cone fit a start estimated from the points (cone_initial_values.h),
// offsets the fitted surface one probe radius along its normal away from the stop point (outwards in a
// conical hole, inwards on a conical boss), its narrow end first, and moves each point along the surface
// normal by the same radius:
// - HardProbeConeCreator: a free axis;
// - HardProbeConstrainedConeCreator: the axis parallel to the normal of "<WorkPlane>".
// Whichever end the fit answers first, the sides are taken with the axis running from the narrow end to the
// wide one. A compensated end radius below 0 (the surface offset past the apex) gives no cone, nor does a
// stop taken on the surface, which cannot tell a conical hole from a boss.

#include "features/creators/registered_creator.h"

// What the two share: the compensation of the fitted cone and the finishing steps.
class ConeCreatorBase : public HardProbeFeatureCreatorBase {
 protected:
  using HardProbeFeatureCreatorBase::HardProbeFeatureCreatorBase;

  // The fitted cone (none: the fit's refusal stands) compensated for the probe radius and finished with its
  // compensated points; none with the reason as the refusal.
  IPtr<IZelFeature> finishCone(const IPtr<IZelFeature>& fitted, const Probing& probing);
};

class HardProbeConeCreator final : public RegisteredCreator<HardProbeConeCreator, ConeCreatorBase> {
 public:
  static constexpr const char* interfaceName = "HardProbeConeCreator";

  int32_t minPoints() override { return 7; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeConstrainedConeCreator final
    : public RegisteredCreator<HardProbeConstrainedConeCreator, ConeCreatorBase> {
 public:
  static constexpr const char* interfaceName = "HardProbeConstrainedConeCreator";

  int32_t minPoints() override { return 7; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};
