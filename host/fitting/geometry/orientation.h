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

// The own frame of centred points (columns, right-handed): the first axis towards the first point clearly off
// their centre, the second towards the next point clearly off that line. It turns with the points in any pose
// and, unlike principal directions, is fixed where spreads tie (touches around a ring) and in its signs.
// The identity when the points lie on a line.
Eigen::Matrix3d ownFrame(const Eigen::Ref<const Eigen::Matrix3Xd>& centred);

// v scaled to unit length; no value when v is zero or not finite. Any finite length will do, even one whose
// square is beyond the range of a double.
std::optional<Eigen::Vector3d> unitDirection(const Eigen::Vector3d& v);

}  // namespace fitting::detail
