#pragma once

// The materials of the stand-in host's one theme: "MaterialLocationSet", the grey of located points, and
// "MaterialDepthPlane", the see-through face of a plane drawn in depth. Its "IGuiThemes" service hands out
// that theme.

#include <optional>
#include <string>

#include "framework/object/iptr.h"
#include "host/api/alignment_widgets.h"
#include "host/core/host_unknown.h"

std::optional<ColorSet> themeMaterial(const std::string& name);

class HostGuiTheme : public IGuiTheme, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGuiTheme";

  bool material(const char* name, ColorSet& out) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

class HostGuiThemes : public IGuiThemes, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGuiThemes";

  IGuiTheme* currentTheme() override { return theme_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<HostGuiTheme> theme_{new HostGuiTheme};
};
