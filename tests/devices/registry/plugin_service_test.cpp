#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/registry/plugin_service.h"
#include "host/core/module_startup.h"
#include "support/module_fixture.h"
#include "support/test_device.h"

namespace {

using PluginRegistry = ModuleTest;

TEST_F(PluginRegistry, ShutdownStopsEveryDeviceInNameOrderAndKeepsThem) {
  std::vector<std::string> journal;                  // outlives the devices that write to it
  runModuleStartup(host_.root(), component_.get());  // the host enrols the registry for its shutdown
  SPtr<IZelPluginService> registry;
  ASSERT_TRUE(registry);
  for (const char* name : {"LaserScan", "HardProbeContinuous", "HardProbe"})
    registry->setDevice(ZelCString(name), new TestDevice(name, "IZelHardProbeDataReceiver", journal));
  registry->setDevice(ZelCString("Spare"), nullptr);  // an entry without a device is passed over
  host_.shutdown();
  EXPECT_EQ(journal,
            (std::vector<std::string>{"stop HardProbe", "stop HardProbeContinuous", "stop LaserScan"}));
  EXPECT_NE(registry->getDevice(ZelCString("HardProbe")), nullptr);

  journal.clear();
  registry.release();
  detachFromHost();  // the module unloads: the registry goes, stopping its devices once more
  EXPECT_EQ(journal.size(), 3u);
}

}  // namespace
