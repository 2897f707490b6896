#include "features/collectors/simple_collectors.h"

#include "features/approach_side.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<LineCollector> line(registeredClass("LineCollector"));
const ClassRegistration<PointCollector> point(registeredClass("PointCollector"));
const ClassRegistration<PlaneCollector> plane(registeredClass("PlaneCollector"));
const ClassRegistration<SurfacePointCollector> surfacePoint(registeredClass("SurfacePointCollector"));
const ClassRegistration<TargetPointCollector> targetPoint(registeredClass("TargetPointCollector"));
const ClassRegistration<MaxPointCollector> maxPoint(registeredClass("MaxPointCollector"));
const ClassRegistration<MinPointCollector> minPoint(registeredClass("MinPointCollector"));
const ClassRegistration<SphereCollector> sphere(registeredClass("SphereCollector"));
const ClassRegistration<ConeCollector> cone(registeredClass("ConeCollector"));
const ClassRegistration<ConstrainedConeCollector> constrainedCone(
    registeredClass("ConstrainedConeCollector"));

}  // namespace

ZelString PlaneCollector::refusalOfMade(IZelFeature& made) {
  // With no radius to compensate (the trial fit through the ball centres, which runs before any stop is
  // taken, or a pointed probe) the side changes nothing.
  if (probeRadius() == 0) return {};
  auto* plane = queryPart<IZelPlane>(&made);
  if (!plane || !touchesPushAlong(plane->normal(), touchDirections())) return {};
  return tr(
      "the stop lies on the other side of the plane than every touch came from; lift the probe off "
      "along its approach and stop again");
}
