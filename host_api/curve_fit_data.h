#pragma once

// The host's curve-fit record: how its curve fitter is to fit a curve through the points of a section.

#include <cstdint>

#include "host_api/zel_unknown.h"

class ICurveFitData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ICurveFitData";

  // How closely a spline follows its points (0: through them, 1: the fairest curve).
  virtual void setTension(double tension) = 0;
  // A spline with control points this far apart (metres); limit bounds their number (-1: none).
  virtual void setSpacing(double spacing, double limit) = 0;
  // A curve within this distance (metres) of its points.
  virtual void setTolerance(double tolerance) = 0;
  virtual void setControlPoints(int32_t count) = 0;
};

// The record's extended part: which of its settings the fitter goes by.
class ICurveFitDataV2 : public virtual ICurveFitData {
 public:
  static constexpr const char* interfaceName = "ICurveFitDataV2";

  static constexpr int32_t kSplineByDistance = 0;
  static constexpr int32_t kSplineByTolerance = 1;
  static constexpr int32_t kSplineByControlPoints = 3;
  static constexpr int32_t kLineArcLocal = 4;
  static constexpr int32_t kLineArcGlobal = 5;
  virtual void setMode(int32_t mode) = 0;
};
