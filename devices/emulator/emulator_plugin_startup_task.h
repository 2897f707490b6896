#pragma once

// The start-up task that puts the emulator into the host's list of device plug-ins, so the plug-in managers
// can choose it like any other. Without the host's plug-in handler it does nothing.

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_initializer.h"

class EmulatorPluginStartupTask : public IZelStartupTask, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "EmulatorPluginStartupTask";

  void run() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

// Loads an emulator into the host's plug-in handler unless the host holds one already. The host runs the
// start-up tasks in an order of its own, so the managers' task calls this too before they choose: whichever
// task runs first, they choose among every plug-in the module brings, and the emulator is loaded once.
void loadModuleEmulator();
