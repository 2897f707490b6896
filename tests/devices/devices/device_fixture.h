#pragma once

// The module started as a host starts it, with one scripted test plug-in ("Arm", all three faces) loaded
// before the managers choose: the start-up tasks have made the three devices and the two managers, and both
// managers have chosen the plug-in. Receivers are recorders; the main loop is pumped by the test. Logs go to
// a scratch directory.

#include <chrono>
#include <cstdio>
#include <string>

#include "devices/contracts/plugin_device.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/iptr.h"
#include "support/device_event_recorder.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/scratch_directory.h"
#include "support/text.h"
#include "tests/devices/support/test_plugin.h"

// A probe pointing down, its up towards +y: the orientation of most scripted events.
inline const Vector3 kDown{0, 0, -1}, kNorth{0, 1, 0};

class DeviceTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    plugin_ =
        IPtr<TestPlugin>(new TestPlugin(u"Arm", {.single = true, .continuous = true, .laserScan = true}));
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(plugin_.get()));
    runStartupTask("PluginDeviceStartupTask");
    runStartupTask("PluginManagerStartupTask");
    registry_.getService();
    ASSERT_TRUE(registry_);
  }

  void TearDown() override {
    for (const char* name : {"HardProbe", "HardProbeContinuous", "LaserScan"})
      if (IZelPluginDevice* d = device(name)) d->stopAcquisition();
    host_.devices().logger().stopRecording();
    registry_.release();
    plugin_.release();
    ModuleTest::TearDown();
  }

  IZelPluginDevice* device(const char* name) { return registry_->getDevice(ZelCString(name)); }
  IZelPluginDevice* continuous() { return device("HardProbeContinuous"); }
  IZelPluginDevice* single() { return device("HardProbe"); }
  IZelPluginDevice* laserScan() { return device("LaserScan"); }
  IZelPluginManager* manager(const char* name) { return registry_->getManager(ZelCString(name)); }

  // Connects the device, registers the recorder and starts acquisition with the script.
  void start(IZelPluginDevice* d, std::vector<PluginStep> script) {
    plugin_->script().queue(std::move(script));
    ASSERT_TRUE(d->connect());
    d->addReceiver(recorder_->registered());
    ASSERT_TRUE(d->startAcquisition());
  }

  void rateLimitOff() { host_.core().dataStore().setInt(nullptr, "Palpera/MoveEventRateLimit", 0); }
  // The host's logger records: the devices' raw events go to the numbered event file its log names, with
  // "Palpera/Logging" left at its default, off.
  void logToScratch() { ASSERT_TRUE(host_.devices().logger().startRecording(folder_.system("run.log"))); }
  std::string eventLog(int number = 0) {
    char name[32];
    std::snprintf(name, sizeof name, "run-hardprobe-%04d.xml", number);
    return folder_.read(name);
  }

  // Delivers on the main thread until the recorder has count calls; false when it did not get them in time.
  bool pumpUntilCalls(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    return host_.core().mainLoop().runUntil([&] { return recorder_->calls().size() >= count; }, timeout);
  }

  ScratchDirectory folder_;
  IPtr<TestPlugin> plugin_;
  IPtr<IZelPluginService> registry_;
  IPtr<DeviceEventRecorder> recorder_{new DeviceEventRecorder};
};
