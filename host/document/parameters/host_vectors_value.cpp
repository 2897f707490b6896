#include "host/document/parameters/host_vectors_value.h"

#include <algorithm>

void HostVectorsValue::setValue(const ZelCountedArray<Vector3>& points) {
  points_.clear();
  if (points.count() < 1) return;
  points_.assign(&points[1], &points[1] + points.count());
}

void HostVectorsValue::value(ZelCountedArray<Vector3>& out) {
  const int32_t n = count();
  if (n > 0) {
    out.at(n);  // grows the array to hold slots 1..n in one step
    std::copy(points_.begin(), points_.end(), out.items() + 1);
  }
  out.setCount(n);
}

bool HostVectorsValue::vectorAt(int32_t i, Vector3& out) {
  if (!holds(i)) return false;
  out = points_[static_cast<size_t>(i - 1)];
  return true;
}

bool HostVectorsValue::removeVector(int32_t i) {
  if (!holds(i)) return false;
  points_.erase(points_.begin() + (i - 1));
  return true;
}

bool HostVectorsValue::copyValueInto(HostVectorsValue& copy) const {
  copy.points_ = points_;
  return true;
}
