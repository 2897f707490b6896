#pragma once

// The stand-in host's GUI themes ("IGuiThemes"): one theme, current from the start, whose colours tests set
// and can take away again, so that the module's fallbacks run. Main thread only.

#include <map>
#include <string>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/gui_themes.h"

class HostGuiTheme : public IGuiTheme, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGuiTheme";

  HostGuiTheme();

  bool color(const char* name, ColorRGBA& color) override;
  bool material(const char* name, ColorSet& material) override;

  // Host side.
  void setColor(const std::string& name, const ColorRGBA& color) { colors_[name] = color; }
  void removeColor(const std::string& name) { colors_.erase(name); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::map<std::string, ColorRGBA> colors_;
};

class HostGuiThemes : public IGuiThemes, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGuiThemes";

  IGuiTheme* currentTheme() override { return chosen_ ? theme_.get() : nullptr; }

  // Host side.
  HostGuiTheme& theme() { return *theme_; }
  void setThemeChosen(bool chosen) { chosen_ = chosen; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<HostGuiTheme> theme_{new HostGuiTheme};
  bool chosen_ = true;
};
