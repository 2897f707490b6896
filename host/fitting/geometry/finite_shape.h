#pragma once

// Fits solve on scaled points, but a shape goes back to the points' units, where numbers near the limits of a
// double can still overflow: such a shape is refused rather than handed out with infinities in it.

#include "host/fitting/geometry/fit_result.h"
#include "host/fitting/geometry/point_set.h"
#include "host/fitting/geometry/shapes.h"

namespace fitting::detail {

bool isFinite(const Plane& plane);
bool isFinite(const Line& line);
bool isFinite(const Circle& circle);
bool isFinite(const Sphere& sphere);
bool isFinite(const Cylinder& cylinder);
bool isFinite(const Cone& cone);
bool isFinite(const ParallelPlanes& planes);

template <class Shape>
FitResult<Shape> finiteOrRefused(Shape shape) {
  if (!isFinite(shape)) return FitFailure{kBeyondRange};
  return shape;
}

}  // namespace fitting::detail
