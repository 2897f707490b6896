#include "host/document/features/host_plane.h"

void HostPlane::equation(Vector3& n, double& d) {
  n = shape_.normal;
  d = n.dot(shape_.center);
}

bool HostPlane::setPlane(const Vector3& point, const Vector3& normal, const Vector3& reference, int32_t,
                         int32_t) {
  std::optional<Vector3> unit = unitDirection(normal);
  if (!unit || !isFinite(point)) return false;
  shape_.center = point;
  shape_.normal = *unit;
  shape_.reference = reference;
  return true;
}

bool HostPlane::contains(const Vector3& point) {
  return shape_.normal.dot(point - shape_.center) <= 0.0;
}

Box HostPlane::ownBox() const {
  if (shape_.sourcePoints.empty()) return pointBox(shape_.center);
  Box box = emptyBox();
  for (const Vector3& p : shape_.sourcePoints) {
    growBox(box, p - shape_.normal * shape_.normal.dot(p - shape_.center));
  }
  return box;
}
