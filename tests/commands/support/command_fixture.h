#pragma once

// Runs one of the module's commands as the host does: created by class id, driven by the host's command
// runner over its dialog and command container, with the plug-in registry at hand for test devices and
// managers, and the module's settings registered (the managers keep their choice there). A command still
// running at the end is cancelled while the host is still there.

#include <string>
#include <vector>

#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host/gui/command_runner.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/test_device.h"

class CommandTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    registry_.getService();
    ASSERT_TRUE(registry_);
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    command_.release();
    registry_.release();
    ModuleTest::TearDown();
  }

  CommandRunner::Start start(const char* className) {
    command_.createInstance(classIdOf(className));
    return runner_.start(command_.get());
  }
  HostGuiDialog& dialog() { return host_.gui().dialog(); }
  // Presses the dialog's button id, with a fresh journal.
  bool press(int32_t id) {
    journal_.clear();
    return dialog().pressButton(id);
  }

  // A test device registered under name, taking receivers that answer receiverInterface.
  TestDevice* addDevice(const char* name, const char* receiverInterface) {
    TestDevice* device = new TestDevice(name, receiverInterface, journal_);
    registry_->setDevice(ZelCString(name), device);
    return device;
  }

  // The emulator as the current plug-in of the "HardProbe" manager, which the start-up tasks set up; null
  // (with a failure) when it is missing.
  IZelPlugin* useEmulatorPlugin() {
    runStartupTask("EmulatorPluginStartupTask");
    runStartupTask("PluginManagerStartupTask");
    IZelPluginManager* manager = registry_->getManager(ZelCString("HardProbe"));
    EXPECT_TRUE(manager);
    if (!manager) return nullptr;
    EXPECT_TRUE(
        manager->setActivePlugin(queryPart<IZelPlugin>(host_.devices().pluginHandler().plugins().back())));
    return manager->currentPlugin();
  }

  std::vector<std::u16string> errorMessages() {
    std::vector<std::u16string> messages;
    for (const RecordingErrorService::Report& report : host_.core().errors().reports())
      messages.push_back(report.message);
    return messages;
  }

  std::vector<std::string> journal_;  // outlives the devices that write to it
  IPtr<IZelPluginService> registry_;
  IPtr<IComponentCommand> command_;
  CommandRunner runner_{&host_.gui().commandContainer(), &host_.gui().dialog(), &host_.scene().view()};
};
