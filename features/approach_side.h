#pragma once

// Which side of a feature its material lies on, from where the ball was, for every compensated kind, for
// Quick Probe and for the planes of a plane alignment. The ball's centre is never inside the material, so
// the positions the device reported near the feature lie on its free side.
//
// The ball-centre surface through the touches needs no side (ball_surface.h). Each touch is judged by the
// positions the device reported since the touch or stop before it: a position tells where it lies within
// the feature's extent, clearly off that surface (kClearOfSurface) and nearer it than the ball's diameter
// (no material wall lies between: a ball beyond one is further off). A position within a quarter of the
// ball's radius of its touch is the ball resting there; one beyond 15 mm of it is no travel into it. A ball
// slid along the wall, or coming down from beyond the feature's ends, tells nothing. A touch with no position
// in between (a recording whose moves show no travel) falls back on the probe direction the device reported:
// the ball moves along it into the material, and it tells while it leans within 60 degrees of the surface's
// normal (a stylus held upright against a wall lies almost along it, and the sign of its small lean says
// nothing).
//
// A creator takes the side from the stop point: it compensates away from it. Touches that tell both sides
// are refused: no single surface allows it, and a touch may lie on another one. Where the telling touches
// say the air lies where the creator put the material, a stop that itself lies clearly on the creator's
// side (level with a round feature's touches) contradicts them and is refused; any other stop (beyond a round
// feature's ends, or on the surface) said nothing, and the feature is made again from a stop on the
// touches' side. A position is judged by its offset where it passes its own touch, so that a stray touch
// among the others, which moves the fit, does not move what the touches before it tell. Where no touch tells
// although the device reported moves, a stop beyond the ends of a round feature's touches is refused too: it
// cannot tell a bore from a boss. With neither moves nor probe directions, the stop alone tells, as it always
// did.

#include <cstddef>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "basic_types/vector3.h"
#include "features/ball_surface.h"
#include "host_api/zel_feature.h"

// A move a device reports: the ball's centre, the probe direction and the device's up.
struct DeviceMove {
  Vector3 point, to, up;
};

// The moves a device reports since the last touch or stop, the newest last. A move that adds no position to
// the one before (a ball held still, as an arm streams on) only turns its directions; past a bounded number,
// the move nearest the one after it goes, so that a rest on the wall, however noisy, never pushes out the
// travel before it. Main thread only.
class MoveTrail {
 public:
  void moved(const DeviceMove& move);
  // The moves kept; the trail starts again.
  std::vector<DeviceMove> take() { return std::exchange(moves_, {}); }
  void clear() { moves_.clear(); }

 private:
  std::vector<DeviceMove> moves_;
};

// How a touch came into the surface: the travel a creator may start its fit from, and where the ball was.
struct TouchApproach {
  Vector3 direction;               // unit, towards the touch; zero for none
  bool travelled = false;          // the ball's travel; else the reported probe direction
  std::vector<Vector3> positions;  // the ball centres reported since the touch or stop before, oldest first
  Vector3 probeDirection;          // the last one reported with them; zero for none
};

// The moves a device reports between touches, turned into each touch's approach. Main thread only.
class ApproachTracker {
 public:
  // A move of the ball's centre to point with the probe pointing along probeDirection.
  void moved(const Vector3& point, const Vector3& probeDirection);
  // The approach of a touch at point by a ball of probeRadius; the moves before it are forgotten.
  TouchApproach touched(const Vector3& point, double probeRadius);
  // At a stop: the moves before it are no approach of a touch after it.
  void forget() { trail_.clear(); }

 private:
  MoveTrail trail_;
};

// The sides the touches' approaches tell of the ball-centre surface through them; kNone when none tells.
BallSide touchedSide(const BallSurface& surface, std::span<const Vector3> touches,
                     std::span<const TouchApproach> approaches, double probeRadius);
// The same of each touch.
std::vector<BallSide> touchedSides(const BallSurface& surface, std::span<const Vector3> touches,
                                   std::span<const TouchApproach> approaches, double probeRadius);

// A made feature with what it was made from.
struct ProbedFeature {
  IZelFeature& feature;
  std::span<const Vector3> touches;           // the sampled tip centres, in order
  std::span<const TouchApproach> approaches;  // one per touch
  Vector3 stop;
  double probeRadius = 0.0;
};

// What the touches make of a made feature's side.
struct SideJudgement {
  enum Verdict {
    kKeep,
    kRefuse,            // the stop lies clearly on the other side than the telling touches came from
    kRefuseDisagree,    // touches tell both sides
    kRefuseStopBeyond,  // no touch tells, and the stop beyond the touches' ends cannot
    kRemake,
  };
  Verdict verdict = kKeep;
  Vector3 liftedStop;  // for kRemake: a point on the telling touches' side, level with the first of them
  std::vector<BallSide> sides;  // what each touch told, for kRefuse and kRefuseDisagree
};

// Keep for a feature made without a radius (a trial fit through the tip centres) or without approaches.
SideJudgement judgeSide(const ProbedFeature& probed);
// The same of a feature made without a radius through the ball centres, for a creator that made nothing
// from the stop (it may have taken a small bore for a boss smaller than the ball): kRemake from a stop on
// the side the touches tell where the stop tells none or theirs; kKeep where nothing refuses the creator's
// own reason, or the stop lies on the surface.
SideJudgement judgeThroughCentres(const ProbedFeature& throughCentres);
