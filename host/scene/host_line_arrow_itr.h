#pragma once

// The stand-in host's line arrow ("IZelLineArrowItr"): a shaft and a head of two strokes, a fifth of the
// arrow's length, drawn as line strips through IZelPrimitiveItr. Its IZelItr element walk has nothing: the
// host's own node draws it by primitives. Main thread only.

#include <vector>

#include "framework/iterators/zel_itr_defaults.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_primitive_itr.h"

class HostLineArrowItr : public ZelItrDefaults<HostUnknown>,
                         public IZelLineArrowItr,
                         public IZelPrimitiveItr {
 public:
  static constexpr const char* interfaceName = "HostLineArrowItr";

  void setArrow(const Vector3& start, const Vector3& direction, double length) override;

  // IZelPrimitiveItr
  void reset() override;
  bool nextPrimitive(int32_t& type) override;
  bool hasMoreVertices() override;
  bool nextVertex(Vector3& position) override;
  bool vertexNormal(Vector3& normal) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<std::vector<Vector3>> strips_;
  int32_t primitive_ = -1;
  size_t vertex_ = 0;
};
