#pragma once

// The probed points a feature sub-object shows beside its feature: what its "IZelProbeArraySource" holds.
// Points are numbered from 1. Safe on any thread.

#include <cstdint>
#include <mutex>
#include <vector>

#include "basic_types/vector3.h"

class ProbePoints {
 public:
  // Empties the list and makes room for count points, up to a bound that keeps an outsized count from taking
  // the memory up front; a negative count reserves nothing.
  void begin(int32_t count);
  // False, adding nothing, for a coordinate that is not finite: the graphics draw no point for it.
  bool append(const Vector3& point);
  int32_t count();
  // False, leaving out, outside 1..count().
  bool pointAt(int32_t i, Vector3& out);

 private:
  std::mutex mutex_;
  std::vector<Vector3> points_;  // guarded by mutex_
};
