#pragma once

// Lets the triad be drawn only while the hard-probe plug-in manager has a current plug-in.

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_scene_node.h"
#include "ui/triad/device_csys_gfx.h"

class DeviceCSYSGfx::VisibilitySource : public IZelVisibilitySource, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "DeviceCSYSGfx::VisibilitySource";

  bool isVisible() override;
  bool isPickable() override { return false; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
