#pragma once

// The plane creator: a plane fitted through the probe-tip centres, moved by the probe radius away from the
// stop point and turned to face it. Reads "<SampledPoints>" (at least 3), "<StopPoint>", "<ProbeRadius>".

#include "features/creators/registered_creator.h"

class HardProbePlaneCreator final : public RegisteredCreator<HardProbePlaneCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbePlaneCreator";

  int32_t minPoints() override { return 3; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};
