#pragma once

// The stand-in host's curve-fit record ("ICurveFitData", "ICurveFitDataV2"); it keeps what it is given for
// the fitter and for tests. A record belongs to one caller.

#include <cstdint>
#include <optional>

#include "host/core/host_unknown.h"
#include "host_api/curve_fit_data.h"

class HostCurveFitData : public ICurveFitDataV2, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCurveFitData";

  void setTension(double tension) override { tension_ = tension; }
  void setSpacing(double spacing, double limit) override {
    spacing_ = spacing;
    spacingLimit_ = limit;
  }
  void setTolerance(double tolerance) override { tolerance_ = tolerance; }
  void setControlPoints(int32_t count) override { controlPoints_ = count; }
  void setMode(int32_t mode) override { mode_ = mode; }

  std::optional<double> tension() const { return tension_; }
  std::optional<double> spacing() const { return spacing_; }
  std::optional<double> spacingLimit() const { return spacingLimit_; }
  std::optional<double> tolerance() const { return tolerance_; }
  std::optional<int32_t> controlPoints() const { return controlPoints_; }
  std::optional<int32_t> mode() const { return mode_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::optional<double> tension_;
  std::optional<double> spacing_;
  std::optional<double> spacingLimit_;
  std::optional<double> tolerance_;
  std::optional<int32_t> controlPoints_;
  std::optional<int32_t> mode_;
};
