#pragma once

// What a shape iterator offers a static iterator node beside IZelItr: the shape as primitives (strips,
// polygons, lines), each a run of vertices that share one normal. Each time the node draws, it resets the
// iterator and walks every primitive's vertices in order. Main thread only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "host_api/zel_itr.h"
#include "host_api/zel_unknown.h"

// The host's primitive types.
struct ZelPrimitiveType {
  static constexpr int32_t Points = 0;
  static constexpr int32_t LineLoop = 2;  // a closed outline: the last vertex joins the first
  static constexpr int32_t LineStrip = 3;
  static constexpr int32_t TriangleStrip = 5;
  static constexpr int32_t Polygon = 6;
};

class IZelPrimitiveItr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPrimitiveItr";

  // Back to before the first primitive.
  virtual void reset() = 0;
  // Starts the next primitive and gives its type; false after the last.
  virtual bool nextPrimitive(int32_t& type) = 0;
  virtual bool hasMoreVertices() = 0;
  // The next vertex of the current primitive; false when it has none left.
  virtual bool nextVertex(Vector3& position) = 0;
  // The normal of the vertex last given.
  virtual bool vertexNormal(Vector3& normal) = 0;
};

// The host's arrow of lines, served fresh by its interface name: a shaft from the start along the direction
// with a small head at its far end, drawn as line strips. The same object answers "IZelItr" for the static
// iterator node that draws it.
class IZelLineArrowItr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelLineArrowItr";

  // A zero length or direction draws nothing.
  virtual void setArrow(const Vector3& start, const Vector3& direction, double length) = 0;
};
