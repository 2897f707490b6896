#pragma once

// The slot fitters: a slot built from the four features probed on its outline, given as their parameter
// forms. Both answer no slot for a missing child or one of another kind, children that do not lie round a
// rectangle, or a slot without width.
//
// - Rectangular slot, from the four lines "<Line1>" .. "<Line4>" of its sides and ends, in any order: the
//   lines pair up by direction; the pair closer together are the sides, along the axis, and their distance
//   is the width; the ends' distance is the length.
// - Rounded slot, from the four corner circles "<Circle1>" .. "<Circle4>", in any order round the outline:
//   the corner diameter is the circles' mean diameter; the axis runs along the longer side of the rectangle
//   of their centres, and the length and width are its sides plus the corner diameter.
//
// The slot lies in the best plane of the children's ends or centres, its centre at the middle of the outline.

#include "host/fitting/host_feature_fitter.h"

class HostRectangularSlotFitter final : public HostFitterKind<HostRectangularSlotFitter> {
 public:
  static constexpr const char* interfaceName = "HostRectangularSlotFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;
};

class HostRoundedSlotFitter final : public HostFitterKind<HostRoundedSlotFitter> {
 public:
  static constexpr const char* interfaceName = "HostRoundedSlotFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;
};
