#pragma once

// How far measured points lie from a feature: the numbers a person reads to judge a probed feature's form.

#include "basic_types/bit_vector.h"
#include "host_api/points.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_unknown.h"

class IZelFeatureStatisticsEvaluator : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeatureStatisticsEvaluator";

  // Over the entries of points whose numbers (from 1) are set in selection, the signed distances to the
  // feature, in metres: positive outside, that is on a plane's normal side, away from the axis of a cylinder
  // or cone, from the centre of a sphere or circle (in the circle's plane) or from a point, and away from the
  // mid-plane of parallel planes; a line in space has no sides, so its distances are never negative. Writes
  // the most negative distance (0 when none is negative), the most positive (0 when none is positive) and
  // the standard deviation of the distances about their mean (n - 1 in the denominator, 0 for a single
  // point). Bits beyond the array's entries are ignored. False, writing nothing, for a null argument, a
  // selection that holds no entry, a point or feature value that is not finite, a line whose ends coincide,
  // or a slot, whose outline gives no distance.
  virtual bool evaluate(IZelFeature* feature, RealPArray* points, double& maximumNegative,
                        double& maximumPositive, double& standardDeviation, const BitVector* selection) = 0;
};
