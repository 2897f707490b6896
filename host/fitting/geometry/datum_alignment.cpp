#include "host/fitting/geometry/datum_alignment.h"

#include <cmath>
#include <optional>

#include <Eigen/Geometry>
#include <Eigen/LU>

namespace fitting {

namespace {

// Below this sine two unit normals count as parallel, and three as lying in one plane.
constexpr double kIndependence = 1e-9;

// The plane with a unit normal, or none for a zero or non-finite one.
std::optional<DatumPlane> unitPlane(const DatumPlane& plane) {
  const double length = plane.normal.norm();
  if (!std::isfinite(length) || !std::isfinite(plane.offset) || length == 0.0) return std::nullopt;
  return DatumPlane{plane.normal / length, plane.offset / length};
}

bool independent(const Eigen::Vector3d& a, const Eigen::Vector3d& b, const Eigen::Vector3d& c) {
  return std::abs(a.dot(b.cross(c))) > kIndependence;
}

// The part of v across the unit direction axis, or none when v runs along it.
std::optional<Eigen::Vector3d> across(const Eigen::Vector3d& v, const Eigen::Vector3d& axis) {
  const Eigen::Vector3d part = v - axis * axis.dot(v);
  const double length = part.norm();
  if (length <= kIndependence) return std::nullopt;
  return part / length;
}

}  // namespace

FitResult<RigidMotion> alignPlanes321(const std::array<DatumPlane, 3>& fixedPlanes,
                                      const std::array<DatumPlane, 3>& floatingPlanes) {
  std::array<DatumPlane, 3> fixed, floating;
  for (int i = 0; i < 3; ++i) {
    auto f = unitPlane(fixedPlanes[i]), g = unitPlane(floatingPlanes[i]);
    if (!f || !g) return FitFailure{"a datum plane has no normal"};
    fixed[i] = *f;
    floating[i] = *g;
  }
  if (!independent(fixed[0].normal, fixed[1].normal, fixed[2].normal) ||
      !independent(floating[0].normal, floating[1].normal, floating[2].normal))
    return FitFailure{"the datum planes' normals are not independent"};

  // Primary: its normal onto the fixed one (a half turn for opposite normals).
  const Eigen::Matrix3d primary =
      Eigen::Quaterniond::FromTwoVectors(floating[0].normal, fixed[0].normal).toRotationMatrix();
  // Secondary: about the primary normal, so that the two secondary normals' parts across it agree.
  const Eigen::Vector3d axis = fixed[0].normal;
  auto turned = across(primary * floating[1].normal, axis), wanted = across(fixed[1].normal, axis);
  if (!turned || !wanted) return FitFailure{"the secondary datum plane is parallel to the primary"};
  const double angle = std::atan2(axis.dot(turned->cross(*wanted)), turned->dot(*wanted));
  const Eigen::Matrix3d rotation = Eigen::AngleAxisd(angle, axis).toRotationMatrix() * primary;

  // A rotation about the origin keeps each plane's offset; the translation t then moves plane i's offset by
  // its turned normal . t. The tertiary plane takes the fixed one's sense.
  Eigen::Matrix3d normals;
  Eigen::Vector3d shifts;
  for (int i = 0; i < 3; ++i) {
    Eigen::Vector3d normal = rotation * floating[i].normal;
    double offset = floating[i].offset;
    if (i == 2 && normal.dot(fixed[i].normal) < 0) {
      normal = -normal;
      offset = -offset;
    }
    normals.row(i) = normal.transpose();
    shifts(i) = fixed[i].offset - offset;
  }
  return RigidMotion{rotation, normals.partialPivLu().solve(shifts)};
}

}  // namespace fitting
