#include "host/gui/host_gui_themes.h"

#include "framework/object/query_chain.h"
#include "host/scene/host_theme_materials.h"

HostGuiTheme::HostGuiTheme() {
  // The datum labels of the host's light theme: dark text on a pale yellow.
  setColor("ColorDatumLabelBackground", {1.0f, 1.0f, 0.8f, 1.0f});
  setColor("ColorDatumLabelForeground", {0.1f, 0.1f, 0.1f, 1.0f});
  // Probed points in blue, selected ones in orange; datum objects in green.
  setColor("ColorHardProbedPoints", {0.2f, 0.4f, 1.0f, 1.0f});
  setColor("ColorSelectedHardProbedPoints", {1.0f, 0.6f, 0.0f, 1.0f});
  setColor("ColorDatumObjects", {0.0f, 0.8f, 0.3f, 1.0f});
}

bool HostGuiTheme::color(const char* name, ColorRGBA& color) {
  auto found = name ? colors_.find(name) : colors_.end();
  if (found == colors_.end()) return false;
  color = found->second;
  return true;
}

bool HostGuiTheme::material(const char* name, ColorSet& material) {
  std::optional<ColorSet> found = themeMaterial(name ? name : "");
  if (found) material = *found;
  return found.has_value();
}

void HostGuiTheme::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiTheme>(this).end();
}

void HostGuiThemes::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiThemes>(this).end();
}
