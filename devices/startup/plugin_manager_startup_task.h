#pragma once

// The start-up task that loads the module's emulator when the host has none yet (see loadModuleEmulator),
// then makes the two plug-in managers, registers them in the plug-in registry ("HardProbe"
// and "LaserScan") and lets each choose its active plug-in, registered first so that its choice can already
// be read through the registry. Then it asks the host to refresh its user interface, which shows the
// choices. Without the registry it makes nothing. Main thread, once at start-up.

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_initializer.h"

class PluginManagerStartupTask : public IZelStartupTask, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginManagerStartupTask";

  void run() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
