#include <gtest/gtest.h>

#include "devices/managers/laser_scan_plugin_manager.h"
#include "tests/devices/host_log/host_log_fixture.h"

namespace {

constexpr const char* kCounter = "HardProbeDumpCounter";

class LogRecord : public HostLogTestBase {
 protected:
  // Records one acquisition's start as a device does, through its manager (the scanner's records under the
  // same category as the probes'); answers the event file name it was given.
  std::string record(const Matrix4x4& transform = Matrix4x4::identity()) {
    ZelString fileName(u"untouched");
    manager_->recordLog(transform, fileName);
    return utf8(fileName);
  }
  void countTo(int32_t value) {
    for (int32_t i = 0; i < value; ++i) host_.counters().find(ZelCString(kCounter))->increment();
  }

  IPtr<IZelPluginManager> manager_{new LaserScanPluginManager};
};

TEST_F(LogRecord, WritesTheThreeRecordsAndNamesANumberedFileBesideTheLog) {
  ASSERT_TRUE(host_.logger().startRecording(logPath()));
  host_.logger().suspend();
  host_.counters().create(ZelCString(kCounter), 1, 0);
  countTo(7);

  EXPECT_EQ(record(Matrix4x4::translation(Vector3(0.1, 2, -3))),
            utf8(folder_.module("run-hardprobe-0007.xml")));
  EXPECT_EQ(host_.counters().valueOf(kCounter), 8);
  EXPECT_TRUE(host_.logger().isSuspended()) << "suspended only while the records are written";
  EXPECT_EQ(readLog(), (std::vector<Record>{
                           {"PluginAlignmentMatrix", "1 0 0 0.10000000000000001 0 1 0 2 0 0 1 -3 0 0 0 1 "},
                           {"PluginData", "run-hardprobe-0007.xml"},
                           {"PluginWait", ""},
                       }));
}

TEST_F(LogRecord, TheFirstRecordingMakesTheCounterAndTheNumbersGoRound) {
  ASSERT_TRUE(host_.logger().startRecording(folder_.system("run")));
  EXPECT_EQ(record(), utf8(folder_.module("run-hardprobe-0000.xml"))) << "a log without an extension";
  countTo(9998);
  EXPECT_EQ(record(), utf8(folder_.module("run-hardprobe-9999.xml")));
  EXPECT_EQ(record(), utf8(folder_.module("run-hardprobe-0000.xml"))) << "10000 starts again";
  EXPECT_EQ(host_.counters().valueOf(kCounter), 1);
}

}  // namespace
