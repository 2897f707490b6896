#pragma once

// The sphere feature ("IZelSphere"): a centre and a radius. It has no orientation; it contains its ball.

#include "host/document/features/host_feature.h"
#include "host_api/feature_kinds.h"

struct SphereShape {
  Vector3 center;
  double radius = 0.0;
};

class HostSphere final : public HostFeatureKind<HostSphere, IZelSphere, SphereShape> {
 public:
  static constexpr const char* interfaceName = "HostSphere";

  void setCenter(const Vector3& center) override { shape_.center = center; }
  void setRadius(double radius) override { shape_.radius = radius; }
  Vector3 center() override { return shape_.center; }
  double radius() override { return shape_.radius; }

  void reverseOrientation() override {}
  bool contains(const Vector3& point) override;
  Box ownBox() const override;
  Locus locus() const override { return {Locus::Shape::kPoint, shape_.center, {}}; }
  Frame localFrame() const override { return frameAbout(shape_.center, kZAxis, kXAxis); }
};
