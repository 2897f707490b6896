#include "host/document/features/host_line.h"

#include <algorithm>

Vector3 HostLine::closestPoint(const Vector3& point) {
  Vector3 along = shape_.end - shape_.start;
  double squared = along.squaredLength();
  if (!(squared > 0.0)) return shape_.start;
  double t = std::clamp((point - shape_.start).dot(along) / squared, 0.0, 1.0);
  return shape_.start + along * t;
}

Box HostLine::ownBox() const {
  Box box = pointBox(shape_.start);
  growBox(box, shape_.end);
  return box;
}

Locus HostLine::locus() const {
  return {Locus::Shape::kLine, (shape_.start + shape_.end) / 2.0, direction()};
}

Frame HostLine::localFrame() const {
  return frameAbout(shape_.start, direction(), kXAxis);
}
