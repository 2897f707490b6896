#include "features/approach_side.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A position within this share of the ball's radius from a touch shows no travel: the ball resting on the
// surface, or the device's position noise.
constexpr double kClearOfTouch = 0.25;
// Metres: a position further from a touch says nothing of the way the ball came in, for the path between
// may bend (a move left over from the feature before, say); an arm streaming its moves reports many closer.
constexpr double kApproachReach = 0.015;
// The cosine of the widest angle between a telling probe direction and the surface's normal line.
constexpr double kTellingProbeDirection = 0.5;
// Metres: a move this close to the one before it adds no position (a ball held still), only its direction.
constexpr double kStill = 20e-6;
// The moves kept between touches: an arm held still streams on, and its approach lies behind its rest.
constexpr size_t kMostMoves = 256;

BallSide sideOfOffset(double offset) {
  return offset > 0 ? BallSide::kOut : BallSide::kIn;
}

// What the ball's positions before a touch tell, or its probe direction where they show no travel.
BallSide sideOfTouch(const BallSurface& surface, const Vector3& touch, const TouchApproach& approach,
                     double probeRadius) {
  BallSide seen = BallSide::kNone;
  bool travelled = false;
  for (const Vector3& position : approach.positions) {
    const double fromTouch = (position - touch).length();
    if (fromTouch <= kClearOfTouch * probeRadius || fromTouch > kApproachReach) continue;
    travelled = true;
    // Off the surface where it passes the touch: a stray touch among the others moves the fit, never
    // the touch itself.
    const double offset = surface.offset(position) - surface.offset(touch);
    if (surface.spans(position) && std::abs(offset) > kClearOfSurface && std::abs(offset) < 2 * probeRadius)
      seen = seen | sideOfOffset(offset);
  }
  if (travelled) return seen;
  // The probe points into the material.
  const double lean = approach.probeDirection.normalized().dot(surface.outward(touch));
  if (std::abs(lean) < kTellingProbeDirection) return BallSide::kNone;
  return lean < 0 ? BallSide::kOut : BallSide::kIn;
}

// Whether the device reported a move that could have told: travel, or a probe direction.
bool hasApproach(const TouchApproach& approach, const Vector3& touch, double probeRadius) {
  return approach.probeDirection.squaredLength() > 0 ||
         std::ranges::any_of(approach.positions, [&](const Vector3& position) {
           return (position - touch).length() > kClearOfTouch * probeRadius;
         });
}

// The side a stop lies on, where it tells one: level with a round feature's touches, clearly off the surface.
BallSide sideOfStop(const BallSurface& surface, const Vector3& stop) {
  const double offset = surface.offset(stop);
  if (surface.beyondEnds(stop) || std::abs(offset) <= kClearOfSurface) return BallSide::kNone;
  return sideOfOffset(offset);
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
  TouchApproach approach;
  for (const DeviceMove& move : moves) approach.positions.push_back(move.point);
  approach.probeDirection = moves.back().to.normalized();
  const auto clear = std::ranges::find_if(moves.rbegin(), moves.rend(), [&](const DeviceMove& move) {
    return (point - move.point).length() > kClearOfTouch * probeRadius;
  });
  if (clear != moves.rend() && (point - clear->point).length() <= kApproachReach) {
    approach.direction = (point - clear->point).normalized();
    approach.travelled = true;
  } else {
    approach.direction = approach.probeDirection;
  }
  return approach;
}

std::vector<BallSide> touchedSides(const BallSurface& surface, std::span<const Vector3> touches,
                                   std::span<const TouchApproach> approaches, double probeRadius) {
  std::vector<BallSide> sides;
  for (size_t i = 0; i < touches.size() && i < approaches.size(); ++i)
    sides.push_back(sideOfTouch(surface, touches[i], approaches[i], probeRadius));
  return sides;
}

BallSide touchedSide(const BallSurface& surface, std::span<const Vector3> touches,
                     std::span<const TouchApproach> approaches, double probeRadius) {
  BallSide told = BallSide::kNone;
  for (const BallSide side : touchedSides(surface, touches, approaches, probeRadius)) told = told | side;
  return told;
}

namespace {

// The touches' sides against the side the made feature put the air (none for a feature made without one).
SideJudgement judged(const BallSurface& surface, const ProbedFeature& probed, BallSide madeAir) {
  std::vector<BallSide> sides = touchedSides(surface, probed.touches, probed.approaches, probed.probeRadius);
  BallSide told = BallSide::kNone;
  for (const BallSide side : sides) told = told | side;
  if (told == BallSide::kBoth) return {SideJudgement::kRefuseDisagree, {}, std::move(sides)};
  if (told == BallSide::kNone) {
    bool moved = false;
    for (size_t i = 0; i < probed.touches.size(); ++i)
      moved = moved || hasApproach(probed.approaches[i], probed.touches[i], probed.probeRadius);
    const bool beyond = surface.beyondEnds(probed.stop);
    return {moved && beyond ? SideJudgement::kRefuseStopBeyond : SideJudgement::kKeep, {}, {}};
  }
  if (told == madeAir) return {};
  const BallSide stopSide = sideOfStop(surface, probed.stop);
  if (stopSide != BallSide::kNone && stopSide != told) return {SideJudgement::kRefuse, {}, std::move(sides)};
  const size_t first = static_cast<size_t>(std::ranges::find(sides, told) - sides.begin());
  return {SideJudgement::kRemake, surface.pointOn(told, probed.touches[first]), {}};
}

std::optional<BallSurface> surfaceOf(const ProbedFeature& probed) {
  if (probed.probeRadius == 0 || probed.approaches.size() != probed.touches.size()) return std::nullopt;
  return BallSurface::through(probed.feature, probed.touches, probed.probeRadius);
}

}  // namespace

SideJudgement judgeSide(const ProbedFeature& probed) {
  const std::optional<BallSurface> surface = surfaceOf(probed);
  return surface ? judged(*surface, probed, surface->madeAir()) : SideJudgement{};
}

SideJudgement judgeThroughCentres(const ProbedFeature& throughCentres) {
  const std::optional<BallSurface> surface = surfaceOf(throughCentres);
  // A stop taken on the surface is the creator's to refuse: the operator is told to lift the probe. One
  // beyond a round feature's ends only lies on the surface's continuation, and tells nothing.
  if (!surface || (!surface->beyondEnds(throughCentres.stop) &&
                   std::abs(surface->offset(throughCentres.stop)) <= kClearOfSurface))
    return {};
  return judged(*surface, throughCentres, BallSide::kNone);
}
