#pragma once

// Two helpers of the plane-based alignments: the best-fit plane through probed points, and whether a point
// is inside the view the user sees. Main thread only.

#include <optional>
#include <vector>

#include "basic_types/plane.h"
#include "basic_types/vector3.h"

// The host's best-fit plane through the points, as its equation n . x = d with the host's unit normal and
// sense; none when the host has no plane fitter or the points do not determine a plane (fewer than three,
// or on one line).
std::optional<Plane> fitPlane(const std::vector<Vector3>& points);

// Whether the scene point lies inside the current view's volume: its normalised view coordinates all within
// -1 to 1. False when the host cannot say.
bool isPointInView(const Vector3& point);
