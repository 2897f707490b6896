#pragma once

// The host's GUI themes: the colours the user's current theme gives named parts of the interface, such as
// "ColorDatumLabelBackground" and "ColorDatumLabelForeground", and the materials it draws named things with.
// Main thread only.

#include "basic_types/color.h"
#include "host_api/zel_unknown.h"

class IGuiTheme : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiTheme";
  // False, with color untouched, for a name the theme does not give.
  virtual bool color(const char* name, ColorRGBA& color) = 0;
  // The theme's material of that name ("MaterialDepthPlane", "MaterialLocationSet"); false, with material
  // untouched, for a name the theme does not give.
  virtual bool material(const char* name, ColorSet& material) = 0;
};

class IGuiThemes : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiThemes";
  // Without a reference for the caller; null when no theme is chosen.
  virtual IGuiTheme* currentTheme() = 0;
};
