#pragma once

// The creators of parallel planes, probed as a primary plane and a secondary point on the opposite face:
// - HardProbeParallelPlanesPlaneCreator: the primary plane fitted through the tip centres of
//   "<SampledPoints>" (at least 3), turned to face "<StopPoint>" but not moved: its tip centres are its
//   compensated points, which the parallel planes compensate.
// - HardProbeParallelPlanesCreator: the two planes fitted to the children's compensated points in
//   "<ChildFeatures>" ("<Feature1>" the primary plane, "<Feature2>" the secondary point), one group each.
//   "<Solidity>" says what lies between them: 2, a gap (a slot), when the secondary point lies on or in
//   front of the primary plane, 1, material (a rib), when behind; the distance between the tip centres grows
//   or shrinks by twice "<ProbeRadius>" accordingly, and the points move one radius onto their faces. A
//   compensated distance not above 0 gives none.

#include "features/creators/registered_creator.h"

class HardProbeParallelPlanesPlaneCreator final
    : public RegisteredCreator<HardProbeParallelPlanesPlaneCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeParallelPlanesPlaneCreator";

  int32_t minPoints() override { return 3; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};

class HardProbeParallelPlanesCreator final : public RegisteredCreator<HardProbeParallelPlanesCreator> {
 public:
  static constexpr const char* interfaceName = "HardProbeParallelPlanesCreator";

  int32_t minPoints() override { return 0; }

 protected:
  IPtr<IZelFeature> buildFeature() override;
};
