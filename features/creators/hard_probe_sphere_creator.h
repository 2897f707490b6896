#pragma once

// The sphere creator: a sphere fitted through the probe-tip centres, its radius grown by the probe radius
// when the stop point lies inside (a cavity probed from within) and shrunk otherwise (a ball), the sampled
// points scaled radially onto it. Reads "<SampledPoints>" (at least 4), "<StopPoint>", "<ProbeRadius>". A
// fitted or compensated radius that is not above 0 gives no sphere: the points would be mirrored through the
// centre.

#include "features/creators/registered_creator.h"

class HardProbeSphereCreator final : public RegisteredCreator<HardProbeSphereCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeSphereCreator";

  int32_t minPoints() override { return 4; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};
