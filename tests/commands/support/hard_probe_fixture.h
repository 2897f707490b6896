#pragma once

// A module on the stand-in host with the emulator as the current hard-probe plug-in and a test device
// registered as "HardProbe", which the tests feed by hand. The settings are registered; the probe is not
// drawn unless a test switches "Palpera/Gfx/ShowProbe" on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/alignment/alignment_services.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/query_part.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/test_device.h"

class HardProbeTest : public ModuleTest {
 protected:
  HardProbeTest() : HardProbeTest("IZelHardProbeDataReceiver") {}
  // A test device taking receivers that answer receiverInterface.
  explicit HardProbeTest(const char* receiverInterface)
      : device_(new TestDevice("HardProbe", receiverInterface, journal_)) {}

  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    // No materials file: the library holds the default "Steel".
    host_.core().dataStore().setString(nullptr, "DefaultFileNameDirectory/common",
                                       ZelString(u"/nonexistent"));
    devices_.getService();
    ASSERT_TRUE(devices_);
    devices_->setDevice(ZelCString("HardProbe"), device_.get());
    runStartupTask("EmulatorPluginStartupTask");
    runStartupTask("PluginManagerStartupTask");
    IZelPluginManager* manager = devices_->getManager(ZelCString("HardProbe"));
    ASSERT_TRUE(manager);
    ASSERT_TRUE(
        manager->setActivePlugin(queryPart<IZelPlugin>(host_.devices().pluginHandler().plugins().back())));
    plugin_ = manager->currentPlugin();
    ASSERT_TRUE(plugin_);
  }
  void TearDown() override {
    devices_->setDevice(ZelCString("HardProbe"), nullptr);
    devices_.release();
    ModuleTest::TearDown();
  }

  // The temperature scale of steel at 30 °C, about 1 - 1.2e-4.
  void setTemperatureScale() {
    SPtr<IZelPluginDeviceScaleAlignmentService> scale;
    ASSERT_TRUE(scale);
    scale->setMaterial(ZelCString("Steel"), 30.0);
    ASSERT_NE(scale->matrix()->m[0], 1.0);
  }
  // The committed hardware matrix, as the data store holds it.
  Matrix4x4 committedHardware() {
    uint32_t size = 0;
    bool found = false;
    const void* bytes =
        host_.core().dataStore().getBlob("Palpera/Alignment/Hardware Alignment", &size, &found);
    Matrix4x4 stored;
    if (found && size == sizeof(stored.m)) std::memcpy(stored.m, bytes, size);
    return stored;
  }

  std::vector<std::string> journal_;
  IPtr<TestDevice> device_;
  IPtr<IZelPluginService> devices_;
  IZelPlugin* plugin_ = nullptr;
};
