#pragma once

// Box: an axis-aligned box by its minimum and maximum corners. A value type.

#include "basic_types/vector3.h"

struct Box {
  Vector3 min;
  Vector3 max;

  Vector3 center() const { return (min + max) * 0.5; }
  // The minimum or maximum corner; the zero vector for a null box.
  static Vector3 minimum(const Box* box) { return box ? box->min : Vector3(); }
  static Vector3 maximum(const Box* box) { return box ? box->max : Vector3(); }
};
