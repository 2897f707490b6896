#pragma once

// The line creator: a line in the work plane through the probe-tip centres' projections, moved by the probe
// radius within the plane away from the stop point. Two points give the line between them; more are fitted
// and the line spans the outermost of them in probing order. Reads "<SampledPoints>" (at least 2),
// "<StopPoint>", "<ProbeRadius>", "<WorkPlane>".

#include "features/creators/registered_creator.h"

class HardProbeLineCreator final : public RegisteredCreator<HardProbeLineCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeLineCreator";

  int32_t minPoints() override { return 2; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};
