#include <gtest/gtest.h>

#include "devices/host_log/izel_plugin_manager_log_record_util.h"
#include "devices/managers/laser_scan_plugin_manager.h"
#include "tests/devices/host_log/host_log_fixture.h"

namespace {

constexpr const char* kCounter = "HardProbeDumpCounter";

class LogRecord : public HostLogTestBase {
 protected:
  // Records one acquisition's start as a device does; answers the event file name it was given.
  std::string record(const Matrix4x4& transform = Matrix4x4::identity()) {
    SPtr<IZelPluginManagerLogRecordUtil> util;
    EXPECT_TRUE(util) << "the host serves the record utility";
    ZelString fileName(u"untouched");
    if (util) util->record(ZelCString("HardProbe"), transform, fileName);
    return utf8(fileName);
  }

  void setCounter(int32_t value) {
    host_.counters().create(ZelCString(kCounter), 1, 0);
    ICounter* counter = host_.counters().find(ZelCString(kCounter));
    for (int32_t i = 0; i < value; ++i) counter->increment();
  }
};

TEST_F(LogRecord, WritesTheThreeRecordsAndNamesANumberedFileBesideTheLog) {
  ASSERT_TRUE(host_.logger().startRecording(logPath()));
  setCounter(7);
  Matrix4x4 transform = Matrix4x4::translation(Vector3(0.1, 2, -3));

  EXPECT_EQ(record(transform), utf8(folder_.module("run-hardprobe-0007.xml")));
  EXPECT_EQ(host_.counters().valueOf(kCounter), 8);
  EXPECT_EQ(readLog(), (std::vector<Record>{
                           {"PluginAlignmentMatrix", "1 0 0 0.10000000000000001 0 1 0 2 0 0 1 -3 0 0 0 1 "},
                           {"PluginData", "run-hardprobe-0007.xml"},
                           {"PluginWait", ""},
                       }));
}

TEST_F(LogRecord, TheFirstRecordingMakesTheCounterAndTheNumbersGoRound) {
  ASSERT_TRUE(host_.logger().startRecording(logPath()));
  EXPECT_EQ(record(), utf8(folder_.module("run-hardprobe-0000.xml")));
  EXPECT_EQ(host_.counters().valueOf(kCounter), 1);

  host_.counters().find(ZelCString(kCounter))->reset();
  for (int32_t i = 0; i < 9999; ++i) host_.counters().find(ZelCString(kCounter))->increment();
  EXPECT_EQ(record(), utf8(folder_.module("run-hardprobe-9999.xml")));
  EXPECT_EQ(record(), utf8(folder_.module("run-hardprobe-0000.xml"))) << "10000 starts again";
  EXPECT_EQ(host_.counters().valueOf(kCounter), 1);
}

TEST_F(LogRecord, NothingIsRecordedUnlessTheHostRecordsAndDoesNotReplay) {
  EXPECT_EQ(record(), "untouched");
  EXPECT_FALSE(host_.counters().valueOf(kCounter).has_value()) << "no number used up";

  writeLog({{"UserAction", "x"}});
  ASSERT_TRUE(host_.replayer().startReplay(logPath()));
  ScratchDirectory other;
  ASSERT_TRUE(host_.logger().startRecording(other.system("replayed.log")));
  EXPECT_EQ(record(), "untouched");
  host_.logger().stopRecording();
  EXPECT_EQ(other.read("replayed.log"), "");
}

TEST_F(LogRecord, ASuspendedLoggerTakesTheRecordsAndStaysSuspended) {
  ASSERT_TRUE(host_.logger().startRecording(logPath()));
  host_.logger().suspend();
  record();
  EXPECT_TRUE(host_.logger().isSuspended());
  EXPECT_EQ(readLog().size(), 3u);
}

TEST_F(LogRecord, BothManagersRecordUnderTheHardProbeCategory) {
  ASSERT_TRUE(host_.logger().startRecording(logPath()));
  IPtr<IZelPluginManager> scanning(new LaserScanPluginManager);
  ZelString fileName;
  scanning->recordLog(Matrix4x4::identity(), fileName);
  EXPECT_EQ(utf8(fileName), utf8(folder_.module("run-hardprobe-0000.xml")));
  EXPECT_EQ(readLog().size(), 3u);
}

}  // namespace
