#include "features/creators/hard_probe_point_set_creators.h"

#include "features/creators/hard_probe_point_creators.h"
#include "features/creators/probe_geometry.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<HardProbeMaxPointCreator> maxPoint(registeredClass("HardProbeMaxPointCreator"));
const ClassRegistration<HardProbeMinPointCreator> minPoint(registeredClass("HardProbeMinPointCreator"));

// The first point (from 1) whose height above the plane is preferred to every earlier one's.
template <class Prefers>
int32_t firstPreferred(IZelPlane& plane, const PointList& points, Prefers prefers) {
  const PlaneEquation equation = PlaneEquation::of(plane);
  size_t chosen = 0;
  for (size_t i = 1; i < points.size(); ++i) {
    if (prefers(equation.signedDistance(points[i]), equation.signedDistance(points[chosen]))) chosen = i;
  }
  return static_cast<int32_t>(chosen) + 1;
}

}  // namespace

int32_t HardProbeMaxPointCreator::pickPoint(IZelPlane& plane, const PointList& points) {
  return firstPreferred(plane, points, [](double a, double b) { return a > b; });
}

int32_t HardProbeMinPointCreator::pickPoint(IZelPlane& plane, const PointList& points) {
  return firstPreferred(plane, points, [](double a, double b) { return a < b; });
}

IPtr<IZelFeature> HardProbePointSetCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius | kPlane);
  if (!probing) return {};
  const int32_t picked = pickPoint(*probing->workPlane, probing->sampled);
  if (picked < 1 || static_cast<size_t>(picked) > probing->sampled.size()) return {};
  IPtr<IZelFeature> feature = makePointFeature(probing->sampled[static_cast<size_t>(picked) - 1]);
  auto* point = queryPart<IZelPoint>(feature.get());
  if (!point) return {};
  // Level with the stop point counts as below it: the point moves up.
  const PlaneEquation equation = PlaneEquation::of(*probing->workPlane);
  const Vector3 x = positionOf(*feature);
  const double signedRadius = equation.signedDistance(probing->stop) > equation.signedDistance(x)
                                  ? -probing->radius
                                  : probing->radius;
  const Vector3 moved = x + equation.n * signedRadius;
  point->setPosition(moved.x, moved.y, moved.z);
  return finish(feature, {moved});
}
