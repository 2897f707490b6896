#include <gtest/gtest.h>

#include <string>

#include "devices/alignment/alignment_services.h"
#include "devices/log_replay/log_replay_plugin.h"
#include "support/recording_receiver.h"
#include "tests/devices/devices/device_fixture.h"

namespace {

using namespace steps;

class DeviceRecordReplayThreads : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    host_.core().dataStore().addListener(kLogReplayFinished, finished_.get());
  }
  void TearDown() override {
    host_.core().dataStore().removeListener(kLogReplayFinished, finished_.get());
    DeviceTest::TearDown();
  }

  // The user's own hardware alignment as the data store keeps it.
  std::string storedHardwareAlignment() {
    uint32_t size = 0;
    bool found = false;
    auto* bytes = static_cast<const char*>(
        host_.core().dataStore().getBlob("Palpera/Alignment/Hardware Alignment", &size, &found));
    return found && bytes ? std::string(bytes, size) : std::string();
  }

  IPtr<RecordingReceiver> finished_{new RecordingReceiver};
};

TEST_F(DeviceRecordReplayThreads, AReplayedRunGivesTheReceiversTheRecordedCallsWithoutThePlugin) {
  rateLimitOff();
  plugin_->setHardwareMatrix(Matrix4x4::translation({1, 0, 0}));
  logToScratch();
  start(continuous(),
        {radius(0.003), startCapture(), moved({0.125, -0.04, 1.5}, kDown, kNorth),
         sampled({0.25, 0, 1}, {1, 0, 0}, kNorth), stopCapture(), custom("Done"), stop(), endRun()});
  ASSERT_TRUE(pumpUntilCalls(7));
  continuous()->stopAcquisition();
  ASSERT_TRUE(continuous()->disconnect());
  continuous()->removeReceiver(recorder_->registered());
  host_.devices().logger().stopRecording();
  const Lines recorded = recorder_->calls();
  ASSERT_EQ(recorded.size(), 7u);
  ASSERT_EQ(recorded[2], "moved 1.125,-0.04,1.5 0,0,-1 0,1,0") << "the run took the device transform";

  // No plug-in is active now: only the host's log and the event file drive the device. The user has
  // alignments of their own now, which the recorded transform already holds or must not replace.
  ASSERT_TRUE(manager("HardProbe")->setActivePlugin(nullptr));
  SPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
  SPtr<IZelPluginDeviceObjectAlignmentService> object;
  ASSERT_TRUE(hardware && object);
  hardware->setMatrix(Matrix4x4::translation({0, 0, 9}), true);
  object->setMatrix(Matrix4x4::translation({0, 5, 0}));
  const std::string usersAlignment = storedHardwareAlignment();
  ASSERT_EQ(usersAlignment.size(), 128u);
  recorder_ = IPtr<DeviceEventRecorder>(new DeviceEventRecorder);
  ASSERT_TRUE(host_.devices().replayer().startReplay(folder_.system("run.log")));
  ASSERT_TRUE(continuous()->connect());
  manager("HardProbe")->activePlugin()->reloadObjectMatrix();
  continuous()->addReceiver(recorder_->registered());
  ASSERT_TRUE(continuous()->startAcquisition());
  ASSERT_TRUE(
      host_.core().mainLoop().runUntil([&] { return !finished_->heard().empty(); }, std::chrono::seconds(5)))
      << "the replay of the event file ends";
  continuous()->stopAcquisition();
  continuous()->disconnect();

  EXPECT_EQ(recorder_->calls(), recorded) << "the run took the recorded transform";
  EXPECT_EQ(storedHardwareAlignment(), usersAlignment);
  EXPECT_EQ(hardware->matrix()->m[11], 9.0);
  EXPECT_EQ(plugin_->script().runs(), 1u);
  EXPECT_EQ(plugin_->continuousFace().connects(), 1);
}

}  // namespace
