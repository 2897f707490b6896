#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
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

  IPtr<PluginDeviceLogEventHandler> handler_;
  IPtr<LogReplayPlugin> plugin_;
};

TEST_F(LogEventHandler, RefusedRecordsChangeNothing) {
  ASSERT_TRUE(handle("PluginAlignmentMatrix", {kShifted}));
  // A kind taken for a wait by mistake ends at once.
  host_.core().dataStore().fireEvent(nullptr, kLogReplayFinished);
  for (const char* text : {"1 0 0 9 0 1 0 9 0 0 1 9 0 0 0", "1 0 0 9 0 1 0 9 0 0 1 9 0 0 0 nan",
                           "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "1e300 0 0 0 0 1e300 0 0 0 0 1e300 0 0 0 0 1",
                           "1 0 0 9 0 1 0 9 0 0 1 9 0 0 1 1", "1 0 0 9 0 1 0 9 0 0 1 9 0 0 0 1 1"}) {
    host_.core().errors().clear();
    EXPECT_FALSE(handle("PluginAlignmentMatrix", {text})) << text;
    EXPECT_EQ(host_.core().errors().reports().size(), 1u) << "the refusal of " << text << " is reported";
  }
  EXPECT_FALSE(handle("PluginData")) << "no text";
  for (const char* kind : {"plugindata", "PLUGINWAIT", "pluginAlignmentMatrix", "HardprobeWait", ""})
    EXPECT_FALSE(handle(kind, {"1 0 0 9 0 1 0 9 0 0 1 9 0 0 0 1"})) << kind;
  handler_->setPlugin(nullptr);
  EXPECT_FALSE(handle("PluginData", {"run-hardprobe-0001.xml"})) << "no plug-in";
  EXPECT_FALSE(handle("PluginAlignmentMatrix", {kShifted}));
  EXPECT_FALSE(handler_->takeData());
  EXPECT_EQ(utf8(plugin_->fileName()), "before");
  EXPECT_EQ(plugin_->hardwareMatrix().m[3], 5.0);
}

// A matrix that would turn a measured point or direction into an infinity, or into nothing, is refused with
// its reason, and so is one that stretches, shears or mirrors: a recording holds a rotation and a shift
// times its uniform temperature scale, which is taken.
TEST_F(LogEventHandler, AnAlignmentThatBreaksTheArithmeticIsRefusedWithItsReason) {
  const std::pair<const char*, const char16_t*> cases[] = {
      {"1e300 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", u"its 3 x 3 part scales by more than 1e6"},
      {"1 0 0 1e300 0 1 0 0 0 0 1 0 0 0 0 1", u"its translation lies farther than 1e9"},
      {"1 0 0 0 0 1 0 0 0 0 1e-100 0 0 0 0 1", u"its 3 x 3 part is singular, or scales by less than 1e-6"},
      {"1 1 0 0 1 1 0 0 0 0 1 0 0 0 0 1", u"its 3 x 3 part is singular, or scales by less than 1e-6"},
      {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 1e-300 1", u"its last row is not 0 0 0 1"},
      {"2 0.5 0 0.25 0 1 0 -3 0 0 0.001 1000 0 0 0 1",
       u"beside a uniform scale, its 3 x 3 part scales or shears by more than 1e-5"},
      {"1 0 0 0 0 1 0 0 0 0 -1 0 0 0 0 1", u"beside a uniform scale, it mirrors"},
      {"0 -2 0 0.25 2 0 0 -3 0 0 2 1000 0 0 0 1", nullptr},
  };
  for (const auto& [text, reason] : cases) {
    SCOPED_TRACE(text);
    host_.core().errors().clear();
    EXPECT_EQ(handle("PluginAlignmentMatrix", {text}), !reason);
    if (!reason) {
      EXPECT_EQ(plugin_->hardwareMatrix().m[1], -2.0);
      EXPECT_TRUE(host_.core().errors().reports().empty());
      continue;
    }
    ASSERT_EQ(host_.core().errors().reports().size(), 1u);
    EXPECT_EQ(host_.core().errors().reports()[0].message,
              u"The host log's device alignment was refused: " + std::u16string(reason) + u".");
  }
}

// Waits run on the main thread. A helper thread ends a wait that would otherwise never end, after a deadline,
// so that such a wait fails the test rather than hangs it.
class LogEventHandlerThreads : public LogEventHandler {
 protected:
  static constexpr const char* kInsideWait = "Test/InsideWait";

  void SetUp() override {
    LogEventHandler::SetUp();
    host_.core().dataStore().addGroup("Test");
    host_.core().dataStore().addEvent(kInsideWait, nullptr);
    host_.core().dataStore().addListener(kInsideWait, inside_.get());
  }
  void TearDown() override {
    host_.core().dataStore().removeListener(kInsideWait, inside_.get());
    LogEventHandler::TearDown();
  }

  // Plays a wait record. False when the deadline ended it.
  bool waitEndsByItself() {
    std::atomic<bool> ended{false}, rescued{false};
    std::thread helper([&] {
      auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (!ended && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (!ended) rescued = true, handler_->releaseWait();
    });
    EXPECT_TRUE(handle("HardProbeWait"));
    ended = true;
    helper.join();
    return !rescued;
  }
  // A data record that the starting acquisition takes.
  void startAcquisition() {
    ASSERT_TRUE(handle("PluginData", {"a.xml"}));
    ASSERT_TRUE(handler_->takeData());
  }

  IPtr<RecordingReceiver> inside_{new RecordingReceiver};  // hears an event only a waiting record delivers
};

TEST_F(LogEventHandlerThreads, AWaitHoldsTheHostOnlyForARunThatWasStarted) {
  EXPECT_TRUE(waitEndsByItself()) << "a wait before its data record";
  ASSERT_TRUE(handle("PluginData", {"a.xml"}));
  EXPECT_TRUE(waitEndsByItself()) << "data that no acquisition took";
  EXPECT_FALSE(handler_->takeData()) << "the wait has passed it";
  startAcquisition();
  EXPECT_TRUE(waitEndsByItself()) << "a run that never begins holds the host for a bounded time";
  EXPECT_TRUE(inside_->heard().empty());
}

TEST_F(LogEventHandlerThreads, AWaitEndsOnItsOwnRunsAnnouncementOnly) {
  host_.core().dataStore().fireEvent(nullptr, kLogReplayFinished);  // the end of an earlier acquisition's run
  startAcquisition();
  host_.core().mainLoop().postName(
      kLogReplayFinished);  // still queued: only a wait that delivers events hears it
  EXPECT_TRUE(waitEndsByItself());
  EXPECT_EQ(announcements(), 2u);
}

TEST_F(LogEventHandlerThreads, AnInterruptionEndsAWaitAndCancelsTheRunItWaitsFor) {
  folder_.write("long.xml", "<OnStop time=\"0\"/><OnStop time=\"600000\"/>");
  startAcquisition();
  plugin_->setFileName(folder_.module("long.xml"));
  ZelString error;
  static_cast<IZelHardProbeContinuousPlugin&>(*plugin_).connect(error);
  IPtr<DeviceEventRecorder> recorder(new DeviceEventRecorder);
  std::thread worker([&] { plugin_->replay(recorder->continuous()); });
  ASSERT_TRUE(recorder->waitForCalls(1));

  inside_->setDuringCall([this] { handler_->interrupt(); });
  host_.core().mainLoop().postName(kInsideWait);
  EXPECT_TRUE(waitEndsByItself());
  worker.join();
  EXPECT_EQ(recorder->calls(), (Lines{"stop", "custom Cancel"}));
}

TEST_F(LogEventHandlerThreads, AnInterruptionWithoutAWaitDoesNotEndTheNextOne) {
  handler_->interrupt();
  startAcquisition();
  inside_->setDuringCall([this] { host_.core().mainLoop().postName(kLogReplayFinished); });
  host_.core().mainLoop().postName(kInsideWait);
  EXPECT_TRUE(waitEndsByItself());
  EXPECT_EQ(inside_->heard().size(), 1u) << "the wait ran until its own run announced its end";
  EXPECT_EQ(announcements(), 1u);
}

}  // namespace
