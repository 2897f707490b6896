#include "features/approach_side.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"

namespace {

// The cosine of the widest angle between a telling direction and the surface's normal line.
constexpr double kTellingLean = 0.5;

// The cosine of the angle between a direction and a surface's normal, zero for a direction or normal unknown.
double leanOnto(const Vector3& direction, const Vector3& normal) {
  return direction.normalized().dot(normal.normalized());
}

// Where the creator put the air at each touch: a plane's normal points to it; a compensated point moved into
// the material, within the work plane for a feature in one. Empty when the points do not say it.
std::vector<Vector3> airSides(const ProbedFeature& probed) {
  if (auto* plane = queryPart<IZelPlane>(&probed.feature))
    return std::vector<Vector3>(probed.touches.size(), plane->normal());
  if (probed.compensated.size() != probed.touches.size()) return {};
  std::vector<Vector3> sides;
  for (size_t i = 0; i < probed.touches.size(); ++i) {
    const Vector3 offset = probed.touches[i] - probed.compensated[i];
    sides.push_back(probed.workPlaneNormal ? Vector3::perpendicularPart(offset, *probed.workPlaneNormal)
                                           : offset);
  }
  return sides;
}

// The axis of a round feature, along which its touches span its length; none for other kinds.
std::optional<Vector3> axisOf(IZelFeature& feature) {
  if (auto* cylinder = queryPart<IZelCylinder>(&feature)) return cylinder->axisDirection();
  if (auto* cone = queryPart<IZelCone>(&feature)) return cone->axisDirection();
  if (auto* arc = queryPart<IZelArc>(&feature)) return arc->normal();
  return std::nullopt;
}

// Whether the stop lies past the last touch along the axis, at either end: lifted off over the feature's end.
bool stopBeyondTouches(const ProbedFeature& probed) {
  const std::optional<Vector3> axis = axisOf(probed.feature);
  if (!axis || probed.touches.empty()) return false;
  const auto along = [&](const Vector3& point) { return point.dot(*axis); };
  const auto [lowest, highest] = std::ranges::minmax(probed.touches, {}, along);
  return along(probed.stop) < along(lowest) || along(probed.stop) > along(highest);
}

}  // namespace

bool touchesPushAlong(const Vector3& normal, std::span<const Vector3> directions) {
  return !directions.empty() && std::ranges::all_of(directions, [&](const Vector3& direction) {
    return leanOnto(direction, normal) >= kTellingLean;
  });
}

SideJudgement judgeSide(const ProbedFeature& probed) {
  if (probed.probeRadius == 0 || probed.directions.size() != probed.touches.size()) return {};
  const std::vector<Vector3> air = airSides(probed);
  if (air.empty()) return {};
  bool everyTouchTells = true;
  bool intoMaterial = false;
  std::optional<size_t> steepest;  // of the touches that pushed towards the creator's air
  double steepestLean = 0.0;
  for (size_t i = 0; i < air.size(); ++i) {
    const double lean = leanOnto(probed.directions[i], air[i]);
    if (std::abs(lean) < kTellingLean) {
      everyTouchTells = false;
    } else if (lean < 0) {
      intoMaterial = true;
    } else if (lean > steepestLean) {
      steepest = i;
      steepestLean = lean;
    }
  }
  // Touches that tell both sides leave it to the stop, as touches that tell nothing do.
  if (!steepest || intoMaterial) return {};
  if (!everyTouchTells || !stopBeyondTouches(probed)) return {SideJudgement::kRefuse, {}};
  const Vector3 lifted =
      probed.touches[*steepest] - probed.directions[*steepest].normalized() * probed.probeRadius;
  return {SideJudgement::kRemake, lifted};
}
