#include "host/scene/host_line_arrow_itr.h"

#include <cmath>

#include "framework/object/query_chain.h"

namespace {

constexpr double kHeadShare = 0.2;

}  // namespace

void HostLineArrowItr::setArrow(const Vector3& start, const Vector3& direction, double length) {
  strips_.clear();
  reset();
  Vector3 along = direction.normalized();
  Vector3 side, unused;
  if (!(std::isfinite(length) && length > 0) || !Vector3::orthonormalBasis(direction, side, unused)) return;
  const Vector3 tip = start + length * along;
  const Vector3 back = tip - kHeadShare * length * along;
  strips_.push_back({start, tip});
  strips_.push_back({back + kHeadShare * length * side, tip, back - kHeadShare * length * side});
}

void HostLineArrowItr::reset() {
  primitive_ = -1;
  vertex_ = 0;
}

bool HostLineArrowItr::nextPrimitive(int32_t& type) {
  if (primitive_ + 1 >= static_cast<int32_t>(strips_.size())) return false;
  ++primitive_;
  vertex_ = 0;
  type = ZelPrimitiveType::LineStrip;
  return true;
}

bool HostLineArrowItr::hasMoreVertices() {
  return primitive_ >= 0 && primitive_ < static_cast<int32_t>(strips_.size()) &&
         vertex_ < strips_[primitive_].size();
}

bool HostLineArrowItr::nextVertex(Vector3& position) {
  if (!hasMoreVertices()) return false;
  position = strips_[primitive_][vertex_++];
  return true;
}

bool HostLineArrowItr::vertexNormal(Vector3& normal) {
  if (primitive_ < 0 || vertex_ == 0) return false;
  normal = {};
  return true;
}

void HostLineArrowItr::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelItr*>(this))
      .offer<IZelLineArrowItr>(this)
      .offer<IZelItr>(this)
      .offer<IZelPrimitiveItr>(this)
      .end();
}
