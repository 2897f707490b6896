#pragma once

// What the three slots share: a rectangle of the slot's length along its axis and width across it, centred
// on its centre, with its corners rounded to a radius each kind gives (cornerRadius: half the width for an
// oval slot, none for a rectangular one, half the corner diameter for a rounded one, never beyond what the
// rectangle allows). Its box is that of the four corner circles; reversing turns its plane's normal round
// (the second direction the other way); it contains and bounds the outline in its plane
// ("IZelFeaturePlanar").

#include "host/document/features/host_feature.h"
#include "host_api/feature_kinds.h"

struct SlotShape {
  Vector3 center;
  double length = 0.0;
  double width = 0.0;
  Vector3 axis = kXAxis;
  Vector3 secondDirection{0.0, 1.0, 0.0};
  double cornerDiameter = 0.0;
};

// The outline's directions and extent: the unit axis u, the unit width direction w square to it, the
// normal u × w and the half length, half width and corner radius. isInside takes a point of the plane's own
// coordinates along u and w.
struct SlotOutline {
  Vector3 u;
  Vector3 w;
  Vector3 normal;
  double halfLength;
  double halfWidth;
  double cornerRadius;

  SlotOutline(const SlotShape& shape, double cornerRadius);
  bool isInside(double along, double across) const;
  Box box(const Vector3& center) const;
};

template <class Derived, class Kind>
class HostSlotOutline : public HostFeatureKind<Derived, Kind, SlotShape>, public IZelFeaturePlanar {
 public:
  void setCenter(const Vector3& center) override { shape().center = center; }
  void setWidth(double width) override { shape().width = width; }
  void setLength(double length) override { shape().length = length; }
  bool setAxis(const Vector3& axis) override { return setUnit(shape().axis, axis); }
  bool setSecondDirection(const Vector3& direction) override {
    return setUnit(shape().secondDirection, direction);
  }
  Vector3 center() override { return shape().center; }
  double width() override { return shape().width; }
  double length() override { return shape().length; }
  Vector3 axis() override { return shape().axis; }
  Vector3 secondDirection() override { return shape().secondDirection; }

  bool isInside(const Vector3& point) override {
    SlotOutline o = outline();
    Vector3 offset = point - shape().center;
    return o.isInside(offset.dot(o.u), offset.dot(o.w));
  }
  void reverseOrientation() override { shape().secondDirection = -shape().secondDirection; }
  bool contains(const Vector3& point) override { return isInside(point); }
  Box ownBox() const override { return outline().box(shape().center); }
  Locus locus() const override { return {Locus::Shape::kPoint, shape().center, shape().axis}; }
  Frame localFrame() const override { return frameAbout(shape().center, outline().normal, shape().axis); }

  void offerMore(QueryChain& chain) { chain.offer<IZelFeaturePlanar>(this); }

 protected:
  SlotShape& shape() { return this->shape_; }
  const SlotShape& shape() const { return this->shape_; }

 private:
  SlotOutline outline() const { return {shape(), static_cast<const Derived*>(this)->cornerRadius()}; }

  static bool setUnit(Vector3& member, const Vector3& value) {
    std::optional<Vector3> unit = unitDirection(value);
    if (unit) member = *unit;
    return unit.has_value();
  }
};
