#include "features/creators/hard_probe_cylinder_creators.h"

#include <cmath>
#include <numbers>

#include "features/creators/approach_start.h"
#include "features/creators/axial_estimates.h"
#include "features/creators/creator_parameter_keys.h"
#include "features/creators/cylinder_initial_values.h"
#include "features/creators/fitter_hints.h"
#include "features/creators/probe_geometry.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

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

// The radius the fitted cylinder takes after compensation, or none with the reason (translated) why the stop
// or the fit gives none: a stop on the surface, or a boss thinner than the probe ball.
struct CompensatedRadius {
  double radius = 0.0;
  ZelString refusal;
};

CompensatedRadius compensatedRadius(IZelCylinder& cylinder, const Vector3& stop, double probeRadius) {
  const double fittedRadius = cylinder.radius();
  const double stopDistance =
      Vector3::perpendicularPart(stop - cylinder.axisPoint(), cylinder.axisDirection()).length();
  if (stopOnSurface(stopDistance - fittedRadius, probeRadius)) return {0.0, liftProbeText()};
  const double compensated = fittedRadius + sideOffset(pointInsideCylinder(cylinder, stop), probeRadius);
  if (!(fittedRadius > 0.0) || !(compensated > 0.0))
    return {0.0, tr("the probe ball is larger than the cylinder")};
  return {compensated, {}};
}

// Sets the compensated radius and answers the sampled points scaled radially onto the compensated surface;
// none when the fitted values are not finite.
std::optional<PointList> compensate(IZelFeature& fitted, IZelCylinder& cylinder, const PointList& sampled,
                                    const Vector3& stop, double probeRadius, double radius) {
  const double fittedRadius = cylinder.radius();
  cylinder.setRadius(radius);
  const double pointOffset = sideOffset(pointInsideCylinder(cylinder, stop), probeRadius);
  std::optional<FeatureFrame> frame = frameOf(fitted);
  if (!frame) return std::nullopt;
  PointList points;
  for (const Vector3& p : sampled)
    points.push_back(scaleAcrossAxis(*frame, 1.0 + pointOffset / fittedRadius, p));
  return points;
}

// The cylinder between the two feet on its axis line, its radius kept; false when they coincide.
bool spanBetween(IZelCylinder& cylinder, const Vector3& first, const Vector3& second) {
  return cylinder.redefine(first, second, cylinder.radius(), kReference, nullptr, nullptr, nullptr);
}

// An axis closer than this to parallel with a plane it should end on meets the plane far from the probed
// wall, or not at all. Degrees.
constexpr double kMinAxisPlaneAngleDegrees = 10.0;

// Where the cylinder's axis meets the plane; none when it runs within kMinAxisPlaneAngleDegrees of parallel.
std::optional<Vector3> axisMeets(IZelCylinder& cylinder, const PlaneEquation& plane) {
  const Vector3 axis = cylinder.axisDirection().normalized();
  const double across = plane.n.dot(axis);
  if (!(std::fabs(across) >= std::sin(kMinAxisPlaneAngleDegrees * std::numbers::pi / 180.0)))
    return std::nullopt;
  const Vector3 onAxis = cylinder.axisPoint();
  return onAxis - axis * (plane.signedDistance(onAxis) / across);
}

// Ends the cylinder where its axis meets the bottom and the top plane; the reason (translated) when it
// cannot.
ZelString spanBetweenPlanes(IZelCylinder& cylinder, IZelPlane& bottom, IZelPlane& top) {
  const std::optional<Vector3> first = axisMeets(cylinder, PlaneEquation::of(bottom));
  const std::optional<Vector3> second = axisMeets(cylinder, PlaneEquation::of(top));
  const ZelString degrees = ZelString::number(static_cast<int32_t>(kMinAxisPlaneAngleDegrees));
  if (!first) return tr("its axis lies within %1 degrees of parallel to the bottom plane", degrees);
  if (!second) return tr("its axis lies within %1 degrees of parallel to the top plane", degrees);
  if (!spanBetween(cylinder, *first, *second)) return tr("its axis meets both planes in one point");
  return {};
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

IPtr<IZelFeature> CylinderCreatorBase::finishCylinder(const IPtr<IZelFeature>& fitted, const Probing& probing,
                                                      const Bound& bound) {
  auto* cylinder = queryPart<IZelCylinder>(fitted.get());
  if (!cylinder) return {};
  const CompensatedRadius radius = compensatedRadius(*cylinder, probing.stop, probing.radius);
  if (!radius.refusal.isEmpty()) return refuse(radius.refusal);
  std::optional<PointList> points =
      compensate(*fitted, *cylinder, probing.sampled, probing.stop, probing.radius, radius.radius);
  if (!points) return {};
  if (bound) {
    const ZelString refusal = bound(*cylinder);
    if (!refusal.isEmpty()) return refuse(refusal);
  }
  return finish(fitted, *points);
}

IPtr<IZelFeature> HardProbeCylinderCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius);
  if (!probing) return {};
  auto* approaches = parameterAs<IZelVectorsValue>(kApproachesKey);
  const PointList travelled = approaches ? pointsOf(*approaches) : PointList();
  cylinder::FreeInitialValueUtil start(travelled);
  start.compute(probing->sampled);
  IPtr<IZelFeature> fitted = fit(probing->sampled, axialFitSetUp("IZelCylinder", start, nullptr));
  auto* cylinder = queryPart<IZelCylinder>(fitted.get());
  // The travels only ever break a tie the touches leave; where they tell an axis and the touches fit
  // another best, the touches and their travels disagree beyond what the probe's scatter explains.
  if (cylinder && cylinderFromApproaches(probing->sampled, travelled) &&
      !approachesComeInto(probing->sampled, travelled, cylinder->axisDirection(), cylinder->axisPoint()))
    return refuse(
        tr("the touches fit best a cylinder that their travels do not come into: they scatter beyond the "
           "stated probing error, or a touch slid along the wall; probe them again"));
  return finishCylinder(fitted, *probing);
}

IPtr<IZelFeature> HardProbeConstrainedCylinderCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius | kPlane);
  if (!probing) return {};
  cylinder::ConstrainedInitialValueUtil start(*probing->workPlane);
  start.compute(probing->sampled);
  IPtr<IZelFeature> fitted =
      fit(probing->sampled, axialFitSetUp("IZelCylinder", start, probing->workPlane.get()));
  return finishCylinder(fitted, *probing, [&](IZelCylinder& cylinder) {
    return spanProbedExtent(cylinder, probing->sampled) ? ZelString() : tr("the points give it no length");
  });
}

IPtr<IZelFeature> HardProbeTopBottomPlaneCylinderCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius);
  IPtr<IZelPlane> bottom(embeddedFeature<IZelPlane>(kBottomPlaneKey));
  IPtr<IZelPlane> top(embeddedFeature<IZelPlane>(kTopPlaneKey));
  if (!probing || !bottom || !top) return {};
  cylinder::BoundedInitialValueUtil start(*bottom, *top);
  start.compute(probing->sampled);
  IPtr<IZelFeature> fitted = fit(probing->sampled, axialFitSetUp("IZelCylinder", start, nullptr));
  return finishCylinder(fitted, *probing,
                        [&](IZelCylinder& cylinder) { return spanBetweenPlanes(cylinder, *bottom, *top); });
}
