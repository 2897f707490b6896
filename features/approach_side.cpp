#include "features/approach_side.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"

namespace {

// A position within this share of the ball's radius from a touch shows no travel: the ball resting on the
// surface, or the device's position noise.
constexpr double kClearOfTouch = 0.25;
// Metres: a position further from a touch says nothing of the way the ball came in, for the path between
// may bend (a move left over from the feature before, say); an arm streaming its moves reports many closer.
constexpr double kApproachReach = 0.015;
// The cosine of the widest angle between a telling travel and the surface's normal line: 75 degrees, a
// travel coming into the surface at 15 degrees.
constexpr double kTellingTravel = 0.2588;
// The cosine of the widest angle between a telling probe direction and the surface's normal line.
constexpr double kTellingProbeDirection = 0.5;
// Metres: a move this close to the one before it adds no position (a ball held still), only its direction.
constexpr double kStill = 20e-6;
// The moves kept between touches: an arm held still streams on, and its approach lies behind its rest.
constexpr size_t kMostMoves = 256;

// The cosine of the angle between a direction and a surface's normal, zero for a direction or normal unknown.
double leanOnto(const Vector3& direction, const Vector3& normal) {
  return direction.normalized().dot(normal.normalized());
}

bool tells(const TouchApproach& approach, double lean) {
  return std::abs(lean) >= (approach.travelled ? kTellingTravel : kTellingProbeDirection);
}

bool hasApproach(const TouchApproach& approach) {
  return approach.direction.squaredLength() > 0;
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

// Whether the stop lies clearly past the last touch along the axis, at either end: lifted off over the
// feature's end. A stop level with touches taken at one height (a circle's) stays beside them.
bool stopBeyondTouches(const ProbedFeature& probed) {
  const std::optional<Vector3> axis = axisOf(probed.feature);
  if (!axis || probed.touches.empty()) return false;
  const auto along = [&](const Vector3& point) { return point.dot(axis->normalized()); };
  const auto [lowest, highest] = std::ranges::minmax(probed.touches, {}, along);
  const double clear = kClearOfTouch * probed.probeRadius;
  return along(probed.stop) < along(lowest) - clear || along(probed.stop) > along(highest) + clear;
}

}  // namespace

void MoveTrail::moved(const DeviceMove& move) {
  if (!moves_.empty() && (move.point - moves_.back().point).length() <= kStill) {
    moves_.back().to = move.to;
    moves_.back().up = move.up;
    return;
  }
  if (moves_.size() == kMostMoves) {
    // The move nearest the one after it goes: a ball resting on the wall streams moves a few micrometres
    // apart, while its travel in spans millimetres and must stay.
    size_t nearest = 0;
    for (size_t i = 1; i + 1 < moves_.size(); ++i) {
      if ((moves_[i + 1].point - moves_[i].point).squaredLength() <
          (moves_[nearest + 1].point - moves_[nearest].point).squaredLength())
        nearest = i;
    }
    moves_.erase(moves_.begin() + static_cast<std::ptrdiff_t>(nearest));
  }
  moves_.push_back(move);
}

void ApproachTracker::moved(const Vector3& point, const Vector3& probeDirection) {
  trail_.moved({point, probeDirection, {}});
}

TouchApproach ApproachTracker::touched(const Vector3& point, double probeRadius) {
  const std::vector<DeviceMove> moves = trail_.take();
  if (moves.empty()) return {};
  const auto clear = std::ranges::find_if(moves.rbegin(), moves.rend(), [&](const DeviceMove& move) {
    return (point - move.point).length() > kClearOfTouch * probeRadius;
  });
  if (clear != moves.rend() && (point - clear->point).length() <= kApproachReach)
    return {(point - clear->point).normalized(), true};
  return {moves.back().to.normalized(), false};
}

bool touchesPushAlong(const Vector3& normal, std::span<const TouchApproach> approaches) {
  return !approaches.empty() && std::ranges::all_of(approaches, [&](const TouchApproach& approach) {
    const double lean = leanOnto(approach.direction, normal);
    return lean > 0 && tells(approach, lean);
  });
}

bool touchesPushAlong(const Vector3& normal, std::span<const Vector3> probeDirections) {
  std::vector<TouchApproach> approaches;
  for (const Vector3& direction : probeDirections) approaches.push_back({direction, false});
  return touchesPushAlong(normal, approaches);
}

SideJudgement judgeSide(const ProbedFeature& probed) {
  if (probed.probeRadius == 0 || probed.approaches.size() != probed.touches.size()) return {};
  const std::vector<Vector3> air = airSides(probed);
  if (air.empty()) return {};
  bool everyTouchTells = true;
  bool intoMaterial = false;
  std::optional<size_t> steepest;  // of the touches that came in towards the creator's air
  double steepestLean = 0.0;
  for (size_t i = 0; i < air.size(); ++i) {
    const double lean = leanOnto(probed.approaches[i].direction, air[i]);
    if (!tells(probed.approaches[i], lean)) {
      everyTouchTells = false;
    } else if (lean < 0) {
      intoMaterial = true;
    } else if (lean > steepestLean) {
      steepest = i;
      steepestLean = lean;
    }
  }
  // Touches that tell both sides leave it to the stop.
  if (intoMaterial) return {};
  if (!steepest) {
    const bool moved = std::ranges::any_of(probed.approaches, hasApproach);
    return {moved && stopBeyondTouches(probed) ? SideJudgement::kRefuseStopBeyond : SideJudgement::kKeep, {}};
  }
  if (!everyTouchTells || !stopBeyondTouches(probed)) return {SideJudgement::kRefuse, {}};
  const Vector3 lifted =
      probed.touches[*steepest] - probed.approaches[*steepest].direction * probed.probeRadius;
  return {SideJudgement::kRemake, lifted};
}
