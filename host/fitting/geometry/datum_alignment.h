#pragma once

// Datum alignment: the rigid motion that carries a floating part's datums onto a fixed part's, each pair
// constraining what the datum scheme gives it. Results are in the fixed datums' coordinates: a floating
// point x lands at rotation * x + translation.

#include <array>

#include <Eigen/Core>

#include "host/fitting/geometry/fit_result.h"

namespace fitting {

// The plane of the points x with normal . x = offset; the normal need not be of unit length.
struct DatumPlane {
  Eigen::Vector3d normal;
  double offset;
};

struct RigidMotion {
  Eigen::Matrix3d rotation;
  Eigen::Vector3d translation;
};

// The 3-2-1 scheme on three plane pairs, in order: the primary plane fixes the normal and coincides; the
// secondary turns the part about the primary normal onto its own and coincides along it; the tertiary only
// moves the part along what is left. The senses of the primary and secondary normals are honoured (a
// reversed one turns the part over); the tertiary's sense is not, its normal following from the other two.
// Fails when a normal is zero or not finite, or when either side's three normals are not independent.
FitResult<RigidMotion> alignPlanes321(const std::array<DatumPlane, 3>& fixed,
                                      const std::array<DatumPlane, 3>& floating);

}  // namespace fitting
