#include "host/document/features/host_target_point.h"

bool HostTargetPoint::setDirection(const Vector3& direction) {
  std::optional<Vector3> unit = unitDirection(direction);
  if (!unit) return false;
  shape_.direction = *unit;
  return true;
}
