#include "features/creators/hard_probe_circle_creators.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "basic_types/string_utilities.h"
#include "features/creators/creator_parameter_keys.h"
#include "features/creators/probe_geometry.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<HardProbeCircleCreator> circle(registeredClass("HardProbeCircleCreator"));
const ClassRegistration<HardProbePointCircleCreator> pointCircle(
    registeredClass("HardProbePointCircleCreator"));
const ClassRegistration<HardProbeBoltCircleCreator> boltCircle(registeredClass("HardProbeBoltCircleCreator"));

// A bolt circle needs three centres to be determined.
constexpr int32_t kMinimumChildCircles = 3;

// A circle without the inside test counts the stop point as outside.
bool holdsStop(IZelFeature& arc, const Vector3& stopInPlane) {
  auto* planar = queryPart<IZelFeaturePlanar>(&arc);
  return planar && planar->isInside(stopInPlane);
}

// Whether the table marks the circle as cut into the face.
bool markedHole(IZelParameter* mark) {
  auto* hole = queryPart<IZelIntValue>(mark);
  return hole && hole->value() != 0;
}

// The children's centres, ordered by their names' numbers ("<Feature2>" before "<Feature10>"), which is the
// order they were probed in; none when a child is not a circle.
std::optional<PointList> childCentres(IZelParameterTable& children) {
  std::vector<std::pair<ZelString, IZelParameter*>> entries;
  for (int32_t i = 1; i <= children.count(); ++i)
    entries.emplace_back(children.nameAt(i), children.parameterAt(i));
  std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return naturalCompare(a.first.c_str(), b.first.c_str()) < 0;
  });
  PointList centres;
  for (const auto& [name, value] : entries) {
    auto* embedded = queryPart<IZelEmbeddedFeatureParameter>(value);
    auto* arc = embedded ? queryPart<IZelArc>(embedded->feature()) : nullptr;
    if (!arc) return std::nullopt;
    centres.push_back(arc->center());
  }
  return centres;
}

}  // namespace

IPtr<IZelFeature> HardProbeCircleCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius | kPlane);
  if (!probing) return {};
  IPtr<IZelFeature> fitted = fit(probing->sampled, {"IZelArc", probing->workPlane.get()});
  auto* arc = queryPart<IZelArc>(fitted.get());
  if (!arc) return {};
  const PlaneEquation workPlane = PlaneEquation::of(*probing->workPlane);
  const double fittedRadius = arc->radius();
  const bool hole = markedHole(parameter(ZelString(kHoleKey)));
  if (!hole && stopOnSurface((workPlane.project(probing->stop) - arc->center()).length() - fittedRadius,
                             probing->radius))
    return refuse(liftProbeText());
  // With both radii above 0 the stop point stays on its side of the compensated circle, so the points move
  // by the same offset as the rim.
  const double offset =
      sideOffset(hole || holdsStop(*fitted, workPlane.project(probing->stop)), probing->radius);
  if (!(fittedRadius > 0.0) || !(fittedRadius + offset > 0.0))
    return refuse(tr("the probe ball is larger than the circle"));
  arc->setRadius(fittedRadius + offset);
  std::optional<FeatureFrame> frame = frameOf(*fitted);
  if (!frame) return {};
  const double k = 1.0 + offset / fittedRadius;
  PointList compensated;
  for (const Vector3& p : probing->sampled)
    compensated.push_back(scaleAcrossAxis(*frame, k, workPlane.project(p)));
  return finish(fitted, compensated);
}

IPtr<IZelFeature> HardProbePointCircleCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kRadius | kPlane);
  if (!probing) return {};
  const PlaneEquation workPlane = PlaneEquation::of(*probing->workPlane);
  const Vector3 tip = probing->sampled.front();
  if (workPlane.signedDistance(tip) < 0.0) return {};
  const Vector3 centre = workPlane.project(tip);
  const double height = (tip - centre).length();
  const double r = probing->radius;
  if (height > r) return {};
  IPtr<IZelArc> rim;
  rim.getService();
  if (!rim || !rim->setNormal(workPlane.n)) return {};
  rim->setCenter(centre);
  rim->setRadius(std::sqrt(r * r - height * height));
  IPtr<IZelFeature> feature(queryPart<IZelFeature>(rim.get()));
  if (!feature) return {};
  return finish(feature, {centre});
}

IPtr<IZelFeature> HardProbeBoltCircleCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kPlane);
  auto* children = parameterAs<IZelParameterTable>(kChildFeaturesKey);
  if (!probing || !children) return {};
  if (children->count() < kMinimumChildCircles)
    return refuse(tr("%1 circles are needed", ZelString::number(kMinimumChildCircles)));
  std::optional<PointList> centres = childCentres(*children);
  if (!centres) return {};
  IPtr<IZelFeature> fitted = fit(*centres, {"IZelArc", probing->workPlane.get()});
  auto* arc = queryPart<IZelArc>(fitted.get());
  if (!arc || !(arc->radius() > 0.0)) return {};
  return finish(fitted, *centres);
}
