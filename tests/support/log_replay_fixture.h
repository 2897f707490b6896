#pragma once

// The module on a stand-in host with the replay plug-in made as the replay machinery makes it (by class id
// through the host root), its three faces connected, and a listener on "Palpera/LogReplayFinished". Logs are
// files in a scratch directory.

#include <string>

#include "devices/log_replay/log_replay_plugin.h"
#include "framework/registrations/registered_classes.h"
#include "support/device_event_recorder.h"
#include "support/module_fixture.h"
#include "support/recording_receiver.h"
#include "support/scratch_directory.h"

class LogReplayTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    host_.core().dataStore().addGroup("Palpera");
    host_.core().dataStore().addEvent(kLogReplayFinished, nullptr);
    host_.core().dataStore().addListener(kLogReplayFinished, finished_.get());
    plugin_.createInstance(classIdOf(LogReplayPlugin::interfaceName));
    ASSERT_TRUE(plugin_);
    ZelString error;
    static_cast<IZelHardProbePlugin&>(*plugin_).connect(error);
    static_cast<IZelHardProbeContinuousPlugin&>(*plugin_).connect(error);
    static_cast<IZelLaserScanPlugin&>(*plugin_).connect(error);
  }

  // The text becomes the log the plug-in plays next.
  void useLog(const std::string& text, const std::string& name = "run.xml") {
    scratch_.write(name, text);
    plugin_->setFileName(scratch_.module(name));
  }

  // How many "Palpera/LogReplayFinished" the main thread has heard, after delivering what is pending.
  size_t finishedCount() {
    host_.core().mainLoop().runPending();
    return finished_->heard().size();
  }

  ScratchDirectory scratch_;
  IPtr<RecordingReceiver> finished_{new RecordingReceiver};
  IPtr<LogReplayPlugin> plugin_;
  IPtr<DeviceEventRecorder> recorder_{new DeviceEventRecorder};
};
