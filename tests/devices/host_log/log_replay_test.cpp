#include <gtest/gtest.h>

#include "devices/host_log/izel_plugin_manager_log_replay_util.h"
#include "devices/managers/hard_probe_plugin_manager.h"
#include "devices/managers/laser_scan_plugin_manager.h"
#include "tests/devices/host_log/host_log_fixture.h"
#include "tests/devices/support/test_plugin.h"

namespace {

const char* const kShifted = "1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1 ";

// The managers lend the replay plug-in to their devices between connect and disconnect.
class ManagerReplay : public HostLogTestBase {
 protected:
  void SetUp() override {
    HostLogTestBase::SetUp();
    util_.getService();
    ASSERT_TRUE(util_) << "the host serves the replay utility";
    host_.pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm_));
    ASSERT_TRUE(hardProbe_->setActivePlugin(arm_));
    scanning_->setActivePlugin(arm_);
  }
  void TearDown() override {
    util_.release();
    HostLogTestBase::TearDown();
  }

  void replay(const std::vector<Record>& records) {
    writeLog(records);
    ASSERT_TRUE(host_.replayer().startReplay(logPath()));
  }
  // The file the replay plug-in behind the plug-in pointer is to play.
  static std::string fileOf(IZelPlugin* plugin) {
    void* part = nullptr;
    if (plugin) plugin->queryInterface(LogReplayPlugin::interfaceName, &part, false);
    return part ? utf8(static_cast<LogReplayPlugin*>(part)->fileName()) : "not the replay plug-in";
  }

  SPtr<IZelPluginManagerLogReplayUtil> util_;
  TestPlugin* arm_ = TestPlugin::arm(u"Arm");
  IPtr<HardProbePluginManager> hardProbe_{new HardProbePluginManager};
  IPtr<LaserScanPluginManager> scanning_{new LaserScanPluginManager};
};

TEST_F(ManagerReplay, TheReplayPluginStandsInUntilTheLastEnd) {
  replay({{"UserAction", "x"},
          {"PluginAlignmentMatrix", kShifted},
          {"PluginData", "a.xml"},
          {"PluginWait", ""}});
  hardProbe_->beginReplay();
  IZelPlugin* lent = hardProbe_->activePlugin();
  EXPECT_TRUE(lent->getName().isEmpty());
  hardProbe_->advanceReplay();
  EXPECT_EQ(fileOf(lent), utf8(folder_.module("a.xml")));
  EXPECT_EQ(lent->hardwareMatrix().m[3], 5.0);
  EXPECT_EQ(host_.replayer().passedOver(), 1u) << "the user's action is the host's to play";
  host_.dataStore().fireEvent(nullptr, kLogReplayFinished);  // the acquisition's run has ended
  hardProbe_->advanceReplay();                               // the next acquisition finds no data left
  EXPECT_EQ(fileOf(lent), "") << "nothing to play, rather than the earlier acquisition's file";
  EXPECT_FALSE(host_.replayer().isReplaying()) << "its wait was played on the way";

  hardProbe_->beginReplay();  // the second hard-probe device connects
  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), lent);
  EXPECT_EQ(announcements(), 1u);
  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), arm_) << "the plug-in the first connect displaced";
  EXPECT_EQ(util_->replayPlugin(), nullptr);
  EXPECT_EQ(announcements(), 2u);
}

TEST_F(ManagerReplay, OneManagerEndingLeavesThePluginToTheOther) {
  replay({{"HardProbeData", "a.xml"}, {"PluginData", "b.xml"}});
  hardProbe_->beginReplay();
  scanning_->beginReplay();
  IZelPlugin* lent = scanning_->activePlugin();
  EXPECT_EQ(hardProbe_->activePlugin(), lent) << "one replay plug-in for both";

  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), arm_);
  EXPECT_EQ(util_->replayPlugin(), lent) << "still the scanner's";
  EXPECT_EQ(announcements(), 0u);
  scanning_->advanceReplay();
  EXPECT_EQ(fileOf(lent), utf8(folder_.module("a.xml"))) << "the older kind is played too";

  scanning_->endReplay();
  EXPECT_EQ(util_->replayPlugin(), nullptr);
  EXPECT_TRUE(host_.replayer().replayNext());
  EXPECT_EQ(host_.replayer().passedOver(), 1u) << "the record kinds were withdrawn";
}

TEST_F(ManagerReplay, TheLastEndReleasesAWaitingRecord) {
  replay({{"PluginData", "a.xml"}, {"PluginWait", ""}});
  hardProbe_->beginReplay();
  hardProbe_->advanceReplay();
  // The device disconnects while the host's replay waits: the wait delivers the event that leads to it.
  host_.dataStore().addGroup("Test");
  host_.dataStore().addEvent("Test/Disconnect", nullptr);
  IPtr<RecordingReceiver> disconnect(new RecordingReceiver);
  disconnect->setDuringCall([this] { hardProbe_->endReplay(); });
  host_.dataStore().addListener("Test/Disconnect", disconnect.get());
  host_.mainLoop().postName("Test/Disconnect");

  EXPECT_TRUE(host_.replayer().replayNext());
  EXPECT_EQ(hardProbe_->activePlugin(), arm_);
  host_.dataStore().removeListener("Test/Disconnect", disconnect.get());
}

}  // namespace
