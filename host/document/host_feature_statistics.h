#pragma once

// The stand-in host's statistics evaluator (the service "IZelFeatureStatisticsEvaluator"): the signed
// distances of selected points to a feature, summed up by the fitting library, whose distances and sign
// convention the fitters' features share. It keeps nothing between calls, so one serves every thread.

#include "host/core/host_unknown.h"
#include "host_api/feature_statistics.h"

class HostFeatureStatisticsEvaluator : public IZelFeatureStatisticsEvaluator, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostFeatureStatisticsEvaluator";

  bool evaluate(IZelFeature* feature, RealPArray* points, double& maximumNegative, double& maximumPositive,
                double& standardDeviation, const BitVector* selection) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
