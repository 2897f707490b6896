// The device-event logs shipped under examples/logs: they are exactly what the module's writer writes (so no
// hand edit slips in), and each plays back into its device kind as the recording it claims to be.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "devices/event_log/plugin_device_data_xml_reader_receiver.h"
#include "platform/utf8.h"
#include "support/log_replay_fixture.h"

namespace {

const std::string kExamples = std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/logs/";
const char* const kLogs[] = {"plane-hardprobe.xml", "circle-hardprobe.xml", "capture-continuous.xml"};

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class EventLogExamples : public LogReplayTest {
 protected:
  // Plays the shipped log as fast as it can be read, into the receiver kind given.
  template <class Kind>
  std::vector<std::string> play(const char* log, Kind* receiver) {
    IPtr<PluginDeviceDataXMLReader> reader;
    reader.createInstance(classIdOf(PluginDeviceDataXMLReader::interfaceName));
    IPtr<PluginDeviceDataXMLReader::Receiver> adapter(new PluginDeviceDataXMLReader::Receiver(receiver));
    reader->setReceiver(adapter.get());
    reader->setPaced(false);
    std::string path = kExamples + log;
    ZelString name;
    name.setBuffer(platform::fromUtf8(path).c_str(), -1);
    reader->setFileName(name);
    EXPECT_TRUE(reader->replay()) << log;
    return recorder_->calls();
  }
};

size_t countOf(const std::vector<std::string>& calls, const std::string& kind) {
  size_t count = 0;
  for (const std::string& call : calls) count += call.rfind(kind + " ", 0) == 0 || call == kind;
  return count;
}

TEST_F(EventLogExamples, AreExactlyWhatTheWriterWrites) {
  std::string command = std::string(PALPERA_LOG_EXAMPLES_TOOL) + " " + scratch_.system() + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* log : kLogs) {
    std::string shipped = readFile(kExamples + log);
    EXPECT_FALSE(shipped.empty()) << log;
    EXPECT_EQ(scratch_.read(log), shipped) << log << " differs from what the writer writes: run make logs";
  }
}

TEST_F(EventLogExamples, ThePlaneIsFivePointsOnATiltedFaceAndAStopPointAbove) {
  std::vector<std::string> calls = play(kLogs[0], recorder_->single());
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "radius 0.003");
  EXPECT_EQ(countOf(calls, "sampled"), 5u);
  EXPECT_EQ(countOf(calls, "pointStop"), 1u);
  EXPECT_EQ(calls.back().rfind("pointStop ", 0), 0u);
  for (const std::string& call : calls) {
    double x, y, z;
    if (std::sscanf(call.c_str(), "sampled %lf,%lf,%lf", &x, &y, &z) != 3) continue;
    double ballCentreOnFace = 0.0452 + 0.0004 * x - 0.0002 * y + 0.003;
    EXPECT_NEAR(z, ballCentreOnFace, 5e-6) << call;
  }
}

TEST_F(EventLogExamples, TheCircleIsSixPointsOnTheBoreTrack) {
  std::vector<std::string> calls = play(kLogs[1], recorder_->single());
  EXPECT_EQ(countOf(calls, "sampled"), 6u);
  EXPECT_EQ(countOf(calls, "pointStop"), 1u);
  for (const std::string& call : calls) {
    double x, y, z;
    if (std::sscanf(call.c_str(), "sampled %lf,%lf,%lf", &x, &y, &z) != 3) continue;
    EXPECT_NEAR(std::hypot(x - 0.2150, y - 0.0875), 0.0127 - 0.003, 5e-6) << call;
  }
}

TEST_F(EventLogExamples, TheCaptureSamplesOnlyBetweenItsStartAndStop) {
  std::vector<std::string> calls = play(kLogs[2], recorder_->continuous());
  EXPECT_EQ(countOf(calls, "sampledOriented"), 24u);
  size_t start = 0, stop = 0;
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i] == "startCapture") start = i;
    if (calls[i] == "stopCapture") stop = i;
    if (calls[i].rfind("sampledOriented", 0) == 0) {
      EXPECT_GT(i, start);
      EXPECT_EQ(stop, 0u) << "sampled after the capture stopped";
    }
  }
  EXPECT_EQ(calls.back(), "stop");
}

}  // namespace
