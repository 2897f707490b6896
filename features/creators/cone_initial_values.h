#pragma once

// The start of the host's cone fit, estimated from the probed points: the centres and diameters of the cone's
// two end circles. An estimate that fails, or that gives coincident centres, a diameter not above 0 or a
// value that is not finite, gives no start: the fit then runs from its own.

#include <optional>

#include "features/point_list.h"
#include "host_api/feature_fitter.h"

namespace cone {

class InitialValueUtil {
 public:
  virtual ~InitialValueUtil() = default;
  virtual void compute(const PointList& points) = 0;
  // "<CenterFrom>", "<CenterTo>", "<DiameterFrom>" and "<DiameterTo>" when all four were estimated;
  // "<MaxPtEAx>" = 0 in every case.
  void apply(IZelFeatureFitter& fitter) const;

 protected:
  void setStart(const Vector3& centreFrom, const Vector3& centreTo, double diameterFrom, double diameterTo);

 private:
  struct Start {
    Vector3 centreFrom;
    Vector3 centreTo;
    double diameterFrom;
    double diameterTo;
  };
  std::optional<Start> start_;
};

// The circles of the first-probed and the last-probed ring. Needs 7 points.
class FreeInitialValueUtil final : public InitialValueUtil {
 public:
  void compute(const PointList& points) override;
};

// With the axis given (a work plane's normal): the ends at the height of the points' box along it, about the
// box's middle, and the diameters of the circles of the lower and the upper points.
class ConstrainedInitialValueUtil final : public InitialValueUtil {
 public:
  explicit ConstrainedInitialValueUtil(const Vector3& axis) : axis_(axis) {}
  void compute(const PointList& points) override;

 private:
  Vector3 axis_;
};

}  // namespace cone
