#include "host/document/features/host_sphere.h"

#include <cmath>

bool HostSphere::contains(const Vector3& point) {
  return (point - shape_.center).length() <= std::fabs(shape_.radius);
}

Box HostSphere::ownBox() const {
  double r = std::fabs(shape_.radius);
  const Vector3& c = shape_.center;
  return {c.x - r, c.y - r, c.z - r, c.x + r, c.y + r, c.z + r};
}
