// The replay plug-in as the devices drive it: its faces, its failures, and cancelling it from the main
// thread while its worker waits out a recorded gap.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <new>

#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "framework/object/query_chain.h"
#include "host_api/xml_dom.h"
#include "support/log_replay_fixture.h"

namespace {

using LogReplayPluginTest = LogReplayTest;

// A host's XML reader whose document is its own root element, without children to walk, or that runs out of
// memory on a large log.
class StubDom : public IZelDOMXml, public IZelDOMXmlElement, public ZelUnknownImpl {
 public:
  explicit StubDom(bool outOfMemory) : outOfMemory_(outOfMemory) {}
  bool parse(const ZelString&) override { return outOfMemory_ ? throw std::bad_alloc() : true; }
  IZelDOMXmlElement* rootElement() override { return this; }
  IZelDOMXmlElementItr* children() override { return nullptr; }
  void tagName(ZelString&) override {}
  void attribute(ZelString&, const ZelString&) override {}
  void text(ZelString&) override {}
  IZelDOMXmlElement* firstChild(const ZelString&) override { return nullptr; }
  void setAttribute(const ZelString&, const ZelString&) override {}
  void setText(const ZelString&) override {}
  bool appendChild(IZelDOMXmlElement*) override { return false; }
  int32_t line() override { return 0; }
  void serialize(ZelString&) override {}
  IZelDOMXmlElement* createElement(const ZelString&) override { return nullptr; }
  bool setRootElement(IZelDOMXmlElement*) override { return false; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf("StubDom", this, static_cast<IZelDOMXml*>(this)).offer<IZelDOMXml>(this);
    chain.offer<IZelDOMXmlElement>(this).end();
  }
  const char* className() override { return "StubDom"; }

 private:
  const bool outOfMemory_;
};

TEST_F(LogReplayPluginTest, ARootWithoutChildrenToWalkHoldsNoRecordAndMemoryRunningOutIsAnError) {
  useLog("<OnStop time=\"0\"/>");
  for (bool outOfMemory : {false, true}) {
    host_.root().setServiceFactory(IZelDOMXml::interfaceName, [=] { return new StubDom(outOfMemory); });
    EXPECT_FALSE(plugin_->replay(recorder_->continuous()));
    EXPECT_EQ(plugin_->takeFailure().isEmpty(), false);
  }
  EXPECT_EQ(recorder_->calls(), (Lines{"custom Error", "custom Error"}));
  EXPECT_EQ(finishedCount(), 2u);
}

// A device's worker runs the plug-in while the main thread pumps the host's events.
class LogReplayThreads : public LogReplayTest {
 protected:
  void TearDown() override {
    if (worker_.valid()) worker_.wait();
    LogReplayTest::TearDown();
  }

  std::future<bool> worker_;
};

// A cancel from the main thread or the device's stop ends a long recorded gap at once: the record after it
// is not played, and the next run of the same plug-in plays in full, the cancel used up.
TEST_F(LogReplayThreads, ACancelOrADeviceStopEndsALongGap) {
  const std::function<void()> ends[] = {
      [this] { plugin_->cancel(); },
      [this] { static_cast<IZelHardProbeContinuousPlugin&>(*plugin_).stop(); }};
  for (const auto& end : ends) {
    useLog("<OnStop time=\"0\"/><OnStop time=\"3600000\"/><OnStop time=\"0\"/>");
    const size_t before = recorder_->calls().size();
    worker_ = std::async(std::launch::async, [this] { return plugin_->replay(recorder_->continuous()); });
    ASSERT_TRUE(recorder_->waitForCalls(before + 1, std::chrono::seconds(20)));
    end();
    ASSERT_EQ(worker_.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_TRUE(worker_.get()) << "a cancelled replay ends as a played one";
  }
  EXPECT_EQ(recorder_->calls(), (Lines{"stop", "custom Cancel", "stop", "custom Cancel"}));
  EXPECT_EQ(finishedCount(), 2u);
  useLog("<OnStop time=\"0\"/>", "next.xml");
  EXPECT_TRUE(plugin_->replay(recorder_->continuous()));
  EXPECT_EQ(recorder_->calls().back(), "stop");

  // A reader, too, uses up the cancel it obeyed: replayed again, it plays in full.
  IPtr<PluginDeviceDataXMLReader> reader;
  reader.createInstance(classIdOf(PluginDeviceDataXMLReader::interfaceName));
  IPtr<PluginDeviceDataXMLReader::Receiver> adapter(
      new PluginDeviceDataXMLReader::Receiver(recorder_->continuous()));
  reader->setReceiver(adapter.get());
  reader->setFileName(scratch_.module("next.xml"));
  reader->cancel();
  EXPECT_TRUE(reader->replay());
  EXPECT_TRUE(reader->replay());
  const Lines calls = recorder_->calls();
  EXPECT_EQ(Lines(calls.end() - 2, calls.end()), (Lines{"custom Cancel", "stop"}));
}

TEST_F(LogReplayPluginTest, AStopBelongsToItsRunWhetherItComesEarlyOrLate) {
  IZelHardProbeContinuousPlugin& continuous = *plugin_;
  useLog("<OnStop time=\"0\"/><OnStop time=\"3600000\"/>");
  continuous.stop();  // the device stopped before its worker reached the run
  EXPECT_TRUE(plugin_->replay(recorder_->continuous())) << "would otherwise wait out the whole log";
  EXPECT_EQ(recorder_->calls(), (Lines{"custom Cancel"}));

  useLog("<OnStop time=\"0\"/>", "short.xml");
  EXPECT_TRUE(plugin_->replay(recorder_->continuous()));
  continuous.stop();                                   // the stop of the run that ended by itself
  static_cast<IZelLaserScanPlugin&>(*plugin_).stop();  // another device's face, with no run of its own
  EXPECT_TRUE(plugin_->replay(recorder_->continuous()));
  EXPECT_EQ(recorder_->calls(), (Lines{"custom Cancel", "stop", "stop"})) << "a late stop ends no later run";
  EXPECT_TRUE(plugin_->replay(recorder_->laserScan()));
  EXPECT_EQ(recorder_->calls().back(), "custom Cancel") << "the scanner's early stop is its next run's";
  EXPECT_EQ(finishedCount(), 4u);
}

}  // namespace
