#include "host/document/features/host_arc.h"

#include <cmath>

bool HostArc::setNormal(const Vector3& normal) {
  std::optional<Vector3> unit = unitDirection(normal);
  if (!unit) return false;
  shape_.normal = *unit;
  return true;
}

bool HostArc::isInside(const Vector3& point) {
  return Vector3::perpendicularPart(point - shape_.center, shape_.normal).length() <=
         std::fabs(shape_.radius);
}
