#pragma once

// The six reference points of a box's faces: three on its top z = 0.02, two on its side y = 0 and one on
// its end x = 0, which give the planes (0, 0, 1; 0.02), (0, -1, 0; 0) and (1, 0, 0; 0).

#include "commands/alignment/device_to_part/reference_planes.h"

inline void setBoxReferencePoints(DeviceToPartReferencePlanes& data) {
  data.setPoint(1, 0, {0, 0, 0.02});
  data.setPoint(1, 1, {0.1, 0, 0.02});
  data.setPoint(1, 2, {0, 0.1, 0.02});
  data.setPoint(2, 0, {0, 0, 0});
  data.setPoint(2, 1, {0.1, 0, 0});
  data.setPoint(3, 0, {0, 0.05, 0});
}
