#pragma once

// The stand-in host's point lists ("IZelVectorsValue"): sampled and compensated points, a work plane's point
// and normal. The points live in one block, so a copy is one block copy.

#include <vector>

#include "host/document/parameters/host_parameter.h"

class HostVectorsValue final : public HostParameter<HostVectorsValue, IZelVectorsValue> {
 public:
  static constexpr const char* interfaceName = "HostVectorsValue";

  void setValue(const ZelCountedArray<Vector3>& points) override;
  void value(ZelCountedArray<Vector3>& out) override;
  int32_t count() override { return static_cast<int32_t>(points_.size()); }
  bool vectorAt(int32_t i, Vector3& out) override;
  bool removeVector(int32_t i) override;

  bool copyValueInto(HostVectorsValue& copy) const;

 private:
  bool holds(int32_t i) const { return i >= 1 && i <= static_cast<int32_t>(points_.size()); }

  std::vector<Vector3> points_;  // point i at i - 1
};
