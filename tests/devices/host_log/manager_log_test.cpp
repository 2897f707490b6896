// The managers' side of the host log: an acquisition's start recorded, and the replay plug-in lent to the
// devices between connect and disconnect while a log is replayed.

#include <gtest/gtest.h>

#include "devices/event_log/plugin_device_data_xml_writer.h"
#include "devices/host_log/izel_plugin_manager_log_replay_util.h"
#include "devices/managers/hard_probe_plugin_manager.h"
#include "devices/managers/laser_scan_plugin_manager.h"
#include "framework/object/query_chain.h"
#include "host/core/host_unknown.h"
#include "support/device_records.h"
#include "support/file_size_limit.h"
#include "tests/devices/host_log/host_log_fixture.h"
#include "tests/devices/support/test_plugin.h"

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
    for (int32_t i = 0; i < value; ++i) host_.core().counters().find(ZelCString(kCounter))->increment();
  }

  IPtr<IZelPluginManager> manager_{new LaserScanPluginManager};
};

TEST_F(LogRecord, WritesTheThreeRecordsAndNamesANumberedFileBesideTheLog) {
  ASSERT_TRUE(host_.devices().logger().startRecording(logPath()));
  host_.devices().logger().suspend();
  host_.core().counters().create(ZelCString(kCounter), 1, 0);
  countTo(7);

  EXPECT_EQ(record(Matrix4x4::translation(Vector3(0.1, 2, -3))), folder_.system("run-hardprobe-0007.xml"));
  EXPECT_EQ(host_.core().counters().valueOf(kCounter), 8);
  EXPECT_TRUE(host_.devices().logger().isSuspended()) << "suspended only while the records are written";
  ASSERT_TRUE(host_.devices().logger().stopRecording());  // the log takes its file's place
  EXPECT_EQ(readLog(), (std::vector<Record>{
                           {"PluginAlignmentMatrix", "1 0 0 0.10000000000000001 0 1 0 2 0 0 1 -3 0 0 0 1 "},
                           {"PluginData", "run-hardprobe-0007.xml"},
                           {"PluginWait", ""}}));
}

TEST_F(LogRecord, TheFirstRecordingMakesTheCounterAndTheNumbersGoRound) {
  ASSERT_TRUE(host_.devices().logger().startRecording(folder_.system("run")));
  EXPECT_EQ(record(), folder_.system("run-hardprobe-0000.xml")) << "a log without an extension";
  countTo(9998);
  EXPECT_EQ(record(), folder_.system("run-hardprobe-9999.xml"));
  EXPECT_EQ(record(), folder_.system("run-hardprobe-0000.xml")) << "10000 starts again";
  EXPECT_EQ(host_.core().counters().valueOf(kCounter), 1);
}

// A log renamed to keep it still names the files of its own session: the next recording under the old name
// must not write over them and replay the new session as the kept one.
TEST_F(LogRecord, AnEventFileThatExistsIsSkippedAndTheLogNamesTheFreeOne) {
  folder_.write("run-hardprobe-0000.xml", "kept");
  folder_.write("run-hardprobe-0001.xml", "kept");
  ASSERT_TRUE(host_.devices().logger().startRecording(logPath()));
  EXPECT_EQ(record(), folder_.system("run-hardprobe-0002.xml"));
  EXPECT_EQ(host_.core().counters().valueOf(kCounter), 3);
  ASSERT_TRUE(host_.devices().logger().stopRecording());
  EXPECT_EQ(readLog()[1], (Record{"PluginData", "run-hardprobe-0002.xml"}));
  EXPECT_EQ(folder_.read("run-hardprobe-0000.xml"), "kept");
}

TEST_F(LogRecord, AnEventFileReportedUnwrittenFailsTheEndOfTheRecordingButKeepsTheLog) {
  HostGuiLogger& logger = host_.devices().logger();
  logger.reportUnwrittenFile(folder_.module("before.xml"));  // not recording: nothing to fail
  ASSERT_TRUE(logger.startRecording(logPath()));
  const std::string file = record();
  logger.reportUnwrittenFile(ZelString(platform::fromUtf8(file).c_str()));
  std::string why;
  EXPECT_FALSE(logger.stopRecording(&why));
  EXPECT_EQ(why, "the device event file '" + folder_.system("run-hardprobe-0000.xml") +
                     "' of the host log could not be written whole");
  EXPECT_EQ(readLog().size(), 3u) << "the records the log holds are kept";
  ASSERT_TRUE(logger.startRecording(logPath()));
  EXPECT_TRUE(logger.stopRecording()) << "a new recording starts whole";
}

// An event file without a record (none fits on a full disk, or none comes) would not replay: it goes.
TEST_F(LogRecord, AnEventFileWithoutARecordIsRemovedAndTheLogThereBeforeIsKept) {
  for (const bool delivers : {true, false}) {
    SCOPED_TRACE(delivers);
    folder_.write("run.log", "an earlier log\n");
    ASSERT_TRUE(host_.devices().logger().startRecording(logPath()));
    const std::string file = record();
    {
      FileSizeLimit full(delivers ? 16 : RLIM_INFINITY);
      IPtr<PluginDeviceDataXMLWriter> writer;
      writer.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
      writer->setOutputFile(folder_.module(std::filesystem::path(file).filename()));
      if (delivers) writer->writeRadiusEvent(ZelString(u"SetRadius"), device_records::radius(0.003).get());
    }
    std::string why;
    EXPECT_FALSE(host_.devices().logger().stopRecording(&why));
    EXPECT_EQ(why, "the device event file '" + file +
                       "' of the host log holds no record: the log is not put in place");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(folder_.read("run.log"), "an earlier log\n");
  }
}

// A host's logger as the host interface gives it, six operations and no other interface name: it hands them
// to the stand-in's logger, which then is told of nothing the module finds wrong with its event files.
class SixOperationLogger : public IGuiLogger, public HostUnknown {
 public:
  explicit SixOperationLogger(IGuiLogger& logger) : logger_(logger) {}
  bool isRecording() override { return logger_.isRecording(); }
  ZelString currentLogFile() override { return logger_.currentLogFile(); }
  void suspend() override { logger_.suspend(); }
  void resume() override { logger_.resume(); }
  bool isSuspended() override { return logger_.isSuspended(); }
  bool writeRecord(const ZelCString& kind, const ZelString& text) override {
    return logger_.writeRecord(kind, text);
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("SixOperationLogger", this, this).offer<IGuiLogger>(this).end();
  }
  const char* className() override { return "SixOperationLogger"; }

 private:
  IGuiLogger& logger_;
};

// What the device's writers find wrong with the event files of a log reaches a host's logger that answers
// for it: the first file reported is the one named, a file reported after the recording ended is told once.
// A host whose logger has the six operations alone records alike, and the user learns of each file on the
// standard error stream.
TEST_F(LogRecord, EventFileFailuresReachALoggerThatAnswersForThemAndOneOfSixOperationsWorksWithout) {
  struct Case {
    const char* what;
    bool sixOperations;
    int files, records;  // files recorded, and the records each is given
    rlim_t room;         // per file
    bool late;           // the recording stops before the files' writers go, which cannot make them
    const char* why;     // what is wrong with the first file, as stopRecording or the late failure says
    const char* told;    // on the standard error stream
  };
  const Case cases[] = {
      {"no record", false, 1, 0, RLIM_INFINITY, false, "holds no record: the log is not put in place", ""},
      {"no record", true, 1, 0, RLIM_INFINITY, false, "", "holds no record and is not there"},
      {"cut short", false, 2, 400, 20000, false, "could not be written whole", "took only part"},
      {"cut short", true, 2, 400, 20000, false, "", "took only part"},
      {"late", true, 1, 1, RLIM_INFINITY, true, "", "cannot be created"},
      {"late", false, 1, 1, RLIM_INFINITY, true, "holds no record after the recording ended",
       "cannot be created"},
  };
  HostGuiLogger& logger = host_.devices().logger();
  IPtr<SixOperationLogger> sixOperations(new SixOperationLogger(logger));
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + (c.sixOperations ? ", six operations" : ""));
    IGuiLogger* served = c.sixOperations ? static_cast<IGuiLogger*>(sixOperations.get()) : &logger;
    host_.root().setService(IGuiLogger::interfaceName, served);
    host_.core().errors().clear();
    if (ICounter* counter = host_.core().counters().find(ZelCString(kCounter))) counter->reset();
    ASSERT_TRUE(logger.startRecording(logPath()));
    const std::string name = c.late ? "missing/run-hardprobe-0000.xml" : "run-hardprobe-0000.xml";
    std::vector<IPtr<PluginDeviceDataXMLWriter>> writers(c.files);
    for (auto& writer : writers) {
      writer.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
      const std::string recorded = std::filesystem::path(record()).filename();
      writer->setOutputFile(folder_.module(c.late ? "missing/" + recorded : recorded));
    }
    std::string why;
    if (c.late) {
      EXPECT_TRUE(logger.stopRecording(&why)) << why;
    }
    testing::internal::CaptureStderr();
    {
      FileSizeLimit full(c.room);
      for (int i = 0; i < c.records; ++i) {
        for (auto& writer : writers)
          writer->writePositionOrientationEvent(
              ZelString(u"OnMoved"), device_records::oriented({i * 1e-3, 0, 1}, {0, 0, -1}, {0, 1, 0}).get());
      }
      writers.clear();
    }
    const std::string told = testing::internal::GetCapturedStderr();
    if (c.late) {
      why = logger.lateFailure();
    } else {
      logger.stopRecording(&why);
    }
    EXPECT_EQ(why,
              *c.why ? "the device event file '" + folder_.system(name) + "' of the host log " + c.why : "");
    EXPECT_NE(told.find(c.told), std::string::npos) << told;
    EXPECT_EQ(host_.core().errors().reports().size(), c.late && !c.sixOperations ? 1u : 0u) << "told once";
    EXPECT_EQ(std::filesystem::exists(folder_.system(name)), c.records > 0 && !c.late);
    for (const char* file : {"run-hardprobe-0000.xml", "run-hardprobe-0001.xml"})
      std::filesystem::remove(folder_.system(file));
  }
  host_.root().setService(IGuiLogger::interfaceName, static_cast<IGuiLogger*>(&logger));
}

class ManagerReplay : public HostLogTestBase {
 protected:
  void SetUp() override {
    HostLogTestBase::SetUp();
    util_.getService();
    ASSERT_TRUE(util_) << "the host serves the replay utility";
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm_));
    ASSERT_TRUE(hardProbe_->setActivePlugin(arm_));
  }
  void TearDown() override {
    util_.release();
    HostLogTestBase::TearDown();
  }

  void replay(const std::vector<Record>& records) {
    writeLog(records);
    ASSERT_TRUE(host_.devices().replayer().startReplay(logPath()));
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
};

TEST_F(ManagerReplay, TheReplayPluginStandsInUntilTheLastEnd) {
  replay({{"UserAction", "x"},
          {"HostErrorShown", "y"},
          {"PluginAlignmentMatrix", kShifted},
          {"PluginData", "a.xml"},
          {"PluginWait", ""}});
  hardProbe_->beginReplay();
  IZelPlugin* lent = hardProbe_->activePlugin();
  EXPECT_TRUE(lent->getName().isEmpty());
  hardProbe_->advanceReplay();
  EXPECT_EQ(fileOf(lent), folder_.system("a.xml"));
  EXPECT_EQ(lent->hardwareMatrix().m[3], 5.0);
  EXPECT_EQ(host_.devices().replayer().passedOver(), 1u)
      << "the user's action is the host's to play, and an error it showed its own note";
  host_.core().dataStore().fireEvent(nullptr, kLogReplayFinished);  // the acquisition's run has ended
  hardProbe_->advanceReplay();                                      // the next acquisition finds no data left
  EXPECT_EQ(fileOf(lent), "") << "nothing to play, rather than the earlier acquisition's file";
  EXPECT_FALSE(host_.devices().replayer().isReplaying()) << "its wait was played on the way";

  hardProbe_->beginReplay();  // the second hard-probe device connects
  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), lent);
  EXPECT_EQ(announcements(), 1u);
  hardProbe_->endReplay();
  EXPECT_EQ(hardProbe_->activePlugin(), arm_) << "the plug-in the first connect displaced";
  EXPECT_EQ(util_->replayPlugin(), nullptr);
  EXPECT_EQ(announcements(), 2u);
}

}  // namespace
