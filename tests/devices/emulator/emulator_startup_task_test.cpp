#include <gtest/gtest.h>

#include "devices/contracts/plugin.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host/api/zel_initializer.h"
#include "host/module_startup.h"
#include "support/module_fixture.h"

namespace {

using EmulatorStartup = ModuleTest;

TEST_F(EmulatorStartup, TheModulesStartUpLoadsTheEmulatorAmongTheHostsPlugins) {
  StartupReport report = runModuleStartup(host_.root(), component_.get());
  EXPECT_NE(std::find(report.tasksRun.begin(), report.tasksRun.end(), "EmulatorPluginStartupTask"),
            report.tasksRun.end());
  std::vector<IZelUnknown*> plugins = host_.pluginHandler().plugins();
  ASSERT_EQ(plugins.size(), 1u);
  auto* plugin = queryPart<IZelPlugin>(plugins[0]);
  ASSERT_TRUE(plugin);
  EXPECT_EQ(std::u16string(plugin->getName().c_str()), u"Hard Probe Emulator");
  EXPECT_TRUE(queryPart<IZelEmulatorPlugin>(plugins[0]));
  EXPECT_TRUE(queryPart<IZelHardProbePlugin>(plugins[0]));
  EXPECT_TRUE(queryPart<IZelHardProbeContinuousPlugin>(plugins[0]));
}

TEST_F(EmulatorStartup, WithoutAPluginHandlerTheTaskDoesNothing) {
  host_.root().setService("IZelPluginHandler", nullptr);
  IPtr<IZelStartupTask> task;
  task.createInstance(classIdOf("EmulatorPluginStartupTask"));
  ASSERT_TRUE(task);
  task->run();
  EXPECT_TRUE(host_.pluginHandler().plugins().empty());
}

}  // namespace
