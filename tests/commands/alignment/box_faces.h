#pragma once

// The faces of the part the alignment tests probe, the box 0.2 x 0.1 x 0.02 from the origin: the touches
// on each, its outward normal and a stop above it.

#include <vector>

#include "basic_types/vector3.h"

struct Face {
  std::vector<Vector3> points;  // on the part's surface
  Vector3 outward;
  Vector3 stop;  // off the face
};
inline const Face kTop{
    {{0.03, 0.03, 0.02}, {0.17, 0.03, 0.02}, {0.1, 0.08, 0.02}}, {0, 0, 1}, {0.1, 0.05, 0.05}};
inline const Face kSide{{{0.05, 0, 0.01}, {0.15, 0, 0.01}}, {0, -1, 0}, {0.1, -0.03, 0.01}};
inline const Face kEnd{{{0, 0.05, 0.01}}, {-1, 0, 0}, {-0.03, 0.05, 0.01}};
