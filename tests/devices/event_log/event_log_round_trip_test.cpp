// What the writer records, the replay plays back: every kind of event, with the same values, to the receiver
// kinds that have its call.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/event_log/plugin_device_data_xml_writer.h"
#include "platform/clock.h"
#include "support/device_records.h"
#include "support/log_replay_fixture.h"

namespace {

namespace records = device_records;
using Lines = std::vector<std::string>;

class EventLogRoundTrip : public LogReplayTest {
 protected:
  void SetUp() override {
    LogReplayTest::SetUp();
    writer_.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
    writer_->setOutputFile(scratch_.module("recorded.xml"));
  }

  // Closes the log and makes it the one the plug-in plays.
  void finishRecording() {
    writer_.release();
    plugin_->setFileName(scratch_.module("recorded.xml"));
  }

  void write(const char16_t* element, IZelPluginDeviceNullData* record) {
    writer_->writeNullEvent(ZelString(element), record);
  }

  platform::CounterOverride clock_{0};  // no gaps: the round trip is about values
  IPtr<PluginDeviceDataXMLWriter> writer_;
};

TEST_F(EventLogRoundTrip, EveryKindComesBackWithItsValuesToTheReceiversThatHaveIt) {
  const Vector3 to(0, 0, -1), up(0, 1, 0);
  writer_->writeRadiusEvent(ZelString(u"SetRadius"), records::radius(0.003).get());
  write(u"OnStartCapture", records::null().get());
  writer_->writePositionOrientationEvent(ZelString(u"OnMoved"),
                                         records::oriented({0.125, -0.04, 1.5}, to, up).get());
  writer_->writePositionOrientationEvent(ZelString(u"OnPointSampledOrientation"),
                                         records::oriented({0.5, 0.25, -0.000125}, to, up).get());
  writer_->writePositionEvent(ZelString(u"OnPointSampled"),
                              records::position({2e10, -3.5e12, 0.000001}).get());
  writer_->writePositionEvent(ZelString(u"OnPointStop"), records::position({-0.2, 0.3, 0.4}).get());
  writer_->writeScanLineEvent(ZelString(u"OnSampled"),
                              records::scanLine({1, 2, 3}, to, up, {{0.1, 0.2, 0.3}, {0.4, 0.5, 0.6}}).get());
  writer_->writeScanLineEvent(ZelString(u"OnSampled"), records::scanLine({4, 5, 6}, to, up, {}).get());
  write(u"OnStopCapture", records::null().get());
  write(u"OnStop", records::null().get());
  writer_->writeCustomEvent(ZelString(u"OnCustomEvent"), records::custom("UndoLastSampled").get());
  finishRecording();

  const std::string axes = " 0,0,-1 0,1,0";
  ASSERT_TRUE(plugin_->replay(recorder_->single()));
  EXPECT_EQ(recorder_->calls(),
            (Lines{"radius 0.003", "moved 0.125,-0.04,1.5" + axes, "sampled 2e+10,-3.5e+12,1e-06",
                   "pointStop -0.2,0.3,0.4", "custom UndoLastSampled"}));

  IPtr<DeviceEventRecorder> continuous(new DeviceEventRecorder);
  ASSERT_TRUE(plugin_->replay(continuous->continuous()));
  EXPECT_EQ(continuous->calls(), (Lines{"radius 0.003", "startCapture", "moved 0.125,-0.04,1.5" + axes,
                                        "sampledOriented 0.5,0.25,-0.000125" + axes, "stopCapture", "stop",
                                        "custom UndoLastSampled"}));

  IPtr<DeviceEventRecorder> scanner(new DeviceEventRecorder);
  ASSERT_TRUE(plugin_->replay(scanner->laserScan()));
  EXPECT_EQ(scanner->calls(),
            (Lines{"startCapture", "moved 0.125,-0.04,1.5" + axes,
                   "scan 1,2,3" + axes + " [2: 0.1,0.2,0.3 0.4,0.5,0.6] stride 0",
                   "scan 4,5,6" + axes + " [0:] stride 0", "stopCapture", "stop", "custom UndoLastSampled"}));
}

TEST_F(EventLogRoundTrip, ACustomEventNameIsUtf8InTheFileAndBackWhateverTheHostsNarrowForm) {
  const std::string name =
      "\xd0\x9e\xd1\x88\xd0\xb8\xd0\xb1\xd0\xba\xd0\xb0 \xe6\xb8\xac\xe5\xae\x9a \xc2\xb5m";  // Ошибка 測定
                                                                                              // µm
  for (bool hostStrings : {false, true}) {
    host_.enable(StandinHost::Optional::kStrSupport, hostStrings);
    writer_.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
    writer_->setOutputFile(scratch_.module("recorded.xml"));
    writer_->writeCustomEvent(ZelString(u"OnCustomEvent"), records::custom(name).get());
    finishRecording();
    EXPECT_EQ(scratch_.read("recorded.xml"), "<OnCustomEvent time=\"0\" name=\"" + name + "\"/>");
    IPtr<DeviceEventRecorder> receiver(new DeviceEventRecorder);
    ASSERT_TRUE(plugin_->replay(receiver->continuous()));
    EXPECT_EQ(receiver->calls(), (Lines{"custom " + name})) << "host string support " << hostStrings;
  }
}

TEST_F(EventLogRoundTrip, NamesOfOtherWritersAndOlderLogsComeBackAsUtf8) {
  // A reference to a character above U+00FF, and a byte of a log older than UTF-8 logs (not a sequence).
  useLog("<OnCustomEvent time=\"0\" name=\"&#x6E2C;&#x5B9A;\"/><OnCustomEvent time=\"0\" name=\"\xb5m\"/>");
  ASSERT_TRUE(plugin_->replay(recorder_->laserScan()));
  EXPECT_EQ(recorder_->calls(), (Lines{"custom \xe6\xb8\xac\xe5\xae\x9a", "custom \xc2\xb5m"}));
}

}  // namespace
