#pragma once

// The stand-in host's sphere iterator over a point array (IZelPArraySphereItr): its walk gives the array's
// points in order as the vertices of the spheres; what it was set up with is kept for tests. Every other
// operation of IZelItr answers that there is nothing to give. Main thread only.

#include <cstdint>

#include "framework/iterators/zel_itr_defaults.h"
#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/points.h"

class HostPArraySphereItr : public ZelItrDefaults<HostUnknown, IZelPArraySphereItr> {
 public:
  static constexpr const char* interfaceName = "HostPArraySphereItr";

  bool setup(RealPArray* points, double size, int32_t mode, int32_t detail) override;

  bool first(void* context) override;
  bool next(void* context, bool* restarted) override;
  bool vertex(Vector3& out) override;
  bool currentIndex(int32_t& out) override;

  // Host side: what setup was given.
  RealPArray* points() const { return points_.get(); }
  double size() const { return size_; }
  int32_t mode() const { return mode_; }
  int32_t detail() const { return detail_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<RealPArray> points_;
  double size_ = 0;
  int32_t mode_ = 0;
  int32_t detail_ = 0;
  int32_t current_ = 0;  // the point the walk is at, from 1; 0 before the walk
};
