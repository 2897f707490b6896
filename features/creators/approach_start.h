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

// The start the approaches give, one per touch (zero where a touch has none), when every touch has one,
// each comes in within 15 degrees of square to one axis, and they come from at least a quarter turn apart
// around it. None otherwise: approaches along a stylus, or from a narrow arc, would pick among the surfaces
// the touches fit as well as each other by chance.
std::optional<ApproachStart> cylinderFromApproaches(const PointList& touches,
                                                    std::span<const Vector3> approaches);
