#pragma once

// The start of the host's cylinder fit, estimated from the probed points: an axis direction, a point on the
// axis and a diameter. An estimate that fails, or that gives no axis, no positive diameter or a value that is
// not finite, gives no start: the fit then runs from its own.

#include <optional>
#include <span>

#include "features/point_list.h"
#include "framework/object/iptr.h"
#include "host_api/feature_fitter.h"
#include "host_api/feature_kinds.h"

namespace cylinder {

class InitialValueUtil {
 public:
  virtual ~InitialValueUtil() = default;
  virtual void compute(const PointList& points) = 0;
  // "<Axis>", "<Center>" and "<Diameter>" when all three were estimated; "<MaxPtEAx>" = 0 in every case.
  void apply(IZelFeatureFitter& fitter) const;

 protected:
  void setStart(const Vector3& axis, const Vector3& centre, double diameter);

 private:
  struct Start {
    Vector3 axis;
    Vector3 centre;
    double diameter;
  };
  std::optional<Start> start_;
};

// From the touches' approaches where they tell the axis (approach_start.h), one per point; else from the
// first-probed and last-probed rings: the axis from the first ring's centre to the last's, the centre
// midway, the mean of the two diameters, which needs 7 points.
class FreeInitialValueUtil final : public InitialValueUtil {
 public:
  explicit FreeInitialValueUtil(std::span<const Vector3> approaches = {}) : approaches_(approaches) {}
  void compute(const PointList& points) override;

 private:
  std::span<const Vector3> approaches_;
};

// From one circle of all points in the work plane: its normal, its centre moved to the points' mid-height.
class ConstrainedInitialValueUtil final : public InitialValueUtil {
 public:
  explicit ConstrainedInitialValueUtil(IZelPlane& workPlane) : workPlane_(&workPlane) {}
  void compute(const PointList& points) override;

 private:
  IPtr<IZelPlane> workPlane_;
};

// From a circle of all points in the bottom plane and one in the top plane: the axis from bottom to top, the
// centre midway, the mean of the two diameters.
class BoundedInitialValueUtil final : public InitialValueUtil {
 public:
  BoundedInitialValueUtil(IZelPlane& bottom, IZelPlane& top) : bottom_(&bottom), top_(&top) {}
  void compute(const PointList& points) override;

 private:
  IPtr<IZelPlane> bottom_;
  IPtr<IZelPlane> top_;
};

}  // namespace cylinder
