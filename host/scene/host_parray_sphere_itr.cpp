#include "host/scene/host_parray_sphere_itr.h"

#include <cmath>

#include "framework/object/query_chain.h"

bool HostPArraySphereItr::setup(RealPArray* points, double size, int32_t mode, int32_t detail) {
  if (!std::isfinite(size) || size <= 0) return false;
  points_ = IPtr<RealPArray>(points);
  size_ = size;
  mode_ = mode;
  detail_ = detail;
  current_ = 0;
  return true;
}

bool HostPArraySphereItr::first(void*) {
  current_ = points_ && points_->count() > 0 ? 1 : 0;
  return current_ != 0;
}

bool HostPArraySphereItr::next(void*, bool*) {
  if (!points_ || current_ == 0 || current_ >= points_->count()) {
    current_ = 0;
    return false;
  }
  ++current_;
  return true;
}

bool HostPArraySphereItr::vertex(Vector3& out) {
  const double* point = points_ && current_ ? points_->at(current_) : nullptr;
  if (!point) return false;
  out = Vector3(point[0], point[1], point[2]);
  return true;
}

bool HostPArraySphereItr::currentIndex(int32_t& out) {
  if (current_ == 0) return false;
  out = current_;
  return true;
}

void HostPArraySphereItr::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelPArraySphereItr*>(this))
      .offer<IZelPArraySphereItr>(this)
      .offer<IZelItr>(this)
      .end();
}
