#include "host/scene/host_theme_materials.h"

std::optional<ColorSet> themeMaterial(const std::string& name) {
  if (name == "MaterialLocationSet") {
    const ColorRGBA grey{0.5f, 0.5f, 0.5f, 1.0f};
    return ColorSet{grey, grey, {0.2f, 0.2f, 0.2f, 1.0f}, {0, 0, 0, 1.0f}};
  }
  if (name == "MaterialDepthPlane") {
    const ColorRGBA pale{0.9f, 0.9f, 0.9f, 0.4f};
    return ColorSet{pale, pale, {0, 0, 0, 0.4f}, {0, 0, 0, 0.4f}};
  }
  return std::nullopt;
}
