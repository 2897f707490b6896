#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "support/device_event_recorder.h"
#include "tests/devices/host_log/host_log_fixture.h"

namespace {

const char* const kShifted = "1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1 ";

class LogEventHandler : public HostLogTestBase {
 protected:
  void SetUp() override {
    HostLogTestBase::SetUp();
    handler_.createInstance(classIdOf("PluginDeviceLogEventHandler"));
    plugin_.createInstance(classIdOf("LogReplayPlugin"));
    ASSERT_TRUE(handler_ && plugin_);
    handler_->setPlugin(plugin_.get());
    plugin_->setFileName(ZelString(u"before"));
  }
  void TearDown() override {
    handler_.release();
    plugin_.release();
    HostLogTestBase::TearDown();
  }

  bool handle(const char* kind, std::vector<const char*> texts = {}) {
    std::vector<ZelCString> owned;
    for (const char* text : texts) owned.emplace_back(text, static_cast<int32_t>(std::strlen(text)));
    return handler_->handleRecord(ZelCString(kind), owned);
  }
  std::string pluginFile() { return utf8(plugin_->fileName()); }
  double shift() { return plugin_->hardwareMatrix().m[3]; }

  IPtr<PluginDeviceLogEventHandler> handler_;
  IPtr<LogReplayPlugin> plugin_;
};

TEST_F(LogEventHandler, NamesTheCurrentAndLegacyKindsByShortName) {
  auto kinds = [this](const char* shortName) {
    return std::string(handler_->recordKind(ZelCString(shortName)).c_str()) + " " +
           handler_->legacyRecordKind(ZelCString(shortName)).c_str();
  };
  EXPECT_EQ(kinds("data"), "PluginData HardProbeData");
  EXPECT_EQ(kinds("wait"), "PluginWait HardProbeWait");
  EXPECT_EQ(kinds("alignment"), "PluginAlignmentMatrix HardProbeAlignmentMatrix");
  EXPECT_EQ(kinds("Data"), " ");
}

TEST_F(LogEventHandler, DataAndAlignmentRecordsDriveTheReplayPlugin) {
  writeLog({});
  ASSERT_TRUE(host_.replayer().startReplay(logPath()));
  EXPECT_TRUE(handle("PluginData", {"run-hardprobe-0001.xml"}));
  EXPECT_EQ(pluginFile(), utf8(folder_.module("run-hardprobe-0001.xml"))) << "beside the replayed log";
  EXPECT_TRUE(handler_->dataPending());
  EXPECT_TRUE(handle("HardProbeData", {"Messung-\xc3\xa4.xml"})) << "the older kind, a name in UTF-8";
  EXPECT_EQ(pluginFile(), utf8(folder_.module("Messung-\xc3\xa4.xml")));
  host_.root().setService(ILogReplayer::interfaceName, nullptr);
  EXPECT_TRUE(handle("PluginData", {"bare.xml"}));
  EXPECT_EQ(pluginFile(), "bare.xml") << "without a replayer, the bare name";

  EXPECT_TRUE(handle("PluginAlignmentMatrix", {kShifted}));
  EXPECT_EQ(shift(), 5.0);
  EXPECT_EQ(plugin_->hardwareMatrix().m[11], 7.0);
  EXPECT_TRUE(handle("HardProbeAlignmentMatrix", {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"}));
  EXPECT_EQ(shift(), 0.0);
}

TEST_F(LogEventHandler, RefusedRecordsChangeNothing) {
  ASSERT_TRUE(handle("PluginAlignmentMatrix", {kShifted}));
  host_.dataStore().fireEvent(nullptr,
                              kLogReplayFinished);  // a kind taken for a wait by mistake ends at once
  for (const char* text : {"1 0 0 9 0 1 0 9 0 0 1 9 0 0 0", "1 0 0 9 0 1 0 9 0 0 1 9 0 0 0 nan",
                           "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "1e300 0 0 0 0 1e300 0 0 0 0 1e300 0 0 0 0 1",
                           "1 0 0 9 0 1 0 9 0 0 1 9 0 0 1 1", "1 0 0 9 0 1 0 9 0 0 1 9 0 0 0 1 1"}) {
    host_.errors().clear();
    EXPECT_FALSE(handle("PluginAlignmentMatrix", {text})) << text;
    EXPECT_EQ(host_.errors().reports().size(), 1u) << "the refusal of " << text << " is reported";
  }
  EXPECT_FALSE(handle("PluginData")) << "no text";
  for (const char* kind : {"plugindata", "PLUGINWAIT", "pluginAlignmentMatrix", "HardprobeWait", ""})
    EXPECT_FALSE(handle(kind, {"1 0 0 9 0 1 0 9 0 0 1 9 0 0 0 1"})) << kind;
  handler_->setPlugin(nullptr);
  EXPECT_FALSE(handle("PluginData", {"run-hardprobe-0001.xml"})) << "no plug-in";
  EXPECT_FALSE(handle("PluginAlignmentMatrix", {kShifted}));
  EXPECT_FALSE(handler_->dataPending());
  EXPECT_EQ(pluginFile(), "before");
  EXPECT_EQ(shift(), 5.0);
}

TEST_F(LogEventHandler, AWaitAfterTheAnnouncementReturnsAtOnceAndTheNextWaitsForItsOwn) {
  ASSERT_TRUE(handle("PluginData", {"a.xml"}));
  host_.dataStore().fireEvent(nullptr, kLogReplayFinished);
  EXPECT_TRUE(handle("PluginWait"));
  EXPECT_FALSE(handler_->dataPending());
  // The next announcement is still queued for the main thread: only a wait that lets the host deliver its
  // events ends on it.
  host_.mainLoop().postName(kLogReplayFinished);
  EXPECT_TRUE(handle("HardProbeWait"));
  EXPECT_EQ(announcements(), 2u);
}

TEST_F(LogEventHandler, AnAnnouncementBeforeTheDataBelongsToAnEarlierAcquisition) {
  host_.dataStore().fireEvent(nullptr, kLogReplayFinished);  // the end of the previous replay
  ASSERT_TRUE(handle("PluginData", {"b.xml"}));
  host_.mainLoop().postName(kLogReplayFinished);  // this acquisition's end
  EXPECT_TRUE(handle("PluginWait"));
  EXPECT_EQ(announcements(), 2u);
}

// The host interrupts its replay from another thread while the main thread waits.
class LogEventHandlerThreads : public LogEventHandler {
 protected:
  static constexpr const char* kInsideWait = "Test/InsideWait";

  void SetUp() override {
    LogEventHandler::SetUp();
    host_.dataStore().addGroup("Test");
    host_.dataStore().addEvent(kInsideWait, nullptr);
    host_.dataStore().addListener(kInsideWait, inside_.get());
  }
  void TearDown() override {
    host_.dataStore().removeListener(kInsideWait, inside_.get());
    LogEventHandler::TearDown();
  }

  IPtr<RecordingReceiver> inside_{new RecordingReceiver};  // hears an event only a waiting record delivers
};

TEST_F(LogEventHandlerThreads, AnInterruptionEndsAWaitingRecordAndCancelsTheReplay) {
  std::atomic<bool> waitEnded{false}, rescued{false};
  std::thread host([&] {
    host_.mainLoop().postName(kInsideWait);
    while (inside_->heard().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    handler_->interrupt();
    // Should the wait not end, the end of the replay is announced, so that the test fails rather than hangs.
    for (int i = 0; i < 2000 && !waitEnded; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!waitEnded) rescued = true, host_.mainLoop().postName(kLogReplayFinished);
  });
  EXPECT_TRUE(handle("PluginWait")) << "no replay runs: the plug-in announces nothing";
  waitEnded = true;
  host.join();
  EXPECT_FALSE(rescued);

  folder_.write("long.xml", "<OnStop time=\"0\"/><OnStop time=\"600000\"/>");
  plugin_->setFileName(folder_.module("long.xml"));
  ZelString error;
  static_cast<IZelHardProbeContinuousPlugin&>(*plugin_).connect(error);
  IPtr<DeviceEventRecorder> recorder(new DeviceEventRecorder);
  std::thread worker([&] { plugin_->replay(recorder->continuous()); });
  while (recorder->calls().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  handler_->interrupt();
  worker.join();
  EXPECT_EQ(recorder->calls(), (std::vector<std::string>{"stop", "custom Cancel"}));
}

TEST_F(LogEventHandlerThreads, AnInterruptionWithoutAWaitDoesNotEndTheNextOne) {
  handler_->interrupt();
  std::atomic<bool> posted{false};
  std::thread announcer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    posted = true;
    host_.mainLoop().postName(kLogReplayFinished);
  });
  EXPECT_TRUE(handle("PluginWait"));
  EXPECT_TRUE(posted);
  announcer.join();
}

}  // namespace
