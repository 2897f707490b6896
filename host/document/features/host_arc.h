#pragma once

// The circle feature ("IZelArc"): a centre, a unit normal and a radius. Its box is the circle's in 3-D;
// reversing turns the normal round. It bounds the disc of its plane ("IZelFeaturePlanar").

#include "host/document/features/host_feature.h"
#include "host_api/feature_kinds.h"

struct ArcShape {
  Vector3 center;
  Vector3 normal = kZAxis;
  double radius = 0.0;
};

class HostArc final : public HostFeatureKind<HostArc, IZelArc, ArcShape>, public IZelFeaturePlanar {
 public:
  static constexpr const char* interfaceName = "HostArc";

  void setCenter(const Vector3& center) override { shape_.center = center; }
  bool setNormal(const Vector3& normal) override;
  void setRadius(double radius) override { shape_.radius = radius; }
  Vector3 center() override { return shape_.center; }
  Vector3 normal() override { return shape_.normal; }
  double radius() override { return shape_.radius; }

  bool isInside(const Vector3& point) override;
  void reverseOrientation() override { shape_.normal = -shape_.normal; }
  bool contains(const Vector3& point) override { return isInside(point); }
  Box ownBox() const override { return discBox(shape_.center, shape_.normal, shape_.radius); }
  Locus locus() const override { return {Locus::Shape::kPoint, shape_.center, shape_.normal}; }
  Frame localFrame() const override { return frameAbout(shape_.center, shape_.normal, kXAxis); }

  void offerMore(QueryChain& chain) { chain.offer<IZelFeaturePlanar>(this); }
};
