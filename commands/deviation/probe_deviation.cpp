#include "commands/deviation/probe_deviation.h"

#include <cfloat>
#include <cmath>

std::optional<Vector3> ProbeDeviationMeter::normalAt(const Vector3& c) const {
  ZelMeshLocation facet;
  if (!closest_->locate(facet, c)) return std::nullopt;
  // Projected again on its facet, from scratch, so that the normal is that of the exact surface at c.
  ZelMeshLocation location{facet.element, FLT_MAX, FLT_MAX};
  double at[3], point[3], normal[3] = {0, 0, 0};
  c.copyTo(at);
  const ZelMeshHandle handle = mesh_->handle();
  if (!mesh_->project(handle, at, &location) || !mesh_->evaluate(handle, location, point, normal))
    return std::nullopt;
  return Vector3(normal[0], normal[1], normal[2]);
}

double ProbeDeviationMeter::activeLength(const Vector3& v) const {
  if (!csys_) return v.length();
  double world[3], active[3];
  v.copyTo(world);
  csys_->worldToActiveVector(world, active);
  return Vector3(active[0], active[1], active[2]).length();
}

std::optional<ProbeDeviation> ProbeDeviationMeter::measure(const Vector3& centre, double radius,
                                                           double tolerance) const {
  if (!closest_ || !mesh_) return std::nullopt;
  const Vector3 ownCentre = placement_.toOwn(centre);
  Vector3 c;
  if (!closest_->computeClosestPoint(ownCentre, c)) return std::nullopt;
  const std::optional<Vector3> n = normalAt(c);
  if (!n) return std::nullopt;
  // The ball touches the material on the side of its centre away from the outside: outward is the
  // direction from c to the centre, turned round when the centre lies inside the model. A centre on the
  // surface itself has only the normal to go by.
  Vector3 outward = ownCentre - c;
  if (!outward.normalize()) outward = *n;
  if (outward.dot(*n) < 0) outward = -outward;
  const Vector3 ownContact = ownCentre - outward * radius;
  const Vector3 contact = placement_.toWorld(ownContact), cad = placement_.toWorld(c);
  const double length = activeLength(contact - cad);
  const double deviation = (ownContact - c).dot(outward) < 0 ? -length : length;
  return ProbeDeviation{contact, cad, deviation, tolerance > std::fabs(deviation)};
}
