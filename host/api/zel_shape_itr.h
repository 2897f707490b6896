#pragma once

// What an iterator that draws shapes offers a static iterator node beside IZelItr: each frame the node resets
// it, then takes primitive after primitive, and from each its vertices in order. Main thread only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "host/api/zel_unknown.h"

class IZelShapeItr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelShapeItr";

  // Primitive kinds.
  static constexpr int32_t kLineStrip = 1;
  static constexpr int32_t kPolygon = 2;

  // Starts a new frame.
  virtual void reset() = 0;
  // Moves to the next primitive and gives its kind; false when there are no more.
  virtual bool nextPrimitive(int32_t& kind) = 0;
  virtual bool hasMoreVertices() = 0;
  // The current primitive's next vertex, in scene coordinates.
  virtual bool nextVertex(Vector3& vertex) = 0;
  // The current primitive's normal; false when it has none.
  virtual bool normal(Vector3& normal) = 0;
};
