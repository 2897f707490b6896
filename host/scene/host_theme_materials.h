#pragma once

// The materials of the stand-in host's one theme: "MaterialLocationSet", the grey of located points, and
// "MaterialDepthPlane", the see-through face of a plane drawn in depth.

#include <optional>
#include <string>

#include "basic_types/color.h"

std::optional<ColorSet> themeMaterial(const std::string& name);
