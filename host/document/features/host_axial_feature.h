#pragma once

// What the cylinder and the cone share: a solid of revolution between two ends A and B of its axis, of
// radius rA at A and rB at B (a cylinder has them equal), whose direction runs from A to B. Its frame has
// its origin at A and its first direction from the reference given at definition. Its box is that of its
// two end circles; reversing swaps the ends with their radii; it matches along its infinite axis and
// contains the solid between its ends.

#include <algorithm>
#include <cmath>

#include "host/document/features/host_feature.h"
#include "host_api/feature_kinds.h"

struct AxialShape {
  Vector3 endA;
  Vector3 endB;
  double radiusA = 0.0;
  double radiusB = 0.0;
  Vector3 reference = kXAxis;
};

template <class Derived, class Kind>
class HostAxialFeature : public HostFeatureKind<Derived, Kind, AxialShape> {
 public:
  Vector3 axisDirection() override { return direction(); }

  void reverseOrientation() override {
    std::swap(shape().endA, shape().endB);
    std::swap(shape().radiusA, shape().radiusB);
  }

  bool contains(const Vector3& point) override {
    const AxialShape& s = shape();
    double length = (s.endB - s.endA).length();
    double t = (point - s.endA).dot(direction());
    if (!(t >= 0.0 && t <= length)) return false;
    double radius = length > 0.0 ? s.radiusA + (s.radiusB - s.radiusA) * t / length : s.radiusA;
    return Vector3::perpendicularPart(point - s.endA, direction()).length() <= std::fabs(radius);
  }

  Box ownBox() const override {
    Box box = discBox(shape().endA, direction(), shape().radiusA);
    growBox(box, discBox(shape().endB, direction(), shape().radiusB));
    return box;
  }
  Locus locus() const override {
    return {Locus::Shape::kLine, (shape().endA + shape().endB) / 2.0, direction()};
  }
  Frame localFrame() const override { return frameAbout(shape().endA, direction(), shape().reference); }

 protected:
  // False, changing nothing, for coincident ends or a value that is not finite.
  bool define(const Vector3& endA, const Vector3& endB, double radiusA, double radiusB,
              const Vector3& reference) {
    if (!isFinite(endA) || !unitDirection(endB - endA) || !std::isfinite(radiusA) ||
        !std::isfinite(radiusB)) {
      return false;
    }
    shape() = {endA, endB, radiusA, radiusB, reference};
    return true;
  }

  AxialShape& shape() { return this->shape_; }
  const AxialShape& shape() const { return this->shape_; }
  Vector3 direction() const { return unitDirection(shape().endB - shape().endA).value_or(Vector3{}); }
};
