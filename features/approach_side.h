#pragma once

// What the way the probe came into each touch tells of the side a feature's material lies on, for every
// compensated kind and for the planes of a plane alignment. A hard probe's ball moves into the material to
// touch it, so a touch's approach says on which side the material is, whatever a stop point says.
//
// A touch's approach is the ball's travel into it: the direction from the last position the device reported
// since the previous touch or stop that lies clearly away from the touch (beyond a quarter of the ball's
// radius) to the touch, when that position lies within 15 mm of it. An arm streams its moves, so its touches
// carry their travel however its stylus is held; the emulator moves along its pick ray before each touch.
// Where no move shows travel, the probe direction the device reported with its last move stands in; a touch
// with no move before it has no approach at all (a recording made without moves) and says nothing.
// A travel tells its side while it comes into the surface at 15 degrees or more: a ball that moved into a
// surface came from its free side, and the position noise over a quarter of a ball's radius turns a travel
// by a few degrees at most. A probe direction tells only while it leans within 60 degrees of the surface's
// normal: a stylus held upright against a wall lies almost along it, and the sign of its small lean says
// nothing.
//
// A creator takes the side from the stop point: it compensates away from it. Where the touches that tell
// all say the material lies where the creator put the air, the stop lies on the material side and the
// feature would be compensated into the air. Then a stop beyond the end of a round feature's touches (by
// more than a quarter of the ball's radius along its axis), as the probe is lifted straight up off a boss or
// out of a bore beside it, says nothing of the radial side: when every touch tells, the feature is made
// again from a stop on their side. Any other such stop is refused: a plane's or a sphere's, or one among
// touches that do not all tell, may come of a stray touch.
// Touches that tell both sides leave the side to the stop. Where no touch tells although the device
// reported moves, a stop beyond the ends of a round feature's touches is refused too: it cannot tell a bore
// from a boss. Touches without any approach (a recording without moves) leave the side to the stop.

#include <cstddef>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "basic_types/vector3.h"
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

// How a touch came into the surface.
struct TouchApproach {
  Vector3 direction;       // unit, towards the touch; zero for none
  bool travelled = false;  // the ball's travel; else the reported probe direction
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

// Whether there are touches, each with an approach that tells, and every one came in along the normal.
bool touchesPushAlong(const Vector3& normal, std::span<const TouchApproach> approaches);
// The same of touches known only by their probe directions (zero where unknown).
bool touchesPushAlong(const Vector3& normal, std::span<const Vector3> probeDirections);

// A made feature with what it was made from.
struct ProbedFeature {
  IZelFeature& feature;
  std::span<const Vector3> touches;           // the sampled tip centres, in order
  std::span<const TouchApproach> approaches;  // one per touch
  std::span<const Vector3> compensated;       // the creator's compensated points, one per touch
  Vector3 stop;
  double probeRadius = 0.0;
  const Vector3* workPlaneNormal = nullptr;  // a feature in a work plane is compensated within it
};

// What the touches make of a made feature's side.
struct SideJudgement {
  enum Verdict {
    kKeep,
    kRefuse,            // the stop lies on the side the touches came from
    kRefuseStopBeyond,  // no touch tells, and the stop beyond the touches' ends cannot
    kRemake,
  };
  Verdict verdict = kKeep;
  Vector3 liftedStop;  // for kRemake: the best telling touch lifted off along its approach by the radius
};

// Keep for a feature made without a radius (a trial fit through the tip centres) or without approaches.
SideJudgement judgeSide(const ProbedFeature& probed);
