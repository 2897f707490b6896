#pragma once

// The host's ready-made shapes ("IZelShapeFactory"), built as scene-graph nodes. Main thread only.

#include <cstdint>

#include "basic_types/color.h"
#include "host_api/zel_unknown.h"

class IZelShapeFactory : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelShapeFactory";

  // An axis triad under parent, drawn as the host chooses for style and the four sizes (in the units of
  // the transforms above it), labelled or not, with material (null: the host's own). The new node without
  // a reference for the caller, living as long as its parent holds it; null when none was made.
  virtual IZelUnknown* createCoordinateSystem(IZelUnknown* parent, int32_t style, double axisLength,
                                              double headLength, double shaftRadius, double headRadius,
                                              bool labelled, IZelUnknown* material) = 0;
  // One of the host's named drawing colours ("ColorDepthBorder", the outline of things drawn in depth);
  // false, leaving out as it was, for a name the host does not know.
  virtual bool namedColor(const char* name, ColorRGBA& out) = 0;
};
