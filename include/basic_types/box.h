#pragma once

// Box: an axis-aligned box by its minimum and maximum corners. A value type.

#include "basic_types/vector3.h"

struct Box {
  Vector3 min;
  Vector3 max;

  Vector3 center() const { return (min + max) * 0.5; }
};
