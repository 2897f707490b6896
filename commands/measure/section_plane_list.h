#pragma once

// The planes of a family of sections, numbered from 1 as the sections that are made from them.

#include <cstdint>
#include <vector>

#include "basic_types/plane.h"

class SectionPlaneList {
 public:
  int32_t count() const { return static_cast<int32_t>(planes_.size()); }
  // Plane i of 1..count().
  const Plane& at(int32_t i) const { return planes_.at(static_cast<size_t>(i - 1)); }
  void append(const Plane& plane) { planes_.push_back(plane); }
  void clear() { planes_.clear(); }

 private:
  std::vector<Plane> planes_;
};
