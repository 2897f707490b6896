#pragma once

// The rigid motion that best carries floating points onto fixed ones, pair by pair, in the least-squares
// sense: a proper rotation (never a reflection) and a translation, no scale. Results follow
// datum_alignment.h: a floating point x lands at rotation * x + translation.

#include <vector>

#include <Eigen/Core>

#include "host/fitting/geometry/datum_alignment.h"

namespace fitting {

// Fails for lists of different lengths, fewer than three pairs, a value that is not finite, or points of
// either side that lie on one line (the turn about that line would be free).
FitResult<RigidMotion> alignPoints(const std::vector<Eigen::Vector3d>& fixed,
                                   const std::vector<Eigen::Vector3d>& floating);

}  // namespace fitting
