#include "features/creators/hard_probe_point_creators.h"

#include "features/creators/probe_geometry.h"
#include "framework/host_glue/unit_service.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<HardProbePointCreator> point(registeredClass("HardProbePointCreator"));
const ClassRegistration<HardProbeSurfacePointCreator> surfacePoint(
    registeredClass("HardProbeSurfacePointCreator"));
const ClassRegistration<HardProbeTargetPointCreator> targetPoint(
    registeredClass("HardProbeTargetPointCreator"));

// A target's size in the host's base unit, scaled by the unit service's factor for it.
constexpr double kTargetSize = 0.04;
constexpr int32_t kOpenModel = 0;

// Never empty: the creators ask for one point at least.
Vector3 meanOf(const PointList& points) {
  Vector3 sum;
  for (const Vector3& p : points) sum = sum + p;
  return points.size() == 1 ? points.front() : sum / static_cast<double>(points.size());
}

void setPosition(IZelPoint& point, const Vector3& p) {
  point.setPosition(p.x, p.y, p.z);
}

// The point moved onto the plane; its compensated point is where it lands.
IPtr<IZelFeature> projectedOnto(const IPtr<IZelFeature>& feature, IZelPlane& plane, PointList& compensated) {
  auto* point = queryPart<IZelPoint>(feature.get());
  if (!point) return {};
  const Vector3 foot = PlaneEquation::of(plane).project(positionOf(*feature));
  setPosition(*point, foot);
  compensated = {foot};
  return feature;
}

}  // namespace

IPtr<IZelFeature> makePointFeature(const Vector3& position) {
  IPtr<IZelPoint> point;
  point.getService();
  if (!point) return {};
  setPosition(*point, position);
  return IPtr<IZelFeature>(queryPart<IZelFeature>(point.get()));
}

Vector3 positionOf(IZelFeature& feature) {
  auto* point = queryPart<IZelPoint>(&feature);
  double xyz[3] = {0.0, 0.0, 0.0};
  if (point) point->position(xyz);
  return {xyz[0], xyz[1], xyz[2]};
}

IPtr<IZelFeature> HardProbePointCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled);
  if (!probing) return {};
  IPtr<IZelFeature> feature = makePointFeature(meanOf(probing->sampled));
  if (!feature) return {};
  return finish(feature, {positionOf(*feature)});
}

IPtr<IZelFeature> HardProbeSurfacePointCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kPlane);
  if (!probing) return {};
  PointList compensated;
  IPtr<IZelFeature> feature =
      projectedOnto(makePointFeature(meanOf(probing->sampled)), *probing->workPlane, compensated);
  if (!feature) return {};
  return finish(feature, compensated);
}

IPtr<IZelFeature> HardProbeTargetPointCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kPlane);
  if (!probing) return {};
  IPtr<IZelTargetPoint> target;
  target.getService();
  if (!target) return {};
  setPosition(*target, meanOf(probing->sampled));
  target->setSize(kTargetSize * UnitService::modelScale(kOpenModel));
  target->setDirection(probing->workPlane->normal());
  PointList compensated;
  IPtr<IZelFeature> feature = projectedOnto(IPtr<IZelFeature>(queryPart<IZelFeature>(target.get())),
                                            *probing->workPlane, compensated);
  if (!feature) return {};
  return finish(feature, compensated);
}
