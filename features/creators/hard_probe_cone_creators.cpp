#include "features/creators/hard_probe_cone_creators.h"

#include <cmath>
#include <utility>

#include "features/creators/cone_initial_values.h"
#include "features/creators/fitter_hints.h"
#include "features/creators/probe_geometry.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<HardProbeConeCreator> freeCone(registeredClass("HardProbeConeCreator"));
const ClassRegistration<HardProbeConstrainedConeCreator> constrainedCone(
    registeredClass("HardProbeConstrainedConeCreator"));

constexpr Vector3 kReference{1, 0, 0};

// A cone's ends ordered from the narrow one to the wide one, whichever the host calls A: the radius at an
// axial position t from the narrow end is narrowRadius + slope·t only along this axis.
struct NarrowToWide {
  Vector3 narrowEnd;
  Vector3 wideEnd;
  double narrowRadius;
  double wideRadius;
  Vector3 axis;  // unit, from the narrow end to the wide one; zero for ends that coincide
  double slope;  // tan of the half-angle, 0 for ends that coincide

  static NarrowToWide of(IZelCone& cone) {
    NarrowToWide ends{cone.endA(), cone.endB(), cone.radiusA(), cone.radiusB(), {}, 0.0};
    if (ends.wideRadius < ends.narrowRadius) {
      std::swap(ends.narrowEnd, ends.wideEnd);
      std::swap(ends.narrowRadius, ends.wideRadius);
    }
    const double length = (ends.wideEnd - ends.narrowEnd).length();
    if (length > 0.0) {
      ends.axis = (ends.wideEnd - ends.narrowEnd) / length;
      ends.slope = (ends.wideRadius - ends.narrowRadius) / length;
    }
    return ends;
  }
};

// How far p lies outside the cone's surface along the radius (negative inside).
double radialExcess(IZelCone& cone, const Vector3& p) {
  const NarrowToWide ends = NarrowToWide::of(cone);
  const Vector3 v = p - ends.narrowEnd;
  const double across = Vector3::perpendicularPart(v, ends.axis).length();
  return across - (ends.narrowRadius + std::tan(cone.halfAngle()) * v.dot(ends.axis));
}

// A point on the surface counts as outside.
bool pointInsideCone(IZelCone& cone, const Vector3& p) {
  return radialExcess(cone, p) < 0.0;
}

// Offsets the surface by the probe radius along its normal, away from the stop point, the narrow end first.
// False, changing nothing, for ends that coincide or an end radius the offset takes below 0.
bool compensateCone(IZelCone& cone, const Vector3& stop, double probeRadius) {
  const double offset = sideOffset(pointInsideCone(cone, stop), probeRadius);
  const NarrowToWide ends = NarrowToWide::of(cone);
  const double angle = cone.halfAngle();
  const Vector3 shift = ends.axis * (-std::sin(angle) * offset);
  const double narrowRadius = ends.narrowRadius + std::cos(angle) * offset;
  const double wideRadius = ends.wideRadius + std::cos(angle) * offset;
  if (!(ends.axis.squaredLength() > 0.0) || !(narrowRadius >= 0.0)) return false;
  return cone.redefine(ends.narrowEnd + shift, ends.wideEnd + shift, narrowRadius, wideRadius, kReference,
                       nullptr, nullptr, nullptr);
}

// Moves p by offset along the normal of the surface of the fitted cone through it: a·slope back along the
// axis and a away from it, with a = offset·cos(half-angle).
Vector3 compensatePoint(const NarrowToWide& fitted, double offset, const Vector3& p) {
  const double radial = offset / std::sqrt(fitted.slope * fitted.slope + 1.0);
  const Vector3 across = Vector3::perpendicularPart(p - fitted.narrowEnd, fitted.axis);
  const Vector3 moved = p - fitted.axis * (radial * fitted.slope);
  return across.squaredLength() > 0.0 ? moved + across.normalized() * radial : moved;
}

// Compensates the fitted cone and moves the points onto it; the reason (translated) when it cannot, else
// empty.
ZelString compensatedCone(IZelCone& cone, const PointList& sampled, const Vector3& stop, double probeRadius,
                          PointList& compensated) {
  // The radial excess times cos(half-angle) is the distance from the surface.
  if (stopOnSurface(radialExcess(cone, stop) * std::cos(cone.halfAngle()), probeRadius))
    return liftProbeText();
  const NarrowToWide before = NarrowToWide::of(cone);
  if (!compensateCone(cone, stop, probeRadius)) return tr("the probe ball is larger than its narrow end");
  const double offset = sideOffset(pointInsideCone(cone, stop), probeRadius);
  for (const Vector3& p : sampled) compensated.push_back(compensatePoint(before, offset, p));
  return {};
}

}  // namespace

IPtr<IZelFeature> ConeCreatorBase::finishCone(const IPtr<IZelFeature>& fitted, const Probing& probing) {
  auto* cone = queryPart<IZelCone>(fitted.get());
  if (!cone) return {};
  PointList compensated;
  const ZelString refusal =
      compensatedCone(*cone, probing.sampled, probing.stop, probing.radius, compensated);
  return refusal.isEmpty() ? finish(fitted, compensated) : refuse(refusal);
}

IPtr<IZelFeature> HardProbeConeCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius);
  if (!probing) return {};
  cone::FreeInitialValueUtil start;
  start.compute(probing->sampled);
  return finishCone(fit(probing->sampled, axialFitSetUp("IZelCone", start, nullptr)), *probing);
}

IPtr<IZelFeature> HardProbeConstrainedConeCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius | kPlane);
  if (!probing) return {};
  cone::ConstrainedInitialValueUtil start(probing->workPlane->normal());
  start.compute(probing->sampled);
  return finishCone(fit(probing->sampled, axialFitSetUp("IZelCone", start, probing->workPlane.get())),
                    *probing);
}
