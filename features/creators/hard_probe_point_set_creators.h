#pragma once

// The creators of the highest or lowest of several probed points above a work plane: the chosen probe-tip
// centre moved by the probe radius along the plane's normal, away from the stop point. Read
// "<SampledPoints>" (at least 3), "<StopPoint>", "<ProbeRadius>", "<WorkPlane>".

#include "features/creators/registered_creator.h"

class HardProbePointSetCreator : public HardProbeFeatureCreatorBase {
 public:
  static constexpr const char* interfaceName = "HardProbePointSetCreator";

  int32_t minPoints() override { return 3; }
  // The sampled point (from 1) that becomes the feature; the first one on ties.
  virtual int32_t pickPoint(IZelPlane& plane, const PointList& points) = 0;

 protected:
  explicit HardProbePointSetCreator(const ZelID& classId) : HardProbeFeatureCreatorBase(classId) {}

  IPtr<IZelFeature> buildFeature() override;
  QueryChain& offerBases(QueryChain& chain) {
    return HardProbeFeatureCreatorBase::offerBases(chain.offer<HardProbePointSetCreator>(this));
  }
};

// The point farthest along the work plane's normal.
class HardProbeMaxPointCreator final
    : public RegisteredCreator<HardProbeMaxPointCreator, HardProbePointSetCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeMaxPointCreator";

  int32_t pickPoint(IZelPlane& plane, const PointList& points) override;
};

// The point farthest against the work plane's normal.
class HardProbeMinPointCreator final
    : public RegisteredCreator<HardProbeMinPointCreator, HardProbePointSetCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeMinPointCreator";

  int32_t pickPoint(IZelPlane& plane, const PointList& points) override;
};
