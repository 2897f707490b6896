#pragma once

// The cylinder the touches' approaches tell. A ball travels into a wall along about its normal, and every
// normal of a cylinder stands square to its axis and passes through it: approaches taken all around a bore
// or a boss give the axis as the direction square to them all, and the axis line where their lines meet.
// The touches alone cannot always say as much: six touches at six heights round a bolt hole lie on a second
// cylinder tilted some twenty degrees as exactly as on the bore.

#include <optional>
#include <span>

#include "basic_types/vector3.h"
#include "features/point_list.h"

struct ApproachStart {
  Vector3 axis;           // unit
  Vector3 centre;         // on the axis, level with the touches' centroid
  double diameter = 0.0;  // of the ball centres' cylinder
};

// The start the approaches give, one per touch (zero where a touch has none), when every touch has one, they
// come from half a turn around one axis or more, each within 10 degrees of the slant they share off square
// to it (none for a ball brought straight into the wall, at most 60 degrees for one brought down into a
// hole), and each, seen along the axis, lies on a line through it. None otherwise: approaches along a wall,
// up and down by turns, or from part of a turn would pick among the surfaces the touches fit as well as each
// other by chance.
std::optional<ApproachStart> cylinderFromApproaches(const PointList& touches,
                                                    std::span<const Vector3> approaches);

// Whether the approaches (as above, one per touch) come into the cylinder about the axis through axisPoint:
// each within 10 degrees of the slant they share off square to it, at most 60 degrees, and on a line through
// it. Travels that tell a start yet lean off the cylinder the touches fit best say the touches scatter
// beyond what they can tell apart.
bool approachesComeInto(const PointList& touches, std::span<const Vector3> approaches, const Vector3& axis,
                        const Vector3& axisPoint);
