#pragma once

// What an iterator that draws one image offers a static iterator node beside IZelItr: each frame the node
// resets it, asks it to begin, and takes the vertices it gives; the image is drawn with its lower-left corner
// at each vertex, unscaled. Main thread only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "host_api/zel_unknown.h"

class IZelImageNode;

class IZelImageItr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelImageItr";

  // Starts a new frame; answers 0.
  virtual int32_t reset() = 0;
  // False when there is nothing to draw this time; otherwise format names the vertex layout.
  virtual bool begin(int32_t& format) = 0;
  virtual bool hasNext() = 0;
  // The next vertex, in scene coordinates.
  virtual bool next(Vector3& vertex) = 0;
  // The node holding the image, without a reference for the caller.
  virtual IZelImageNode* image() = 0;
};
