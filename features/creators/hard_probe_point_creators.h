#pragma once

// The creators of a single point from probed points, none of which applies the probe radius:
// - HardProbePointCreator: at the mean of "<SampledPoints>";
// - HardProbeSurfacePointCreator: at the mean's foot on "<WorkPlane>";
// - HardProbeTargetPointCreator: a target at the mean's foot on "<WorkPlane>", facing along its normal, of
//   size 0.04 times the unit scale.
// Each needs one point; its compensated point is the point made.

#include "features/creators/registered_creator.h"

class HardProbePointCreator final : public RegisteredCreator<HardProbePointCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbePointCreator";

  int32_t minPoints() override { return 1; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeSurfacePointCreator final : public RegisteredCreator<HardProbeSurfacePointCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeSurfacePointCreator";

  int32_t minPoints() override { return 1; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeTargetPointCreator final : public RegisteredCreator<HardProbeTargetPointCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeTargetPointCreator";

  int32_t minPoints() override { return 1; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

// A new point feature of the host at the position; none when the host makes none.
IPtr<IZelFeature> makePointFeature(const Vector3& position);
// The feature's position as a point; the origin for a feature that is not a point.
Vector3 positionOf(IZelFeature& feature);
