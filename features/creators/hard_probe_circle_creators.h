#pragma once

// The creators of a circle in a work plane:
// - HardProbeCircleCreator: fitted through the probe-tip centres' projections, its radius grown by the probe
//   radius when the stop point lies inside (a hole) or "<Hole>" marks it as one, and shrunk otherwise (a
//   boss), the points scaled radially onto it. Reads "<SampledPoints>" (at least 3), "<StopPoint>",
//   "<ProbeRadius>", "<WorkPlane>" and, when present, "<Hole>"; a marked hole takes any stop. A fitted or
//   compensated radius that is not above 0 gives no circle: the points would be mirrored through the centre.
// - HardProbePointCircleCreator: the rim of a hole the probe tip rests in, where the tip's sphere meets the
//   work plane, from the first of "<SampledPoints>", "<ProbeRadius>" and "<WorkPlane>". A tip below the plane
//   or beyond its reach gives none; one touching the plane gives a radius of 0.
// - HardProbeBoltCircleCreator: fitted through the centres of three or more child circles in
//   "<ChildFeatures>", taken in probing order, in "<WorkPlane>"; the children are compensated already.

#include "features/creators/registered_creator.h"

class HardProbeCircleCreator final : public RegisteredCreator<HardProbeCircleCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeCircleCreator";

  int32_t minPoints() override { return 3; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbePointCircleCreator final : public RegisteredCreator<HardProbePointCircleCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbePointCircleCreator";

  int32_t minPoints() override { return 1; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeBoltCircleCreator final : public RegisteredCreator<HardProbeBoltCircleCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeBoltCircleCreator";

  int32_t minPoints() override { return 0; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};
