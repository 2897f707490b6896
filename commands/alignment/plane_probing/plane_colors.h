#pragma once

// The colours of the three planes of the 3-2-1 device alignment (RGBA): red, green and blue for planes 1 to
// 3. The reference planes, the markers' plane and the points probed for each plane share them.

#include "basic_types/color.h"

inline constexpr ColorRGBA kPlaneColors[3] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};

// The colour of plane 1 to 3; a plane outside takes the nearest.
inline const ColorRGBA& planeColor(int plane) {
  return kPlaneColors[plane < 1 ? 0 : plane > 3 ? 2 : plane - 1];
}
