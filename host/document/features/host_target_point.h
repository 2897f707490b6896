#pragma once

// The target point ("IZelTargetPoint"): a point marked by a disc of its size (a diameter) facing along its
// direction, which reversing turns round. Its box is the disc's.

#include "host/document/features/host_feature.h"
#include "host_api/feature_kinds.h"

struct TargetPointShape {
  Vector3 position;
  double size = 0.0;
  Vector3 direction = kZAxis;
};

class HostTargetPoint final : public HostFeatureKind<HostTargetPoint, IZelTargetPoint, TargetPointShape> {
 public:
  static constexpr const char* interfaceName = "HostTargetPoint";

  void setPosition(double x, double y, double z) override { shape_.position = {x, y, z}; }
  void position(double xyz[3]) override { shape_.position.copyTo(xyz); }
  void setSize(double size) override { shape_.size = size; }
  double size() override { return shape_.size; }
  bool setDirection(const Vector3& direction) override;
  Vector3 direction() override { return shape_.direction; }

  void reverseOrientation() override { shape_.direction = -shape_.direction; }
  bool contains(const Vector3& point) override { return point == shape_.position; }
  Box ownBox() const override { return discBox(shape_.position, shape_.direction, shape_.size / 2.0); }
  Locus locus() const override { return {Locus::Shape::kPoint, shape_.position, shape_.direction}; }
  Frame localFrame() const override { return frameAbout(shape_.position, shape_.direction, kXAxis); }

  void offerMore(QueryChain& chain) { chain.offer<IZelPoint>(this); }
};
