#include "host/document/features/host_parallel_planes.h"

#include <cmath>

namespace {

const ZelString kSolidity(u"<Solidity>");

}  // namespace

void HostParallelPlanes::planes(Vector3& midPoint, Vector3& normal, Vector3& reference, double& distance,
                                Vector3& low, Vector3& high) {
  midPoint = shape_.midPoint;
  normal = shape_.normal;
  reference = shape_.reference;
  distance = shape_.distance;
  const Box& r = shape_.region;
  low = {r[0], r[1], r[2]};
  high = {r[3], r[4], r[5]};
}

bool HostParallelPlanes::setPlanes(const Vector3& midPoint, const Vector3& normal, const Vector3& reference,
                                   double distance, const Vector3& low, const Vector3& high) {
  std::optional<Vector3> unit = unitDirection(normal);
  if (!unit || !isFinite(midPoint) || !std::isfinite(distance)) return false;
  shape_ = {midPoint, *unit, reference, distance, {low.x, low.y, low.z, high.x, high.y, high.z}};
  return true;
}

int32_t HostParallelPlanes::solidity() {
  IZelIntValue* value = queryPart<IZelIntValue>(getParameter(kSolidity));
  return value ? value->value() : 0;
}

bool HostParallelPlanes::contains(const Vector3& point) {
  return std::fabs(shape_.normal.dot(point - shape_.midPoint)) <= std::fabs(shape_.distance) / 2.0;
}

Box HostParallelPlanes::ownBox() const {
  Vector3 half = shape_.normal * (shape_.distance / 2.0);
  Box box = pointBox(shape_.midPoint - half);
  growBox(box, shape_.midPoint + half);
  const Box& region = shape_.region;
  bool hasRegion = region[0] <= region[3] && region[1] <= region[4] && region[2] <= region[5];
  if (hasRegion) growBox(box, region);
  return box;
}
