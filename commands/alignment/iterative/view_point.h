#pragma once

// Where the camera of the current view should stand to look straight at a point of a document object along
// a surface direction, with a zoom that makes a given length fill a fixed share of the view. The camera
// animator applies it at once or at the end of a smooth move. Main thread only.

#include "basic_types/vector3.h"

class IZelDocObject;

class ViewPoint {
 public:
  ViewPoint(IZelDocObject* object, const Vector3& point, const Vector3& direction, double size)
      : object(object), point(point), direction(direction), size(size) {}
  virtual ~ViewPoint() = default;

  // Places the camera: the point 6 units in front of it, the direction pointing back at the viewer, the
  // focus on the point. A size of 0 or less keeps the zoom scale at 1.0. Nothing without the host's
  // graphics service or a current view.
  virtual void apply();

  IZelDocObject* object;  // not owned: the coordinates point and direction are given in
  Vector3 point;
  Vector3 direction;  // from the point towards the viewer
  double size;        // in object units
};
