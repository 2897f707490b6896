#pragma once

// The cylinder feature ("IZelCylinder"): an axial feature of one radius (host_axial_feature.h), whose point
// on the axis is its first end.

#include "host/document/features/host_axial_feature.h"

class HostCylinder final : public HostAxialFeature<HostCylinder, IZelCylinder> {
 public:
  static constexpr const char* interfaceName = "HostCylinder";

  double radius() override { return shape().radiusA; }
  void setRadius(double radius) override { shape().radiusA = shape().radiusB = radius; }
  Vector3 axisPoint() override { return shape().endA; }
  Vector3 firstEnd() override { return shape().endA; }
  Vector3 secondEnd() override { return shape().endB; }
  bool redefine(const Vector3& firstEnd, const Vector3& secondEnd, double radius, const Vector3& reference,
                IZelUnknown*, IZelUnknown*, IZelUnknown*) override {
    return define(firstEnd, secondEnd, radius, radius, reference);
  }
};
