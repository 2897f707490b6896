#pragma once

// What a probed alignment plane is checked against before an alignment is solved on it: the face of the part
// it stands for. The solve carries each probed plane's normal onto its reference plane's normal, so only what
// does not depend on where the device stands can be compared: the angle at which two planes meet, and, with
// planes 1 and 2 fixing the frame, on which side of plane 3 the material lies. A plane probed on another face
// than the one it stands for shows there when it has a direction of its own (three touches or more) or turns
// the corner the other way round (seen only at plane 3, as any two faces give a frame); two touches of plane
// 2 and the one of plane 3 take their directions from the planes before them and cannot show it. Main thread
// only.

#include <array>
#include <optional>
#include <vector>

#include "basic_types/plane.h"
#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"

// Radians; 1 degree: what a machined face's form leaves of its direction. Two probed planes may meet at
// their faces' angle give or take it and what the probing noise may turn each plane (ProbedFace::noiseAngle);
// a touch on a neighbouring face throws the angle far beyond.
inline constexpr double kFaceAngleTolerance = 0.0174533;
// Metres: the most an arm's touch lands off the surface, either way.
inline constexpr double kProbingNoise = 0.00006;

// A face a plane stands for; the zero vector where a direction is not known.
struct ReferenceFace {
  Vector3 planeNormal;         // of the reference plane the solve pairs the probed plane with
  Vector3 faceNormal;          // the face's own outward normal, where it was picked
  bool planeFacesOut = false;  // the reference plane's normal points out of the material, as its probed
                               // plane's faces its stop point
};

// What probing a plane tells of its face, beyond the plane.
struct ProbedFace {
  std::optional<Vector3> ownNormal;  // as its own touches fix it; none when the planes before fixed it
  double outwardSide = 0;            // +1 when the plane's normal points out of the material, -1 into it
  double noiseAngle = 0;             // radians: the most the probing noise may turn ownNormal
  double probeRadius = 0;            // metres: the ball's
  std::vector<Vector3> touches;      // the ball's centres as they were taken
};

struct ReferenceMismatch {
  // kSquare: kAngle between planes whose faces were not picked, which are to stand square to each other.
  enum Kind { kOtherSide, kAngle, kSquare } kind;
  int plane;                 // 1 to 3
  int otherPlane = 0;        // kAngle, kSquare: the plane built before that it meets
  double probedDegrees = 0;  // kAngle, kSquare: the angle the probed planes meet at, 0 to 90
  double referenceDegrees = 0;
};

// The cosine of the angle between the face's own normal and the normal of the plane it stands for: how much
// of the probe radius lies across that plane; 1 where the face's own normal is not known.
double faceLeanCosine(const ReferenceFace& face);
// The most the probing noise may turn the plane fitted through touches spread over a plane of this normal:
// twice the noise over their narrowest width, the most a plane through three of them tilts.
double noiseAngleOf(const std::vector<Vector3>& touches, const Vector3& normal);

// The first way probed plane (1 to 3) disagrees with its face, as far as the faces and planes 1 to plane are
// known; none when it agrees.
std::optional<ReferenceMismatch> referenceMismatch(const std::array<ProbedFace, 3>& probed,
                                                   const std::array<ReferenceFace, 3>& faces, int plane);

// An angle for the operator, in degrees: whole where it lies within 0.05 of a whole number, else to a tenth.
ZelString degreesText(double degrees);

// The mismatch as a clause for the operator, such as "planes 1 and 2 meet at 52.3 degrees, their reference
// faces at 90, so a point may be on another face".
ZelString mismatchText(const ReferenceMismatch& mismatch);
// What the operator is told when the mismatch leaves no plane of the run to trust: nothing is stored, and the
// planes are to be probed again.
ZelString noAlignmentText(const ReferenceMismatch& mismatch);
