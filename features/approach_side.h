#pragma once

// What the probe's direction at each touch tells of a plane's side. A hard probe touches along its axis,
// pushing into the material, so a plane whose every touch pushed along its normal has the material on the
// side its normal points to, whatever a stop point or a nominal says. A touch's direction is the device's
// probe direction reported with its last move before the touch; a touch with no such move has none (zero).
// A direction tells the side only when it leans well across the surface: a stylus held upright against a
// wall lies almost along it, and the sign of its small lean says nothing.

#include <span>

#include "basic_types/vector3.h"

// Whether there are touches, each with a direction, and every one points along the normal within 60°.
bool touchesPushAlong(const Vector3& normal, std::span<const Vector3> directions);
