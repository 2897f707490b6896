// Replaying device-event logs written by hand (or damaged on purpose, or by the writer) through the replay
// plug-in, into receivers of the three kinds.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "devices/event_log/plugin_device_data_xml_reader.h"
#include "devices/event_log/plugin_device_data_xml_writer.h"
#include "platform/clock.h"
#include "platform/utf8.h"
#include "support/device_records.h"
#include "support/log_replay_fixture.h"

namespace {

std::string vec(const std::string& tag, const std::string& x, const std::string& y, const std::string& z) {
  return "<" + tag + "><X>" + x + "</X><Y>" + y + "</Y><Z>" + z + "</Z></" + tag + ">";
}

std::string record(const std::string& element, int time, const std::string& content = "") {
  std::string start = "<" + element + " time=\"" + std::to_string(time) + "\"";
  return content.empty() ? start + "/>" : start + ">" + content + "</" + element + ">";
}

const std::string kOrientation =
    vec("Point", "0.125", "-0.04", "1.5") + vec("To", "0", "0", "-1") + vec("Up", "0", "1", "0");
const std::string kOriented = "0.125,-0.04,1.5 0,0,-1 0,1,0";

using EventLogReplay = LogReplayTest;

TEST_F(EventLogReplay, AScanLineDeliversExactlyItsOwnPoints) {
  std::string points = "<Points>" + vec("Point", "1", "0", "0") + vec("Point", "2", "0", "0") + "<Note/>" +
                       vec("Point", "3", "0", "0") + "</Points>";
  useLog(record("OnSampled", 0, kOrientation + points) + record("OnSampled", 0, kOrientation) +
         record("OnSampled", 0, kOrientation + "<Points/>") + record("OnSampled", 0));
  ASSERT_TRUE(plugin_->replay(recorder_->laserScan()));
  EXPECT_EQ(recorder_->calls(),
            (Lines{"scan " + kOriented + " [3: 1,0,0 2,0,0 3,0,0] stride 0",
                   "scan " + kOriented + " [0:] stride 0",  // not the previous line's points again
                   "scan " + kOriented + " [0:] stride 0", "scan 0,0,0 0,0,0 0,0,0 [0:] stride 0"}));
}

// The replayed measurement has fewer points than the recording: the user is told once, with how many and
// where the first was.
TEST_F(EventLogReplay, ARecordWithABadNumberIsDroppedTheNextStillPlaysAndTheLossIsToldOnce) {
  useLog(record("OnMoved", 0, vec("Point", "1", "abc", "3")) +
         record("OnPointStop", 0, vec("Point", "1", "2", "3")) +
         record("OnPointSampled", 0, vec("Point", "inf", "0", "0")) +
         record("OnMoved", 0, vec("Point", "9", "", "9")) + record("SetRadius", 0, "0.002"));
  ASSERT_TRUE(plugin_->replay(recorder_->single()));
  EXPECT_EQ(recorder_->calls(), (Lines{"pointStop 1,2,3", "radius 0.002"}));
  EXPECT_EQ(platform::toUtf8(plugin_->takeFailure().c_str()),
            "The device-event file '" + platform::toUtf8(scratch_.module("run.xml").c_str()) +
                "' was replayed without 3 records that could not be read, the first record 1 (OnMoved).");
  EXPECT_TRUE(plugin_->takeFailure().isEmpty()) << "told once";

  useLog(record("OnPointSampled", 0, vec("Point", "nan", "0", "0")) + record("SetRadius", 0, "0.002"));
  ASSERT_TRUE(plugin_->replay(recorder_->single()));
  EXPECT_NE(platform::toUtf8(plugin_->takeFailure().c_str())
                .find("without 1 record that could not be read: record 1 (OnPointSampled)."),
            std::string::npos);
  useLog(record("SetRadius", 0, "0.002"));
  ASSERT_TRUE(plugin_->replay(recorder_->single()));
  EXPECT_TRUE(plugin_->takeFailure().isEmpty()) << "nothing to tell of a whole replay";
}

// A probe radius no probe has would take every later feature's compensation the wrong way, to nowhere or by a
// ball no arm carries: the whole file is damaged, nothing plays, and the failure names the file and the
// record.
TEST_F(EventLogReplay, AProbeRadiusNoProbeHasDamagesTheWholeFile) {
  const char* const radii[] = {"nan", "-0.003", "1e308", "0.500001", "inf", "wide", "", "0.003abc"};
  for (const char* radius : radii) {
    SCOPED_TRACE(radius);
    scratch_.write("radius.xml", record("SetRadius", 0, "0.003") +
                                     record("OnPointStop", 0, vec("Point", "1", "2", "3")) +
                                     record("SetRadius", 0, radius));
    plugin_->setFileName(scratch_.module("radius.xml"));
    EXPECT_FALSE(plugin_->replay(recorder_->single()));
    const std::string failure = platform::toUtf8(plugin_->takeFailure().c_str());
    EXPECT_NE(failure.find("radius.xml': record 3 (SetRadius): the probe radius \"" + std::string(radius) +
                           "\" is not a length from 0 to 0.5 m."),
              std::string::npos)
        << failure;
  }
  EXPECT_EQ(recorder_->calls(), Lines(std::size(radii), "custom Error")) << "not even the first record plays";
}

// A pointed probe's radius of 0 and the largest taken are radii like any other.
TEST_F(EventLogReplay, APointedProbesRadiusOfZeroPlays) {
  useLog(record("SetRadius", 0, "0.000000") + record("OnPointSampled", 0, vec("Point", "1", "2", "3")) +
         record("SetRadius", 0, "0.5"));
  ASSERT_TRUE(plugin_->replay(recorder_->single()));
  EXPECT_EQ(recorder_->calls(), (Lines{"radius 0", "sampled 1,2,3", "radius 0.5"}));
  EXPECT_TRUE(plugin_->takeFailure().isEmpty());
}

TEST_F(EventLogReplay, PartialVectorsKeepZerosAndARepeatedAxisOverrides) {
  useLog(record("OnMoved", 0) +
         record("OnPointSampled", 0, "<Point><Z>5</Z><X>1</X><X>2</X><W>bad</W></Point>"));
  ASSERT_TRUE(plugin_->replay(recorder_->single()));
  EXPECT_EQ(recorder_->calls(), (Lines{"moved 0,0,0 0,0,0 0,0,0", "sampled 2,0,5"}));
}

// A recording that failed before its first record leaves an empty file: replayed, it would measure nothing.
TEST_F(EventLogReplay, ALogWithoutASingleRecordIsRefusedAndWhiteSpaceBetweenRecordsIsFine) {
  for (const char* empty : {"", "\r\n \t", "\xEF\xBB\xBF"}) {
    SCOPED_TRACE(empty);
    useLog(empty);
    EXPECT_FALSE(plugin_->replay(recorder_->laserScan()));
    EXPECT_NE(platform::toUtf8(plugin_->takeFailure().c_str()).find("': it holds no record."),
              std::string::npos);
  }
  useLog("\xEF\xBB\xBF\r\n" + record("OnStop", 0) + "\n\t " + record("OnStop", 0) + "\n");
  EXPECT_TRUE(plugin_->replay(recorder_->laserScan()));
  EXPECT_EQ(recorder_->calls(), (Lines{"custom Error", "custom Error", "custom Error", "stop", "stop"}));
  EXPECT_EQ(finishedCount(), 4u);
}

// A log that is not whole, or no log at all, plays nothing, not even its well-formed first records: the run
// ends with one error and one announcement, and the plug-in says why.
TEST_F(EventLogReplay, ATruncatedLogOrWhatIsNotALogDeliversNothingButOneErrorAndOneFinished) {
  const std::string stop = record("OnStop", 0);
  const std::string whole = record("SetRadius", 0, "0.003") + record("OnMoved", 10, kOrientation);
  const std::pair<std::string, const char*> cases[] = {
      {whole.substr(0, whole.size() - 12), "not well-formed XML"},
      {stop.substr(0, 9), "not well-formed XML"},
      {"notes on the run, not a log", "text outside the records"},
      {"\x9c\xff\x01 \xe2\x28\xa1 random", "text outside the records"},
      {stop + "stray words" + stop, "text outside the records"},
      {stop + "</HardProbe><HardProbe>" + stop, "not well-formed XML"},
      {stop + std::string(1, '\0') + stop, "a NUL byte at offset 18"},
      {std::string("\xFF\xFE<\0O\0n\0S\0t\0o\0p\0/\0>\0", 20), "the text is UTF-16; save it as UTF-8"},
      {std::string("<\0O\0n\0S\0t\0o\0p\0/\0>\0", 18), "the text is UTF-16; save it as UTF-8"},
      {std::string("\0<\0O\0n\0S\0t\0o\0p\0/\0>", 18), "the text is UTF-16; save it as UTF-8"},
      {stop + "<OnCustomEvent time=\"0\" name=\"Err&#0;or\"/>",
       "not well-formed XML: Character reference &#0; is no character of XML"},
  };
  auto refusal = [&](const ZelString& file) {
    plugin_->setFileName(file);
    EXPECT_FALSE(plugin_->replay(recorder_->continuous()));
    return platform::toUtf8(plugin_->takeFailure().c_str());
  };
  for (const auto& [log, reason] : cases) {
    SCOPED_TRACE(log);
    scratch_.write("bad.xml", log);
    EXPECT_NE(refusal(scratch_.module("bad.xml")).find(reason), std::string::npos);
  }
  EXPECT_NE(refusal(scratch_.module("absent.xml")).find("no such file"), std::string::npos);
  EXPECT_NE(refusal(scratch_.module()).find("not a regular file"), std::string::npos);
  EXPECT_EQ(recorder_->calls(), Lines(std::size(cases) + 2, "custom Error"));
  EXPECT_EQ(finishedCount(), std::size(cases) + 2);
}

// A time is cut toward zero to whole milliseconds, as the recorded gaps were cut; what is no time waits for
// nothing. A move 600.7 ms after the one before arrives 600 ms after it, not at once, where a host's move
// limiter would drop it.
TEST_F(EventLogReplay, ATimeIsCutTowardZeroAndWhatIsNoTimeIsNoWait) {
  const std::pair<const char*, uint32_t> gaps[] = {
      {"600.7", 600}, {"1.9", 1},    {"0.9", 0},          {"3000.5", 3000}, {"+5", 5},
      {" 7 ", 7},     {"1e3", 1000}, {"-5", 0},           {"", 0},          {"5 ms", 0},
      {"0.5abc", 0},  {"nan", 0},    {"3702000", 120000}, {"inf", 120000}};
  for (const auto& [time, gap] : gaps) {
    SCOPED_TRACE(time);
    EXPECT_EQ(PluginDeviceDataXMLReader::gapOf(ZelString(platform::fromUtf8(time).c_str())), gap);
  }
  useLog("<OnMoved time=\"0\"/><Calibrate time=\"0.9\"/><OnMoved time=\"600.7\"/>");
  ASSERT_TRUE(plugin_->replay(recorder_->continuous()));
  ASSERT_EQ(recorder_->calls(), (Lines{"moved 0,0,0 0,0,0 0,0,0", "moved 0,0,0 0,0,0 0,0,0"}));
  const std::vector<DeviceEventRecorder::Clock::time_point> times = recorder_->times();
  EXPECT_GE(times[1] - times[0], std::chrono::milliseconds(600)) << "a wait is never shorter than asked";
}

// An idle hour or a time beyond measure is a capped pause, not damage: a cancel ends it as any wait.
TEST_F(EventLogReplay, ALongPauseIsWaitedCappedAndTheFileStillPlays) {
  for (const char* time : {"3702000", "4000000000", "inf", "1e400"}) {
    SCOPED_TRACE(time);
    useLog(record("OnStop", 0) + "<OnStop time=\"" + time + "\"/>");
    const size_t before = recorder_->calls().size();
    auto played = std::async(std::launch::async, [&] { return plugin_->replay(recorder_->continuous()); });
    EXPECT_TRUE(recorder_->waitForCalls(before + 1)) << "the record before the pause plays";
    plugin_->cancel();
    EXPECT_TRUE(played.get());
    EXPECT_TRUE(plugin_->takeFailure().isEmpty());
  }
  EXPECT_EQ(recorder_->calls(), (Lines{"stop", "custom Cancel", "stop", "custom Cancel", "stop",
                                       "custom Cancel", "stop", "custom Cancel"}));
}

// The writer's fixed form is read on a short path; every other form must still read as before.
TEST_F(EventLogReplay, EveryFormOfANumberReadsAsTheStringReadsIt) {
  const std::pair<std::string, std::string> cases[] = {{"0.003000", "0.003"},
                                                       {"-0.000000", "-0"},
                                                       {"12345.678901", "12345.6789"},
                                                       {"1.", "1"},
                                                       {".5", "0.5"},
                                                       {"-.5", "-0.5"},
                                                       {"+2", "2"},
                                                       {"1e3", "1000"},
                                                       {"123456789012345.6", "1.23456789e+14"},
                                                       {"-", ""},
                                                       {".", ""},
                                                       {"--1", ""},
                                                       {"+-1", ""},
                                                       {"0.003abc", ""},
                                                       {"1.5 mm", ""},
                                                       {"0,003", ""}};
  std::string log;
  Lines expected;
  for (const auto& [text, read] : cases) {
    log += record("OnPointStop", 0, vec("Point", text, "0", "0"));
    if (!read.empty()) expected.push_back("pointStop " + read + ",0,0");
  }
  useLog(log);
  ASSERT_TRUE(plugin_->replay(recorder_->single()));
  EXPECT_EQ(recorder_->calls(), expected);
}

TEST_F(EventLogReplay, ACustomEventNameIsUtf8InTheFileAndBackWhateverTheHostsNarrowForm) {
  platform::CounterOverride clock(0);  // no gap
  const std::string name =
      "\xd0\x9e\xd1\x88\xd0\xb8\xd0\xb1\xd0\xba\xd0\xb0 \xe6\xb8\xac\xe5\xae\x9a \xc2\xb5m";
  for (bool hostStrings : {false, true}) {
    host_.core().enable(CoreFamily::Optional::kStrSupport, hostStrings);
    IPtr<PluginDeviceDataXMLWriter> writer;
    writer.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
    writer->setOutputFile(scratch_.module("recorded.xml"));
    writer->writeCustomEvent(ZelString(u"OnCustomEvent"), device_records::custom(name).get());
    writer.release();  // closes the file
    EXPECT_EQ(scratch_.read("recorded.xml"), "<OnCustomEvent time=\"0\" name=\"" + name + "\"/>");
    plugin_->setFileName(scratch_.module("recorded.xml"));
    IPtr<DeviceEventRecorder> receiver(new DeviceEventRecorder);
    ASSERT_TRUE(plugin_->replay(receiver->continuous()));
    EXPECT_EQ(receiver->calls(), (Lines{"custom " + name})) << "host string support " << hostStrings;
  }
}

TEST_F(EventLogReplay, NamesOfOtherWritersAndOlderLogsComeBackAsUtf8) {
  // A reference to a character above U+00FF, and a byte of a log older than UTF-8 logs (not a sequence).
  useLog("<OnCustomEvent time=\"0\" name=\"&#x6E2C;&#x5B9A;\"/><OnCustomEvent time=\"0\" name=\"\xb5m\"/>");
  ASSERT_TRUE(plugin_->replay(recorder_->laserScan()));
  EXPECT_EQ(recorder_->calls(), (Lines{"custom \xe6\xb8\xac\xe5\xae\x9a", "custom \xc2\xb5m"}));
}

}  // namespace
