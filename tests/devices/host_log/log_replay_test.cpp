#include <gtest/gtest.h>

#include <thread>

#include "devices/host_log/izel_plugin_manager_log_replay_util.h"
#include "devices/managers/hard_probe_plugin_manager.h"
#include "devices/managers/laser_scan_plugin_manager.h"
#include "support/device_event_recorder.h"
#include "tests/devices/host_log/host_log_fixture.h"
#include "tests/devices/support/test_plugin.h"

namespace {

const char* const kShifted = "1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1 ";

class LogReplay : public HostLogTestBase {
 protected:
  void SetUp() override {
    HostLogTestBase::SetUp();
    util_.getService();
    ASSERT_TRUE(util_) << "the host serves the replay utility";
  }
  void TearDown() override {
    util_.release();
    HostLogTestBase::TearDown();
  }

  void replay(const std::vector<Record>& records) {
    writeLog(records);
    ASSERT_TRUE(host_.replayer().startReplay(logPath()));
  }

  // The replay plug-in behind a plug-in pointer, or null when it is another plug-in.
  static LogReplayPlugin* replayPluginOf(IZelPlugin* plugin) {
    void* part = nullptr;
    if (plugin) plugin->queryInterface(LogReplayPlugin::interfaceName, &part, false);
    return static_cast<LogReplayPlugin*>(part);
  }
  std::string replayFile() {
    LogReplayPlugin* plugin = replayPluginOf(util_->replayPlugin());
    return plugin ? utf8(plugin->fileName()) : "no plug-in";
  }

  SPtr<IZelPluginManagerLogReplayUtil> util_;
};

TEST_F(LogReplay, StartOutsideAReplayLendsNoPlugin) {
  EXPECT_FALSE(util_->start());
  EXPECT_EQ(util_->replayPlugin(), nullptr);
  util_->finish();
  EXPECT_EQ(announcements(), 0u) << "a finish without a start has nothing to end";
}

TEST_F(LogReplay, AdvanceStopsAtTheNextDataRecordOfEitherKind) {
  replay({{"UserAction", "x"},
          {"PluginAlignmentMatrix", kShifted},
          {"PluginData", "a.xml"},
          {"PluginWait", ""},
          {"HardProbeData", "b.xml"}});
  ASSERT_TRUE(util_->start());
  util_->advanceToData();
  EXPECT_EQ(replayFile(), utf8(folder_.module("a.xml")));
  EXPECT_EQ(util_->replayPlugin()->hardwareMatrix().m[3], 5.0);
  EXPECT_EQ(host_.replayer().passedOver(), 1u) << "the user's action is the host's to play";

  util_->advanceToData();
  EXPECT_EQ(replayFile(), utf8(folder_.module("a.xml"))) << "data already pending: nothing more is played";

  host_.dataStore().fireEvent(nullptr, kLogReplayFinished);  // the plug-in has played a.xml
  ASSERT_TRUE(host_.replayer().replayNext());                // the wait
  util_->advanceToData();
  EXPECT_EQ(replayFile(), utf8(folder_.module("b.xml")));
  util_->finish();
}

TEST_F(LogReplay, StartsShareOnePluginAndOnlyTheLastFinishEndsTheReplay) {
  replay({{"PluginData", "a.xml"}, {"PluginData", "b.xml"}});
  ASSERT_TRUE(util_->start());
  IZelPlugin* plugin = util_->replayPlugin();
  ASSERT_NE(plugin, nullptr);
  ASSERT_TRUE(util_->start());
  EXPECT_EQ(util_->replayPlugin(), plugin);

  util_->finish();
  EXPECT_EQ(util_->replayPlugin(), plugin) << "the other start still uses it";
  EXPECT_EQ(announcements(), 0u);
  util_->advanceToData();
  EXPECT_EQ(replayFile(), utf8(folder_.module("a.xml"))) << "the records still reach it";

  util_->finish();
  EXPECT_EQ(util_->replayPlugin(), nullptr);
  EXPECT_EQ(announcements(), 1u);
  ASSERT_TRUE(host_.replayer().replayNext());
  EXPECT_EQ(host_.replayer().passedOver(), 1u) << "the kinds were withdrawn";
}

TEST_F(LogReplay, FinishEndsAWaitingRecord) {
  replay({{"PluginData", "a.xml"}, {"PluginWait", ""}});
  ASSERT_TRUE(util_->start());
  util_->advanceToData();
  // A device disconnects while the host's replay waits: the wait lets the host deliver the event that leads
  // to it.
  host_.dataStore().addGroup("Test");
  host_.dataStore().addEvent("Test/Disconnect", nullptr);
  IPtr<RecordingReceiver> disconnect(new RecordingReceiver);
  disconnect->setDuringCall([this] { util_->finish(); });
  host_.dataStore().addListener("Test/Disconnect", disconnect.get());
  host_.mainLoop().postName("Test/Disconnect");

  EXPECT_TRUE(host_.replayer().replayNext());
  EXPECT_EQ(util_->replayPlugin(), nullptr);
  host_.dataStore().removeListener("Test/Disconnect", disconnect.get());
}

// The managers lend the replay plug-in to their devices between connect and disconnect.
class ManagerReplay : public LogReplay {
 protected:
  void SetUp() override {
    LogReplay::SetUp();
    arm_ = TestPlugin::arm(u"Arm");
    host_.pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm_));
    ASSERT_TRUE(hardProbe_->setActivePlugin(arm_));
    scanning_->setActivePlugin(arm_);
  }

  IZelPlugin* arm_ = nullptr;
  IPtr<HardProbePluginManager> hardProbe_{new HardProbePluginManager};
  IPtr<LaserScanPluginManager> scanning_{new LaserScanPluginManager};
};

TEST_F(ManagerReplay, OutsideAReplayTheActivePluginStays) {
  hardProbe_->beginReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), arm_);
  hardProbe_->advanceReplay();
  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), arm_);
  EXPECT_EQ(announcements(), 0u);
}

TEST_F(ManagerReplay, TheReplayPluginStandsInUntilTheLastEnd) {
  replay({{"PluginAlignmentMatrix", kShifted}, {"PluginData", "a.xml"}, {"PluginWait", ""}});
  hardProbe_->beginReplay();
  IZelPlugin* lent = hardProbe_->activePlugin();
  ASSERT_NE(replayPluginOf(lent), nullptr);
  EXPECT_EQ(hardProbe_->currentPlugin(), lent);

  ScratchDirectory other;
  ASSERT_TRUE(host_.logger().startRecording(other.system("replayed.log")));
  ZelString fileName(u"untouched");
  hardProbe_->recordLog(Matrix4x4::identity(), fileName);
  EXPECT_EQ(utf8(fileName), "untouched") << "a replay is not recorded again";
  hardProbe_->advanceReplay();
  EXPECT_EQ(utf8(replayPluginOf(lent)->fileName()), utf8(folder_.module("a.xml")));
  EXPECT_EQ(lent->hardwareMatrix().m[3], 5.0);

  hardProbe_->beginReplay();  // the second hard-probe device connects
  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), lent);
  EXPECT_EQ(announcements(), 0u);
  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), arm_) << "the plug-in the first connect displaced";
  EXPECT_EQ(util_->replayPlugin(), nullptr);
  EXPECT_EQ(announcements(), 1u);
  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), arm_);
}

TEST_F(ManagerReplay, OneManagerEndingLeavesThePluginToTheOther) {
  replay({{"PluginData", "a.xml"}});
  hardProbe_->beginReplay();
  scanning_->beginReplay();
  IZelPlugin* lent = scanning_->activePlugin();
  ASSERT_NE(replayPluginOf(lent), nullptr);
  EXPECT_EQ(hardProbe_->activePlugin(), lent);

  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), arm_);
  EXPECT_EQ(util_->replayPlugin(), lent) << "still the scanner's";
  scanning_->advanceReplay();
  EXPECT_EQ(utf8(replayPluginOf(lent)->fileName()), utf8(folder_.module("a.xml")));
  scanning_->endReplay();
  EXPECT_EQ(scanning_->activePlugin(), arm_);
  EXPECT_EQ(util_->replayPlugin(), nullptr);
}

// A session recorded with a device, replayed without it: the test plays the device's part, its worker thread
// running the lent plug-in while the host's replay waits on the main thread.
class ManagerReplayThreads : public ManagerReplay {};

TEST_F(ManagerReplayThreads, ARecordedAcquisitionPlaysBackWithItsAlignment) {
  ASSERT_TRUE(host_.logger().startRecording(logPath()));
  ZelString eventFile;
  hardProbe_->recordLog(Matrix4x4::translation(Vector3(0.5, 0, -2)), eventFile);
  host_.logger().stopRecording();
  ASSERT_EQ(utf8(eventFile), utf8(folder_.module("run-hardprobe-0000.xml")));
  folder_.write("run-hardprobe-0000.xml", "<SetRadius time=\"0\">0.003</SetRadius><OnStop time=\"20\"/>");

  ASSERT_TRUE(host_.replayer().startReplay(logPath()));
  hardProbe_->beginReplay();
  hardProbe_->advanceReplay();
  IZelPlugin* lent = hardProbe_->activePlugin();
  ASSERT_NE(replayPluginOf(lent), nullptr);
  EXPECT_EQ(lent->hardwareMatrix().m[3], 0.5);
  EXPECT_EQ(lent->hardwareMatrix().m[11], -2.0);

  void* part = nullptr;
  lent->queryInterface(IZelHardProbeContinuousPlugin::interfaceName, &part, false);
  auto* face = static_cast<IZelHardProbeContinuousPlugin*>(part);
  ZelString error;
  ASSERT_TRUE(face->connect(error));
  IPtr<DeviceEventRecorder> recorder(new DeviceEventRecorder);
  IPtr<IZelPlugin> held(lent);  // the worker's own reference
  std::thread worker([face, &recorder] { face->run(recorder->continuous()); });

  EXPECT_TRUE(host_.replayer().replayNext()) << "the wait record, until the plug-in has played its file";
  EXPECT_EQ(recorder->calls(), (std::vector<std::string>{"radius 0.003", "stop"}));
  EXPECT_EQ(announcements(), 1u);
  worker.join();
  face->disconnect();
  hardProbe_->endReplay();
  EXPECT_FALSE(host_.replayer().replayNext()) << "the log is played to its end";
}

}  // namespace
