#pragma once

// The stand-in host's theme manager (the service "IGuiThemeMgr"): the default theme's names of the selection
// mouse actions, dragging with the left button to select and with the right button to unselect.

#include "host/core/host_unknown.h"
#include "host_api/gui_theme_mgr.h"

class HostThemeMgr : public IGuiThemeMgr, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostThemeMgr";

  ZelString mouseActionName(int32_t action) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
