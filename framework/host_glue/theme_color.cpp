#include "framework/host_glue/theme_color.h"

#include "framework/object/host_lookup.h"
#include "host_api/gui_themes.h"

ColorRGBA themeColor(const char* name, const ColorRGBA& fallback) {
  ColorRGBA color = fallback;
  SPtr<IGuiThemes> themes;
  if (IGuiTheme* theme = themes ? themes->currentTheme() : nullptr) theme->color(name, color);
  return color;
}
