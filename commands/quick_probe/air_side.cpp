#include "commands/quick_probe/air_side.h"

#include <cmath>

#include "features/collectors/feature_collector_base.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/feature_kinds.h"

namespace {

// Far beyond any part an arm reaches round, so that the point stays on the air side of a probed plane or
// boss however far the probed surface lies from its nominal.
constexpr double kAirReach = 1.0;
// A normal must lean this far across the surface (the cosine of the angle to the feature's own outward
// direction) to tell which side the material is on; a 45° cone's leans 0.71.
constexpr double kTellingLean = 0.5;

// The cross-section of a round feature through a point: its centre (on the axis, level with the point) and
// its radius there.
struct Section {
  Vector3 centre;
  double radius = 0.0;
};

Vector3 footOnAxis(const Vector3& point, const Vector3& origin, const Vector3& direction) {
  return origin + Vector3::projectOnto(point - origin, direction);
}

std::optional<Section> sectionThrough(IZelFeature& feature, const Vector3& point) {
  if (auto* cylinder = queryPart<IZelCylinder>(&feature))
    return Section{footOnAxis(point, cylinder->axisPoint(), cylinder->axisDirection()), cylinder->radius()};
  if (auto* cone = queryPart<IZelCone>(&feature)) {
    const Vector3 along = cone->endB() - cone->endA();
    const double length = along.length();
    if (!(length > 0)) return std::nullopt;
    const Vector3 foot = footOnAxis(point, cone->endA(), along);
    const double t = (foot - cone->endA()).dot(along) / (length * length);
    return Section{foot, cone->radiusA() + t * (cone->radiusB() - cone->radiusA())};
  }
  if (auto* sphere = queryPart<IZelSphere>(&feature)) return Section{sphere->center(), sphere->radius()};
  if (auto* arc = queryPart<IZelArc>(&feature))
    return Section{footOnAxis(point, arc->center(), arc->normal()), arc->radius()};
  return std::nullopt;
}

bool holds(const Section& section, const Vector3& point) {
  return (point - section.centre).length() < section.radius;
}

}  // namespace

std::optional<Vector3> airSidePoint(IZelFeature& nominal, const Vector3& surfacePoint, const Vector3& outward,
                                    const Vector3& touch) {
  const Vector3 out = outward.normalized();
  if (auto* plane = queryPart<IZelPlane>(&nominal)) {
    if (std::abs(out.dot(plane->normal())) < kTellingLean) return std::nullopt;
    return surfacePoint + out * kAirReach;
  }
  const std::optional<Section> section = sectionThrough(nominal, surfacePoint);
  if (!section) return std::nullopt;
  const double lean = out.dot((surfacePoint - section->centre).normalized());
  if (!(std::abs(lean) >= kTellingLean)) return std::nullopt;
  // Facing the middle: a hole, whose middle is air.
  if (lean >= 0) return surfacePoint + out * kAirReach;
  return sectionThrough(nominal, touch).value_or(*section).centre;
}

bool sameSideAsNominal(IZelFeature& probed, IZelFeature& nominal, const std::optional<Vector3>& air) {
  auto* probedPlane = queryPart<IZelPlane>(&probed);
  auto* nominalPlane = queryPart<IZelPlane>(&nominal);
  if (probedPlane && nominalPlane) return probedPlane->normal().dot(nominalPlane->normal()) > 0;
  if (!air) return true;
  const std::optional<Section> probedSection = sectionThrough(probed, *air);
  const std::optional<Section> nominalSection = sectionThrough(nominal, *air);
  return !probedSection || !nominalSection || holds(*probedSection, *air) == holds(*nominalSection, *air);
}

bool touchedFromModelMaterial(IZelFeatureCollector& collector) {
  auto* base = queryPart<FeatureCollectorBase>(&collector);
  return base && base->sideVerdict() == SideJudgement::kRefuse;
}

ZelString modelMaterialRefusal(const ZelString& name) {
  return tr(
      "%1 is refused: the probe came to it from the side where the reference model has material. Its "
      "touches are dropped; probe it again.",
      name);
}
