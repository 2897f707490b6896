#pragma once

// Reproducible senses and frames for directions that geometry alone leaves ambiguous.

#include <Eigen/Core>

namespace fitting::detail {

// The sense rule for a direction that has none of its own (line, plane normal, cylinder axis): the component
// of greatest magnitude is made positive; on a tie the earliest of x, y, z decides.
Eigen::Vector3d canonicalDirection(const Eigen::Vector3d& unit);

// A right-handed orthonormal basis whose third column is unit. The first column is the world axis least
// aligned with unit, made perpendicular to it.
Eigen::Matrix3d basisAround(const Eigen::Vector3d& unit);

// Whether v can be normalized into a direction: finite and not zero.
bool isDirection(const Eigen::Vector3d& v);

}  // namespace fitting::detail
