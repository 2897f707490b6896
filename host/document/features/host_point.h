#pragma once

// The point feature ("IZelPoint"): one object serves as the point value a caller fills and reads and as the
// feature a document object shows. It has no orientation; its box is the point itself.

#include "host/document/features/host_feature.h"
#include "host_api/points.h"

struct PointShape {
  Vector3 position;
};

class HostPoint final : public HostFeatureKind<HostPoint, IZelPoint, PointShape> {
 public:
  static constexpr const char* interfaceName = "HostPoint";

  void setPosition(double x, double y, double z) override { shape_.position = {x, y, z}; }
  void position(double xyz[3]) override { shape_.position.copyTo(xyz); }

  void reverseOrientation() override {}
  bool contains(const Vector3& point) override { return point == shape_.position; }
  Box ownBox() const override { return pointBox(shape_.position); }
  Locus locus() const override { return {Locus::Shape::kPoint, shape_.position, {}}; }
  Frame localFrame() const override { return frameAbout(shape_.position, kZAxis, kXAxis); }
};
