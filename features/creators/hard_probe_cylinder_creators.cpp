#include "features/creators/hard_probe_cylinder_creators.h"

#include "features/creators/axial_estimates.h"
#include "features/creators/creator_parameter_keys.h"
#include "features/creators/cylinder_initial_values.h"
#include "features/creators/fitter_hints.h"
#include "features/creators/probe_geometry.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<HardProbeCylinderCreator> freeCylinder(registeredClass("HardProbeCylinderCreator"));
const ClassRegistration<HardProbeConstrainedCylinderCreator> constrainedCylinder(
    registeredClass("HardProbeConstrainedCylinderCreator"));
const ClassRegistration<HardProbeTopBottomPlaneCylinderCreator> topBottomPlaneCylinder(
    registeredClass("HardProbeTopBottomPlaneCylinderCreator"));

constexpr Vector3 kReference{1, 0, 0};

// A point on the surface counts as inside.
bool pointInsideCylinder(IZelCylinder& cylinder, const Vector3& p) {
  const Vector3 across = Vector3::perpendicularPart(p - cylinder.axisPoint(), cylinder.axisDirection());
  return cylinder.radius() >= across.length();
}

struct CompensatedCylinder {
  IPtr<IZelFeature> feature;
  IZelCylinder* cylinder;
  PointList points;
};

// The cylinder fitted to the tip centres from the start, its axis parallel to the work plane's normal when
// one is given, moved one probe radius away from the stop point, with the points scaled radially onto it.
std::optional<CompensatedCylinder> compensatedCylinder(const PointList& sampled, const Vector3& stop,
                                                       double probeRadius,
                                                       const cylinder::InitialValueUtil& start,
                                                       IZelPlane* workPlane) {
  IPtr<IZelFeature> fitted = fitPoints(sampled, axialFitSetUp("IZelCylinder", start, workPlane));
  auto* cylinder = queryPart<IZelCylinder>(fitted.get());
  if (!cylinder) return std::nullopt;
  const double fittedRadius = cylinder->radius();
  const double compensatedRadius =
      fittedRadius + sideOffset(pointInsideCylinder(*cylinder, stop), probeRadius);
  if (!(fittedRadius > 0.0) || !(compensatedRadius > 0.0)) return std::nullopt;
  cylinder->setRadius(compensatedRadius);
  const double pointOffset = sideOffset(pointInsideCylinder(*cylinder, stop), probeRadius);
  std::optional<FeatureFrame> frame = frameOf(*fitted);
  if (!frame) return std::nullopt;
  CompensatedCylinder compensated{fitted, cylinder, {}};
  for (const Vector3& p : sampled)
    compensated.points.push_back(scaleAcrossAxis(*frame, 1.0 + pointOffset / fittedRadius, p));
  return compensated;
}

// The cylinder between the two feet on its axis line, its radius kept; false when they coincide.
bool spanBetween(IZelCylinder& cylinder, const Vector3& first, const Vector3& second) {
  return cylinder.redefine(first, second, cylinder.radius(), kReference, nullptr, nullptr, nullptr);
}

// Bounds the cylinder to the lowest and the highest point along its axis (on ties the first probed).
bool spanProbedExtent(IZelCylinder& cylinder, const PointList& sampled) {
  const Vector3 firstEnd = cylinder.firstEnd(), secondEnd = cylinder.secondEnd();
  const Matrix4x4 upright = axisUpright(boundingBox(sampled).center(), cylinder.axisDirection());
  size_t lowest = 0, highest = 0;
  double low = Matrix4x4::transformPoint(upright, sampled[0]).z, high = low;
  for (size_t i = 1; i < sampled.size(); ++i) {
    const double height = Matrix4x4::transformPoint(upright, sampled[i]).z;
    if (height < low) {
      low = height;
      lowest = i;
    }
    if (height > high) {
      high = height;
      highest = i;
    }
  }
  std::optional<Vector3> bottom = projectOntoLine(sampled[lowest], firstEnd, secondEnd);
  std::optional<Vector3> top = projectOntoLine(sampled[highest], firstEnd, secondEnd);
  return bottom && top && spanBetween(cylinder, *bottom, *top);
}

}  // namespace

IPtr<IZelFeature> HardProbeCylinderCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius);
  if (!probing) return {};
  cylinder::FreeInitialValueUtil start;
  start.compute(probing->sampled);
  std::optional<CompensatedCylinder> made =
      compensatedCylinder(probing->sampled, probing->stop, probing->radius, start, nullptr);
  if (!made) return {};
  return finish(made->feature, made->points);
}

IPtr<IZelFeature> HardProbeConstrainedCylinderCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius | kPlane);
  if (!probing) return {};
  cylinder::ConstrainedInitialValueUtil start(*probing->workPlane);
  start.compute(probing->sampled);
  std::optional<CompensatedCylinder> made =
      compensatedCylinder(probing->sampled, probing->stop, probing->radius, start, probing->workPlane.get());
  if (!made || !spanProbedExtent(*made->cylinder, probing->sampled)) return {};
  return finish(made->feature, made->points);
}

IPtr<IZelFeature> HardProbeTopBottomPlaneCylinderCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius);
  IPtr<IZelPlane> bottom(embeddedFeature<IZelPlane>(kBottomPlaneKey));
  IPtr<IZelPlane> top(embeddedFeature<IZelPlane>(kTopPlaneKey));
  if (!probing || !bottom || !top) return {};
  cylinder::BoundedInitialValueUtil start(*bottom, *top);
  start.compute(probing->sampled);
  std::optional<CompensatedCylinder> made =
      compensatedCylinder(probing->sampled, probing->stop, probing->radius, start, nullptr);
  if (!made) return {};
  // The feet of one axis point: on the axis only when the axis stands square to the planes.
  const Vector3 axisPoint = made->cylinder->axisPoint();
  if (!spanBetween(*made->cylinder, PlaneEquation::of(*bottom).project(axisPoint),
                   PlaneEquation::of(*top).project(axisPoint)))
    return {};
  return finish(made->feature, made->points);
}
