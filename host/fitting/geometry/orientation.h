#pragma once

// Reproducible senses and frames for directions that geometry alone leaves ambiguous.

#include <optional>

#include <Eigen/Core>

namespace fitting::detail {

// The sense rule for a direction that has none of its own (line, plane normal, cylinder axis): the component
// of greatest magnitude is made positive; on a tie the earliest of x, y, z decides.
Eigen::Vector3d canonicalDirection(const Eigen::Vector3d& unit);

// A right-handed orthonormal basis whose third column is unit. The first column is the world axis least
// aligned with unit, made perpendicular to it.
Eigen::Matrix3d basisAround(const Eigen::Vector3d& unit);

// v scaled to unit length; no value when v is zero or not finite. Any finite length will do, even one whose
// square is beyond the range of a double.
std::optional<Eigen::Vector3d> unitDirection(const Eigen::Vector3d& v);

}  // namespace fitting::detail
