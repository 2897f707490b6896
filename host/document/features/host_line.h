#pragma once

// The line feature ("IZelLine"): a bounded line from its start to its end, whose box is that of its ends.
// Reversing swaps them. It matches along its infinite line and contains only the points on it.

#include "host/document/features/host_feature.h"
#include "host_api/feature_kinds.h"

struct LineShape {
  Vector3 start;
  Vector3 end;
};

class HostLine final : public HostFeatureKind<HostLine, IZelLine, LineShape> {
 public:
  static constexpr const char* interfaceName = "HostLine";

  Vector3 start() override { return shape_.start; }
  Vector3 end() override { return shape_.end; }
  Vector3 closestPoint(const Vector3& point) override;
  void setLine(const Vector3& start, const Vector3& end, int32_t, int32_t) override { shape_ = {start, end}; }

  void reverseOrientation() override { std::swap(shape_.start, shape_.end); }
  bool contains(const Vector3& point) override { return closestPoint(point) == point; }
  Box ownBox() const override;
  Locus locus() const override;
  Frame localFrame() const override;

 private:
  // The unit direction from start to end; zero for a line whose ends coincide.
  Vector3 direction() const { return unitDirection(shape_.end - shape_.start).value_or(Vector3{}); }
};
