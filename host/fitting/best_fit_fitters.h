#pragma once

// The best-fit fitters: each fits its kind of feature to the selected points by least squares
// (host/fitting/geometry), and answers no feature when the points do not determine one.
//
// - Plane: through the points' centroid; the plane keeps the points as its source, which bound its box.
// - Line: in space or, given "<WorkPlane>", in that plane; from the lowest point's projection to the
// highest's.
// - Sphere.
// - Arc: a full circle, in space or, given "<WorkPlane>", in that plane, its normal the plane's.
// - Cylinder: between the points' axial extent; "<Axis>", "<Center>" and "<Diameter>" together are a start
//   beside the fit's own, whose axis breaks a tie between cylinders the touches fit as well as each other,
//   and "<Constraint>" holds the axis parallel to a direction.
// - Cone: from its narrow end A to its wide end B; "<CenterFrom>", "<CenterTo>", "<DiameterFrom>" and
//   "<DiameterTo>" together are a start beside the fit's own, and "<Constraint>" holds the axis parallel.
// - Parallel planes: one plane through each of the two groups "<Selection>" gives, the normal from the
//   first towards the second, over the box of all their points.

#include "host/fitting/geometry/fitting.h"
#include "host/fitting/host_feature_fitter.h"

class HostPlaneFitter final : public HostFitterKind<HostPlaneFitter> {
 public:
  static constexpr const char* interfaceName = "HostPlaneFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;
};

class HostLineFitter final : public HostFitterKind<HostLineFitter> {
 public:
  static constexpr const char* interfaceName = "HostLineFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;
};

class HostSphereFitter final : public HostFitterKind<HostSphereFitter> {
 public:
  static constexpr const char* interfaceName = "HostSphereFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;
};

class HostArcFitter final : public HostFitterKind<HostArcFitter> {
 public:
  static constexpr const char* interfaceName = "HostArcFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;
};

class HostCylinderFitter final : public HostFitterKind<HostCylinderFitter> {
 public:
  static constexpr const char* interfaceName = "HostCylinderFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;

 private:
  // The start the parameters give, when they give all its values.
  std::optional<fitting::CylinderSeed> seed() const;
};

class HostConeFitter final : public HostFitterKind<HostConeFitter> {
 public:
  static constexpr const char* interfaceName = "HostConeFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;

 private:
  // The start the parameters give, when they give all its values.
  std::optional<fitting::ConeSeed> seed() const;
};

class HostParallelPlanesFitter final : public HostFitterKind<HostParallelPlanesFitter> {
 public:
  static constexpr const char* interfaceName = "HostParallelPlanesFitter";

 protected:
  IPtr<IZelFeature> fitFeature() override;
};
