#pragma once

// What the probe's direction at each touch tells of the side a feature's material lies on, for every
// compensated kind. A hard probe touches along its axis, pushing into the material, so a touch whose
// direction leans well across the surface says on which side the material is, whatever a stop point says.
// A touch's direction is the device's probe direction reported with its last move before the touch; a touch
// with no such move has none (zero) and says nothing. A direction tells the side only when it leans well
// across the surface: a stylus held upright against a wall lies almost along it, and the sign of its small
// lean says nothing.
//
// A creator takes the side from the stop point: it compensates away from it. Where the touches that tell
// all say the material lies where the creator put the air, the stop lies on the material side and the
// feature would be compensated into the air. Then a stop beyond the end of a round feature's touches, as
// the probe is lifted straight up off a boss or out of a bore beside it, says nothing of the radial side:
// when every touch tells, the feature is made again from a stop on their side. Any other such stop is
// refused: a plane's or a sphere's, or one among touches that do not all tell, may come of a stray touch.
// Touches that tell nothing, or tell both sides, leave the side to the stop.

#include <optional>
#include <span>

#include "basic_types/vector3.h"
#include "host_api/zel_feature.h"

// Whether there are touches, each with a direction, and every one points along the normal within 60°.
bool touchesPushAlong(const Vector3& normal, std::span<const Vector3> directions);

// A made feature with what it was made from.
struct ProbedFeature {
  IZelFeature& feature;
  std::span<const Vector3> touches;      // the sampled tip centres, in order
  std::span<const Vector3> directions;   // each touch's probe direction, zero where unknown
  std::span<const Vector3> compensated;  // the creator's compensated points, one per touch
  Vector3 stop;
  double probeRadius = 0.0;
  const Vector3* workPlaneNormal = nullptr;  // a feature in a work plane is compensated within it
};

// What the touches make of a made feature's side.
struct SideJudgement {
  enum Verdict { kKeep, kRefuse, kRemake };
  Verdict verdict = kKeep;
  Vector3 liftedStop;  // for kRemake: the best telling touch lifted off along its approach by the radius
};

// Keep for a feature made without a radius (a trial fit through the tip centres) or without directions.
SideJudgement judgeSide(const ProbedFeature& probed);
