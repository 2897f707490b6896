#pragma once

// The probe tip's path through a family of section planes: each new tip position is joined to the one before
// it, and wherever that step changes sides of a plane the point where it meets the plane is a section point
// of that plane. A position exactly on a plane counts as on its positive side, so a path that only touches a
// plane from the positive side crosses nothing, and one that touches it from the negative side crosses twice.
// The first position of a path crosses nothing; restart begins a new path. A value type; no allocation per
// position.

#include <array>
#include <cstdint>

#include "basic_types/vector3.h"
#include "commands/measure/section_plane_list.h"

class SectionCrossings {
 public:
  // The planes, numbered from 1, that the path is tested against.
  void setPlanes(const SectionPlaneList& planes) { planes_ = planes; }
  const SectionPlaneList& planes() const { return planes_; }
  // Forgets the path: the next position joins nothing.
  void restart() { count_ = 0; }

  // Adds the tip's next position and calls crossed(plane index, point on the plane) for every plane the step
  // to it crosses, lowest index first.
  template <class Crossed>
  void add(const Vector3& position, Crossed&& crossed) {
    if (!step(position)) return;
    const Vector3& prev = window_[static_cast<size_t>(count_ - 1)];
    const Vector3& cur = window_[static_cast<size_t>(count_)];
    for (int32_t i = 1; i <= planes_.count(); ++i) {
      const Plane& plane = planes_.at(i);
      const bool prevPositive = plane.normal().dot(prev) - plane.d >= 0.0;
      const bool curPositive = plane.normal().dot(cur) - plane.d >= 0.0;
      Vector3 point;
      if (prevPositive != curPositive && plane.intersectLine(prev, cur - prev, point)) crossed(i, point);
    }
  }

 private:
  static constexpr int32_t kWindow = 5;
  // Puts the position into the window; false while it holds no step yet.
  bool step(const Vector3& position);

  SectionPlaneList planes_;
  std::array<Vector3, kWindow + 1> window_{};  // the newest at count_
  int32_t count_ = 0;
};
