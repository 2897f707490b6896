#pragma once

// The live fit statistics of a probed feature: how far its compensated points lie from it, as the host's
// statistics evaluator measures them. One object serves a whole probing run and reuses its point array.
// Main thread only.

#include "framework/object/iptr.h"
#include "host_api/feature_statistics.h"
#include "host_api/points.h"
#include "host_api/zel_feature.h"

class FeatureStatistics {
 public:
  // Looks up the evaluator and makes the point array; either may be missing, and evaluate then answers false.
  FeatureStatistics();
  FeatureStatistics(const FeatureStatistics&) = delete;
  FeatureStatistics& operator=(const FeatureStatistics&) = delete;

  // The most negative and most positive signed distances of the feature's compensated points and their
  // standard deviation, in metres. False, writing nothing, without evaluator or array, for a null feature or
  // one without compensated points, and when the evaluator refuses.
  bool evaluate(IZelFeature* feature, double& maximumNegative, double& maximumPositive,
                double& standardDeviation);

 private:
  SPtr<IZelFeatureStatisticsEvaluator> evaluator_;
  IPtr<RealPArray> points_;
};
