#pragma once

// The device side of the 3-2-1 device-to-part alignment: three planes built from the points probed on the
// part, each plane's points taken with the SAMPLE button and one stop point taken above it with STOP. The
// points are probe tip centres, so each plane is moved by the probe radius away from the side of its stop
// point. Plane 1 is fitted and faces its stop point; plane 2 is fitted (two points get a third, the first
// projected onto plane 1), made square to plane 1 about its points' centre and faces its stop point; plane 3
// runs through its point (the mean of several) square to both, its sense that of n1 x n2.
//
// A plane 2 fitted within kSmallestPlaneAngle of plane 1's direction is refused: squaring it to plane 1
// would take its direction from the probing noise alone.
//
// Two plane-2 touches always give a plane square to plane 1 (their third point lies along plane 1's normal),
// even when they were taken on a face parallel to plane 1 by mistake. Such touches are refused when both
// tip centres lie a probe radius above plane 1 (within kOnPlane1Noise), as on plane 1's own face, or when
// both lie above plane 1 by half a radius or more and the probe axes reported with them both lie so near
// plane 1's normal (either sense) that they slide along the face picked for plane 2 however it is turned
// about that normal: within kFacingAngle of the normal less the face's lean from square, as the axes of
// touches on a face parallel to plane 1 do, and never for a face leaning kFacingAngle or more (an axis not
// reported counts as across); below plane 1 such axes are a stylus held upright beside a face across it.
// Their stop must also lie at least kStopSideShare of the probe radius off the plane through the
// touches and plane 1's normal (of the share of the radius across the plane, on a leaning face), or it
// cannot tell which side the face looks to.
//
// Each plane is moved by the share of the probe radius that lies across it: the ball touched its face along
// the face's own normal, which leans from the plane's as the reference face does (faceLeanCosine).
//
// A plane is also refused when its touches tell it stands for no single face: a touch further than
// kFlatnessTolerance off the plane fitted through three or more, or a touch the ball came to from the other
// side of the face than the stop (approach_side.h): the stop then lies in the material, or the touches on
// two faces.
// With the reference faces set (references), a plane is refused when it meets a plane built before at an
// angle other than their faces' (reference_faces.h); a plane 3 on the other side of its face than planes 1
// and 2 put it ends the run (endsRun), for the plane on another face may be any of the three.
// A stop of plane 2 or 3 more than a probe radius above or below all its touches up their face (towards
// plane 1's normal) may lie over the part, where either side of the face is air: it is refused unless a
// touch's approach tells the side.

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "basic_types/plane.h"
#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "commands/alignment/plane_probing/reference_faces.h"
#include "features/approach_side.h"

// The plane moved by distance away from the side of point (a point on the plane counts as the positive side);
// the normal is kept.
void offsetPlaneAwayFrom(Plane& plane, const Vector3& point, double distance);
// The plane turned round when its normal points away from point; a point on the plane changes nothing.
void orientPlaneTowards(Plane& plane, const Vector3& point);

// Radians; about 2 degrees.
inline constexpr double kSmallestPlaneAngle = 0.035;
// A stop point taken off a face lies a probe radius or more from the plane through its tip centres.
inline constexpr double kStopSideShare = 0.5;
// Radians; 20 degrees.
inline constexpr double kFacingAngle = 0.349;
// Metres: a machined face and the arm's noise stay far within it; a touch on a neighbouring face lies
// further off.
inline constexpr double kFlatnessTolerance = 0.001;
// Metres: how far tip centres resting on plane 1's face again may lie from a radius above plane 1, its
// touches' noise and plane 1's own. The ball on a face leaning 45 degrees at plane 1's edge stays further
// below.
inline constexpr double kOnPlane1Noise = 3 * kProbingNoise;
// What the user is told when plane 2's two touches may lie on a face parallel to plane 1.
inline constexpr const char* kParallelTouchesText =
    "The two points of plane 2 may lie on a face parallel to plane 1. Probe plane 2 on a face square to "
    "plane 1, with the probe turned towards it, and take its stop point off that face.";

struct ProbedPlanes {
  // A move of the device: the moves since the last touch or stop make the next touch's approach.
  void moved(const Vector3& point, const Vector3& probeDirection) { approach_.moved(point, probeDirection); }
  // A touch, with its approach (approach_side.h), and the newest taken back.
  void sampled(const Vector3& point);
  bool undoSampled();
  void stopped(const Vector3& point);
  // Empties the current plane's touches, for the next plane.
  void clearSampled();

  // Each builds its plane from sampledPoints, stopPoint and probeRadius and stores it in devicePlanes; false,
  // storing nothing, for too few points, no fit, a plane 2 (nearly) parallel to plane 1, or a plane its
  // touches or its reference face refuse (see above). Plane 2 adds the projected third point to
  // sampledPoints, plane 3 replaces several points by their mean.
  bool computeDevicePlane1();
  bool computeDevicePlane2();
  bool computeDevicePlane3();
  // Whether the two touches of plane 2 in sampledPoints (with sampledAxes) and the stop point can only come
  // from a face across plane 1 and tell its side; true for any other number of touches.
  bool plane2TouchesTellASide() const;
  // What the operator is told after a stop that could not build plane step (1 to 3): what the plane needs
  // (kParallelTouchesText for plane 2's refused touches). The run, the plane's points and the planes built
  // are kept, unless endsRun.
  ZelString refusal(int step) const;
  // Whether the last refusal found the planes built so far at odds with their faces: no plane of this run
  // can be trusted.
  bool endsRun() const { return mismatch_ && mismatch_->kind == ReferenceMismatch::kOtherSide; }

  std::vector<Vector3> sampledPoints;  // of the current plane, in order
  // The approach of each of sampledPoints (approach_side.h), or empty.
  std::vector<TouchApproach> sampledAxes;
  Vector3 stopPoint;
  double probeRadius = 0.0;
  std::array<Plane, 3> devicePlanes{};
  // What probing each built plane tells of its face, for the checks against the reference faces.
  std::array<ProbedFace, 3> probedFaces{};
  // The faces the planes stand for; unset faces are not checked.
  std::array<ReferenceFace, 3> references{};

 private:
  void forgetRefusal();
  // Compensates and stores plane (not yet compensated) as the plane of step (1 to 3) unless its touches or
  // its reference face refuse it; own is the plane the touches alone give, when they give one.
  bool keep(int step, const Plane& plane, const std::optional<Plane>& own);
  double stopSide(const Plane& plane) const;
  // Of two plane-2 touches: whether they may lie on a face parallel to plane 1, and whether the stop lies far
  // enough off the plane through them to tell its side.
  bool plane2TouchesMayLieFlat() const;
  bool plane2StopTellsASide() const;
  double smallestStopOffset() const;
  // Whether where the ball was at any touch of the last plane kept or refused tells the face's side.
  bool anyTouchTells() const;
  // How far the stop lies beyond the touches up the face of this normal (towards plane 1's normal), when
  // that is more than the probe radius (or a face's flatness); 0 otherwise.
  double stopBeyondTouches(const Vector3& faceNormal) const;

  // Whether a touch came to the face from the other side than the stop (approach_side.h), and the words.
  bool touchedAgainstStop() const;
  std::pair<ZelString, ZelString> touchedSideText(const ZelString& onTheFace) const;

  ApproachTracker approach_;
  double offFlat_ = 0;                // the furthest touch off its plane, when that refused the plane
  std::vector<BallSide> touchSides_;  // what each touch told of the last plane kept or refused
  double stopBeyond_ = 0;             // how far the stop lay beyond the touches, when that refused the plane
  std::optional<ReferenceMismatch> mismatch_;
};
