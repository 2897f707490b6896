#include "host/document/features/host_slot_outline.h"

#include <algorithm>
#include <cmath>

SlotOutline::SlotOutline(const SlotShape& shape, double radius)
    : u(shape.axis),
      w(unitDirection(Vector3::perpendicularPart(shape.secondDirection, shape.axis)).value_or(Vector3{})),
      normal(Vector3::cross(u, w)),
      halfLength(std::fabs(shape.length) / 2.0),
      halfWidth(std::fabs(shape.width) / 2.0),
      cornerRadius(std::clamp(radius, 0.0, std::min(halfLength, halfWidth))) {}

bool SlotOutline::isInside(double along, double across) const {
  double a = std::fabs(along);
  double b = std::fabs(across);
  if (!(a <= halfLength && b <= halfWidth)) return false;
  // Past both straight stretches the point is in a corner, inside only within its rounding.
  double intoCornerA = a - (halfLength - cornerRadius);
  double intoCornerB = b - (halfWidth - cornerRadius);
  if (intoCornerA <= 0.0 || intoCornerB <= 0.0) return true;
  return intoCornerA * intoCornerA + intoCornerB * intoCornerB <= cornerRadius * cornerRadius;
}

Box SlotOutline::box(const Vector3& center) const {
  Vector3 a = u * (halfLength - cornerRadius);
  Vector3 b = w * (halfWidth - cornerRadius);
  Box box = emptyBox();
  for (const Vector3& corner : {center + a + b, center - a + b, center - a - b, center + a - b}) {
    growBox(box, discBox(corner, normal, cornerRadius));
  }
  return box;
}
