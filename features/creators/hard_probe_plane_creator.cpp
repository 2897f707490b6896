#include "features/creators/hard_probe_plane_creator.h"

#include "features/creators/probe_geometry.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<HardProbePlaneCreator> registration(registeredClass("HardProbePlaneCreator"));

// Moves the plane one radius away from the stop point and turns its normal towards the stop point's side,
// whichever sense the fit gave it. A stop point whose distance is not a number counts as behind.
void offsetAwayFromStop(IZelPlane& plane, const Vector3& stop, double radius) {
  const Vector3 offset = plane.normal() * radius;
  const Vector3 centre = plane.center();
  const double side = PlaneEquation::of(plane).signedDistance(stop);
  if (side >= 0.0) {
    plane.setCenter(centre - offset);
    return;
  }
  plane.setCenter(centre + offset);
  plane.reverseOrientation();
}

}  // namespace

IPtr<IZelFeature> HardProbePlaneCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius);
  if (!probing) return {};
  IPtr<IZelFeature> fitted = fit(probing->sampled, {"IZelPlane"});
  auto* plane = queryPart<IZelPlane>(fitted.get());
  if (!plane) return {};
  // Touches meant for another feature (a bore's, at one height) make a plane too, with a lifted stop in it.
  if (stopOnSurface(PlaneEquation::of(*plane).signedDistance(probing->stop), probing->radius))
    return refuse(
        tr("the stop lies in the plane of the touches, so it cannot tell which side they came "
           "from; stop again off that plane, or undo to take touches back"));
  offsetAwayFromStop(*plane, probing->stop, probing->radius);
  const PlaneEquation moved = PlaneEquation::of(*plane);
  const double signedRadius = moved.signedDistance(probing->stop) >= 0.0 ? -probing->radius : probing->radius;
  PointList compensated;
  for (const Vector3& p : probing->sampled) compensated.push_back(p + moved.n * signedRadius);
  return finish(fitted, compensated);
}
