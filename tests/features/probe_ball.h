#pragma once

#include "basic_types/vector3.h"

// The ball radius the collector and creator tests probe with, and the axis their features stand along.
inline constexpr double kProbe = .002;
inline constexpr Vector3 kUp{0, 0, 1};
