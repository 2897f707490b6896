#include "features/creators/hard_probe_sphere_creator.h"

#include "features/creators/probe_geometry.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<HardProbeSphereCreator> registration(registeredClass("HardProbeSphereCreator"));

// A sphere without the containment test counts the stop point as outside.
bool containsStop(IZelFeature& sphere, const Vector3& stop) {
  auto* tests = queryPart<IZelFeatureExt>(&sphere);
  return tests && tests->contains(stop);
}

}  // namespace

IPtr<IZelFeature> HardProbeSphereCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius);
  if (!probing) return {};
  IPtr<IZelFeature> fitted = fit(probing->sampled, {"IZelSphere"});
  auto* sphere = queryPart<IZelSphere>(fitted.get());
  if (!sphere) return {};
  const double fittedRadius = sphere->radius();
  if (stopOnSurface((probing->stop - sphere->center()).length() - fittedRadius, probing->radius))
    return refuse(liftProbeText());
  // With both radii above 0 the stop point stays on its side of the compensated sphere, so the points move
  // by the same offset as the surface.
  const double offset = sideOffset(containsStop(*fitted, probing->stop), probing->radius);
  if (!(fittedRadius > 0.0) || !(fittedRadius + offset > 0.0))
    return refuse(tr("the probe ball is larger than the sphere"));
  sphere->setRadius(fittedRadius + offset);
  PointList compensated;
  if (std::optional<FeatureFrame> frame = frameOf(*fitted)) {
    const double k = 1.0 + offset / fittedRadius;
    for (const Vector3& p : probing->sampled) compensated.push_back(frame->origin + (p - frame->origin) * k);
  }
  return finish(fitted, compensated);
}
