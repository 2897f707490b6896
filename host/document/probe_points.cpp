#include "host/document/probe_points.h"

#include <algorithm>
#include <cmath>

namespace {

// The most points reserved up front, whatever the count asked for.
constexpr size_t kMaxReservedPoints = size_t{1} << 20;

bool isFinite(const Vector3& point) {
  return std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z);
}

}  // namespace

void ProbePoints::begin(int32_t count) {
  std::vector<Vector3> fresh;
  fresh.reserve(std::min(static_cast<size_t>(std::max(count, 0)), kMaxReservedPoints));
  std::lock_guard lock(mutex_);
  points_.swap(fresh);
}

bool ProbePoints::append(const Vector3& point) {
  if (!isFinite(point)) return false;
  std::lock_guard lock(mutex_);
  points_.push_back(point);
  return true;
}

int32_t ProbePoints::count() {
  std::lock_guard lock(mutex_);
  return static_cast<int32_t>(points_.size());
}

bool ProbePoints::pointAt(int32_t i, Vector3& out) {
  std::lock_guard lock(mutex_);
  if (i < 1 || static_cast<size_t>(i) > points_.size()) return false;
  out = points_[static_cast<size_t>(i - 1)];
  return true;
}
