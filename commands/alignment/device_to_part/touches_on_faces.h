#pragma once

// The 3-2-1 planes the solve pairs, set so that every touch comes to lie on the face picked for its plane.
// Plane 1 is its face: three picks on it. Planes 2 and 3 stand square to plane 1 (and plane 3 to plane 2)
// while their faces may lean; where a leaning face lies across a square plane depends on the height, so each
// touch is compared at its own: plane 2's device plane runs square to plane 1 through its touches moved by
// their heights above plane 1 as the face asks, and its reference plane through where the face, moved by the
// ball's radius, crosses plane 1; plane 3 likewise, with its touches' places across planes 1 and 2. The
// stored alignment then does not depend on where on the faces, at what heights or with how many touches
// they were probed, and the ball is taken off along each face's own normal. Main thread only.

#include <array>
#include <optional>
#include <vector>

#include "basic_types/plane.h"
#include "basic_types/vector3.h"

// A face picked for plane 1, 2 or 3: a point of it and its outward normal there; the zero normal where it
// is not known (typed points), and the reference plane stands for the face. Of plane 1's, only the normal
// is taken: the reference plane through its three picks is its face.
struct PickedFace {
  Vector3 point;
  Vector3 normal;
};

// The touches (ball centres, device coordinates) of plane 2 or 3 and the side their ball was on: +1 along
// the device plane's normal, -1 against it.
struct FaceTouches {
  std::vector<Vector3> centres;
  double outwardSide = 1;
};

struct TouchedPlanes {
  std::array<Plane, 3> reference, device;
};

// The plane pairs for the solve, from the reference planes and the device planes as probed (plane 1
// compensated; only the senses of planes 2 and 3 are taken), the faces picked for planes 1 to 3 and the
// touches of planes 2 and 3. None when the touches of plane 2 or 3 cannot all lie on their face at their
// heights (further apart in height than the face allows over their spread), or a face lies along its plane's
// normal.
std::optional<TouchedPlanes> planesOnTouchedFaces(const std::array<Plane, 3>& reference,
                                                  const std::array<Plane, 3>& device,
                                                  const std::array<PickedFace, 3>& faces,
                                                  const std::array<FaceTouches, 2>& touches, double radius);
