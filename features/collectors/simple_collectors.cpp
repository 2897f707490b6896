#include "features/collectors/simple_collectors.h"

#include "framework/registrations/class_registration.h"

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
