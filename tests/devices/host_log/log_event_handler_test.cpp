#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

#include "support/device_event_recorder.h"
#include "tests/devices/host_log/host_log_fixture.h"

namespace {

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

  IPtr<PluginDeviceLogEventHandler> handler_;
  IPtr<LogReplayPlugin> plugin_;
};

TEST_F(LogEventHandler, NamesTheCurrentAndLegacyKindsByShortName) {
  auto kind = [this](const char* shortName) {
    return std::string(handler_->recordKind(ZelCString(shortName)).c_str());
  };
  auto legacy = [this](const char* shortName) {
    return std::string(handler_->legacyRecordKind(ZelCString(shortName)).c_str());
  };
  EXPECT_EQ(kind("data"), "PluginData");
  EXPECT_EQ(kind("wait"), "PluginWait");
  EXPECT_EQ(kind("alignment"), "PluginAlignmentMatrix");
  EXPECT_EQ(legacy("data"), "HardProbeData");
  EXPECT_EQ(legacy("wait"), "HardProbeWait");
  EXPECT_EQ(legacy("alignment"), "HardProbeAlignmentMatrix");
  EXPECT_EQ(kind("Data"), "");
  EXPECT_EQ(legacy("matrix"), "");
}

TEST_F(LogEventHandler, ADataRecordNamesTheEventFileBesideTheReplayedLog) {
  writeLog({});
  ASSERT_TRUE(host_.replayer().startReplay(logPath()));
  EXPECT_TRUE(handle("PluginData", {"run-hardprobe-0001.xml"}));
  EXPECT_EQ(pluginFile(), utf8(folder_.module("run-hardprobe-0001.xml")));
  EXPECT_TRUE(handler_->dataPending());

  EXPECT_TRUE(handle("HardProbeData", {"Messung-\xc3\xa4.xml"})) << "the older kind, a name in UTF-8";
  EXPECT_EQ(pluginFile(), utf8(folder_.module("Messung-\xc3\xa4.xml")));
}

TEST_F(LogEventHandler, WithoutAReplayerTheFileIsLookedForByItsBareName) {
  host_.root().setService(ILogReplayer::interfaceName, nullptr);
  EXPECT_TRUE(handle("PluginData", {"run-hardprobe-0001.xml"}));
  EXPECT_EQ(pluginFile(), "run-hardprobe-0001.xml");
}

TEST_F(LogEventHandler, AnAlignmentRecordHandsThePluginTheRecordedTransform) {
  EXPECT_TRUE(handle("PluginAlignmentMatrix", {"1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1 "}));
  EXPECT_EQ(plugin_->hardwareMatrix().m[3], 5.0);
  EXPECT_EQ(plugin_->hardwareMatrix().m[7], 6.0);
  EXPECT_EQ(plugin_->hardwareMatrix().m[11], 7.0);
  EXPECT_TRUE(handle("HardProbeAlignmentMatrix", {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"}));
  EXPECT_EQ(plugin_->hardwareMatrix().m[3], 0.0);
}

TEST_F(LogEventHandler, AnAlignmentOfOtherThanSixteenFiniteNumbersIsRefused) {
  ASSERT_TRUE(handle("PluginAlignmentMatrix", {"1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1 "}));
  EXPECT_FALSE(handle("PluginAlignmentMatrix", {"1 0 0 9 0 1 0 9 0 0 1"}));
  EXPECT_FALSE(handle("PluginAlignmentMatrix", {"1 0 0 9 0 1 0 9 0 0 1 9 0 0 0 nan"}));
  EXPECT_EQ(plugin_->hardwareMatrix().m[3], 5.0) << "a refused record changes nothing";
}

TEST_F(LogEventHandler, DataAndAlignmentNeedAPluginAndAText) {
  EXPECT_FALSE(handle("PluginData"));
  EXPECT_FALSE(handle("PluginAlignmentMatrix"));
  handler_->setPlugin(nullptr);
  EXPECT_FALSE(handle("PluginData", {"run-hardprobe-0001.xml"}));
  EXPECT_FALSE(handle("PluginAlignmentMatrix", {"1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1 "}));
  EXPECT_FALSE(handler_->dataPending());
  EXPECT_EQ(pluginFile(), "before");
  EXPECT_EQ(plugin_->hardwareMatrix().m[3], 0.0);
}

TEST_F(LogEventHandler, KindsMatchInTheirExactLetterCase) {
  // Announced first, so that a kind wrongly taken for a wait could not hold the test.
  host_.dataStore().fireEvent(nullptr, kLogReplayFinished);
  for (const char* kind :
       {"plugindata", "PLUGINWAIT", "pluginAlignmentMatrix", "HardprobeWait", "Data", ""}) {
    EXPECT_FALSE(handle(kind, {"1 0 0 5 0 1 0 6 0 0 1 7 0 0 0 1 "})) << kind;
  }
  EXPECT_EQ(pluginFile(), "before");
  EXPECT_EQ(plugin_->hardwareMatrix().m[3], 0.0);
}

TEST_F(LogEventHandler, AWaitAfterTheAnnouncementReturnsAtOnceAndTheNextWaitsForItsOwn) {
  ASSERT_TRUE(handle("PluginData", {"a.xml"}));
  host_.dataStore().fireEvent(nullptr, kLogReplayFinished);
  EXPECT_TRUE(handle("PluginWait"));
  EXPECT_FALSE(handler_->dataPending());

  // The next announcement is still queued for the main thread: the wait lets the host deliver it.
  host_.mainLoop().postName(kLogReplayFinished);
  EXPECT_TRUE(handle("HardProbeWait"));
  EXPECT_EQ(announcements(), 2u) << "the second wait ended on its own announcement, not on the first";
}

TEST_F(LogEventHandler, AnAnnouncementBeforeTheDataBelongsToAnEarlierAcquisition) {
  host_.dataStore().fireEvent(nullptr, kLogReplayFinished);  // the end of the previous replay
  ASSERT_TRUE(handle("PluginData", {"b.xml"}));
  host_.mainLoop().postName(kLogReplayFinished);  // this acquisition's end
  EXPECT_TRUE(handle("PluginWait"));
  EXPECT_EQ(announcements(), 2u);
}

// Interruptions come from another thread while the main thread waits.
class LogEventHandlerThreads : public LogEventHandler {
 protected:
  static constexpr const char* kInsideWait = "Test/InsideWait";
  static constexpr std::chrono::seconds kPatience{20};

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

  // Runs step on another thread once the main thread is inside a wait record (the wait delivers an event
  // posted for the purpose), and answers whether the wait then ended without an announcement: one is posted
  // only should the wait not end otherwise.
  bool waitEndedBy(const std::function<void()>& step) {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::atomic<bool> announced{false};
    std::thread other([&] {
      host_.mainLoop().postName(kInsideWait);
      auto deadline = std::chrono::steady_clock::now() + kPatience;
      while (inside_->heard().empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      step();
      std::unique_lock lock(mutex);
      if (!ended.wait_for(lock, kPatience, [&] { return done; })) {
        announced = true;
        host_.mainLoop().postName(kLogReplayFinished);
      }
    });
    bool handled = handle("PluginWait");
    {
      std::lock_guard lock(mutex);
      done = true;
    }
    ended.notify_all();
    other.join();
    return handled && !announced;
  }

  IPtr<RecordingReceiver> inside_{new RecordingReceiver};
};

TEST_F(LogEventHandlerThreads, AnInterruptionEndsAWaitingRecord) {
  EXPECT_TRUE(waitEndedBy([this] { handler_->interrupt(); }));
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

TEST_F(LogEventHandlerThreads, AnInterruptionCancelsTheReplayUnderWay) {
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

}  // namespace
