#pragma once

// The start-up task that makes the device's axis triad (see device_csys_gfx.h) once the host runs the
// module's start-up tasks.

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_initializer.h"

class DeviceCSYSGfxStartupTask : public IZelStartupTask, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "DeviceCSYSGfxStartupTask";

  void run() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
