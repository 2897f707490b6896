#pragma once

// The start-up task that makes the three device objects and registers them in the plug-in registry:
// "HardProbe", "HardProbeContinuous" and "LaserScan". The registry's reference is what keeps each device;
// the task keeps none. Without the registry it makes nothing. Main thread, once at start-up.

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_initializer.h"

class PluginDeviceStartupTask : public IZelStartupTask, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PluginDeviceStartupTask";

  void run() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
