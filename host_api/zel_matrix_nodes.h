#pragma once

// Scene-graph nodes that place what follows them under the same parent: a matrix node with a fixed
// transform, and a matrix-source node that asks its source for the transform each time the host draws.
// Main thread only.

#include "basic_types/matrix4x4.h"
#include "host_api/zel_unknown.h"

// Gives a transform when asked.
class IZelMatrixSource : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMatrixSource";

  virtual void getMatrix(Matrix4x4& out) = 0;
};

class IZelMatrixSourceNode : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMatrixSourceNode";

  // The node holds a reference on the source; null: no transform.
  virtual void setMatrixSource(IZelMatrixSource* source) = 0;
};

class IZelMatrixNode : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMatrixNode";

  virtual void setMatrix(const Matrix4x4& matrix) = 0;
};
