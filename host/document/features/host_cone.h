#pragma once

// The cone feature ("IZelCone"): an axial feature with a radius at each end (host_axial_feature.h). Which end
// is the narrow one is the caller's: the cone keeps the ends as it was given them.

#include "host/document/features/host_axial_feature.h"

class HostCone final : public HostAxialFeature<HostCone, IZelCone> {
 public:
  static constexpr const char* interfaceName = "HostCone";

  double halfAngle() override {
    return std::atan2(std::fabs(shape().radiusB - shape().radiusA), (shape().endB - shape().endA).length());
  }
  Vector3 endA() override { return shape().endA; }
  Vector3 endB() override { return shape().endB; }
  double radiusA() override { return shape().radiusA; }
  double radiusB() override { return shape().radiusB; }
  bool redefine(const Vector3& endA, const Vector3& endB, double radiusA, double radiusB,
                const Vector3& reference, IZelUnknown*, IZelUnknown*, IZelUnknown*) override {
    return define(endA, endB, radiusA, radiusB, reference);
  }
};
