#include <gtest/gtest.h>

#include <vector>

#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"

namespace {

// The start-up tasks in an order a host may run them: the emulator's last, then first.
using TaskOrder = std::vector<const char*>;

class EmulatorStartupOrder : public ModuleTest, public testing::WithParamInterface<TaskOrder> {};

TEST_P(EmulatorStartupOrder, TheHardProbeManagerChoosesTheModulesEmulatorWhicheverTaskRunsFirst) {
  registerModuleSettings();
  for (const char* className : GetParam()) runStartupTask(className);
  std::vector<IZelUnknown*> plugins = host_.devices().pluginHandler().plugins();
  ASSERT_EQ(plugins.size(), 1u) << "the emulator is loaded once";
  auto* emulator = queryPart<IZelPlugin>(plugins[0]);
  ASSERT_TRUE(emulator && queryPart<IZelEmulatorPlugin>(plugins[0]));
  SPtr<IZelPluginService> registry;
  EXPECT_EQ(registry->getManager(ZelCString("HardProbe"))->activePlugin(), emulator);
  EXPECT_EQ(std::u16string(host_.core().dataStore().getString("Palpera/ActivePlugin").c_str()),
            u"Hard Probe Emulator");
}

INSTANTIATE_TEST_SUITE_P(Orders, EmulatorStartupOrder,
                         testing::Values(TaskOrder{"PluginManagerStartupTask", "EmulatorPluginStartupTask"},
                                         TaskOrder{"EmulatorPluginStartupTask", "PluginManagerStartupTask"}));

}  // namespace
