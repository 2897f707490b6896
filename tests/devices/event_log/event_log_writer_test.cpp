// The device-event log writer: what a record looks like byte for byte, its time stamps from the counter, and
// where the records go.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "devices/event_log/plugin_device_data_xml_writer.h"
#include "platform/clock.h"
#include "support/device_records.h"
#include "support/file_size_limit.h"
#include "support/module_fixture.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

namespace records = device_records;

constexpr uint64_t kNanosecondsPerMs = 1000000;

const ZelString kOnStop(u"OnStop");

class EventLogWriter : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    writer_ = newWriter();
    writer_->setOutputFile(scratch_.module("log.xml"));
  }

  IPtr<PluginDeviceDataXMLWriter> newWriter() {
    IPtr<PluginDeviceDataXMLWriter> writer;
    writer.createInstance(classIdOf(PluginDeviceDataXMLWriter::interfaceName));
    EXPECT_TRUE(writer);
    return writer;
  }

  // What the writer wrote, once it has let go of the file.
  std::string written() {
    writer_.release();
    return scratch_.read("log.xml");
  }

  void at(double ms) { clock_.set(kStart + static_cast<uint64_t>(ms * kNanosecondsPerMs)); }

  static constexpr uint64_t kStart = 7000 * kNanosecondsPerMs;
  platform::CounterOverride clock_{kStart};
  ScratchDirectory scratch_;
  IPtr<PluginDeviceDataXMLWriter> writer_;
};

TEST_F(EventLogWriter, TimesAreWholeMillisecondsSinceThePreviousRecordWithoutAccumulatedCutting) {
  // The writer was made long before its first record; a gap past what 32 bits of milliseconds hold wraps.
  for (double ms : {40000.0, 40001.6, 40003.2, 40003.2 + 4294967.295 * 1000 + 5}) {
    at(ms);
    writer_->writeNullEvent(kOnStop, records::null().get());
  }
  EXPECT_EQ(written(), "<OnStop time=\"0\"/><OnStop time=\"1\"/><OnStop time=\"2\"/><OnStop time=\"4\"/>");
}

// A move has point, to and up, each with x, y, z in order; numbers have six decimals up to 1e10 and an
// exponent above; a custom event writes its name, escaped, and nothing of its payload; a scan line lists its
// points only when it has some.
TEST_F(EventLogWriter, EachKindOfRecordIsWrittenByteForByte) {
  writer_->writePositionOrientationEvent(ZelString(u"OnMoved"),
                                         records::oriented({0.125, -0.04, 1.5}, {0, 0, -1}, {0, 1, 0}).get());
  writer_->writeRadiusEvent(ZelString(u"SetRadius"), records::radius(0.1234567).get());
  writer_->writePositionEvent(ZelString(u"OnPointSampled"), records::position({2e10, -1e10, -2.5e11}).get());
  auto payload = records::radius(1.0);
  writer_->writeCustomEvent(ZelString(u"OnCustomEvent"),
                            records::custom("Undo <last> & \"all\"", payload.get()).get());
  writer_->writeCustomEvent(
      ZelString(u"OnCustomEvent"),
      records::make<IZelPluginDeviceCustomEventData>("PluginDeviceCustomEventData").get());
  writer_->writeScanLineEvent(ZelString(u"OnSampled"),
                              records::scanLine({1, 2, 3}, {0, 0, 1}, {1, 0, 0}, {}).get());
  writer_->writeScanLineEvent(
      ZelString(u"OnSampled"),
      records::scanLine({0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {{1, 0, 0}, {0, 2, 0}}).get());
  const std::string orientation =
      "<To><X>0.000000</X><Y>0.000000</Y><Z>1.000000</Z></To>"
      "<Up><X>1.000000</X><Y>0.000000</Y><Z>0.000000</Z></Up>";
  EXPECT_EQ(
      written(),
      std::string("<OnMoved time=\"0\">"
                  "<Point><X>0.125000</X><Y>-0.040000</Y><Z>1.500000</Z></Point>"
                  "<To><X>0.000000</X><Y>0.000000</Y><Z>-1.000000</Z></To>"
                  "<Up><X>0.000000</X><Y>1.000000</Y><Z>0.000000</Z></Up></OnMoved>"
                  "<SetRadius time=\"0\">0.123457</SetRadius>"
                  "<OnPointSampled time=\"0\"><Point><X>2.000000e+10</X><Y>-10000000000.000000</Y>"
                  "<Z>-2.500000e+11</Z></Point></OnPointSampled>"
                  "<OnCustomEvent time=\"0\" name=\"Undo &lt;last> &amp; &quot;all&quot;\"/>"
                  "<OnCustomEvent time=\"0\" name=\"\"/>"
                  "<OnSampled time=\"0\"><Point><X>1.000000</X><Y>2.000000</Y><Z>3.000000</Z></Point>") +
          orientation +
          "</OnSampled>"
          "<OnSampled time=\"0\"><Point><X>0.000000</X><Y>0.000000</Y><Z>0.000000</Z></Point>" +
          orientation +
          "<Points><Point><X>1.000000</X><Y>0.000000</Y><Z>0.000000</Z></Point>"
          "<Point><X>0.000000</X><Y>2.000000</Y><Z>0.000000</Z></Point></Points></OnSampled>");
}

// Records reach the file in batches of whole records: whatever a crash leaves ends where a record ends, and
// holds every record but the last batch's. A scan line longer than a batch goes out whole too.
TEST_F(EventLogWriter, TheFileAlwaysEndsWithAWholeRecordAndLagsByOneBatchAtMost) {
  const std::vector<Vector3> longLine(400, Vector3{0.125, -0.25, 0.5});  // about 24 KB
  std::string records;
  // The file is read again only when it grew: reading it whole after every record made the test quadratic.
  const auto sizeOnDisk = [&] {
    std::error_code missing;
    const uintmax_t size = std::filesystem::file_size(scratch_.system("log.xml"), missing);
    return missing ? uintmax_t{0} : size;
  };
  for (int i = 0; i < 300; ++i) {
    SCOPED_TRACE(i);
    const uintmax_t before = sizeOnDisk();
    if (i % 100 == 50) {
      writer_->writeScanLineEvent(ZelString(u"OnSampled"),
                                  records::scanLine({0, 0, 0}, {0, 0, 1}, {1, 0, 0}, longLine).get());
    } else {
      writer_->writePositionOrientationEvent(
          ZelString(u"OnMoved"), records::oriented({i * 1e-3, 0, 1}, {0, 0, -1}, {0, 1, 0}).get());
    }
    if (sizeOnDisk() == before) continue;
    const std::string onDisk = scratch_.read("log.xml");
    const std::string latest = onDisk.size() > before ? onDisk.substr(before) : "";
    records += latest;
    EXPECT_EQ(onDisk, records);
    ASSERT_TRUE(latest.empty() || latest.ends_with("</OnMoved>") || latest.ends_with("</OnSampled>"));
  }
  const std::string whole = written();
  EXPECT_EQ(whole.substr(0, records.size()), records);
  EXPECT_GT(records.size(), 0u);
  EXPECT_LE(whole.size() - records.size(), FileOutput::kBatchBytes) << "held back at the end";
  EXPECT_TRUE(
      whole.ends_with("<X>0.299000</X><Y>0.000000</Y><Z>1.000000</Z></Point>"
                      "<To><X>0.000000</X><Y>0.000000</Y><Z>-1.000000</Z></To>"
                      "<Up><X>0.000000</X><Y>1.000000</Y><Z>0.000000</Z></Up></OnMoved>"))
      << "the last move, written when the writer went";
}

// A disk that fills up mid-batch: the file is cut back to the records before that batch, never in the middle
// of one (which would make the whole log unplayable), and the loss is told rather than kept quiet.
TEST_F(EventLogWriter, ADiskThatFillsUpLeavesWholeRecordsAndTellsOfTheLoss) {
  constexpr rlim_t kRoom = 40 * 1024;
  auto writeMoves = [](IPtr<PluginDeviceDataXMLWriter>& writer) {
    for (int i = 0; i < 400; ++i) {
      writer->writePositionOrientationEvent(ZelString(u"OnMoved"),
                                            records::oriented({i * 1e-3, 0, 1}, {0, 0, -1}, {0, 1, 0}).get());
    }
    writer.release();
  };
  testing::internal::CaptureStderr();
  {
    FileSizeLimit full(kRoom);
    writeMoves(writer_);
  }
  IPtr<PluginDeviceDataXMLWriter> unlimited = newWriter();
  unlimited->setOutputFile(scratch_.module("whole.xml"));
  writeMoves(unlimited);
  const std::string told = testing::internal::GetCapturedStderr();
  const std::string kept = scratch_.read("log.xml");
  const std::string whole = scratch_.read("whole.xml");
  ASSERT_GT(whole.size(), kRoom);
  EXPECT_GE(kept.size(), FileOutput::kBatchBytes);
  EXPECT_LE(kept.size(), kRoom);
  EXPECT_TRUE(kept.ends_with("</OnMoved>"));
  EXPECT_EQ(whole.substr(0, kept.size()), kept);
  EXPECT_NE(told.find("Device event log"), std::string::npos) << told;
  EXPECT_EQ(told.find("Device event log"), told.rfind("Device event log")) << "told once: " << told;
}

// Wherever the disk fills, the file keeps every record the system took whole: a limit on a record's end
// keeps that record, one a byte short of it or past it keeps the record before.
TEST_F(EventLogWriter, AFullDiskKeepsEveryRecordTheSystemTookWholeWhereverTheLimitFalls) {
  const auto writeMoves = [this](const std::string& name) {
    IPtr<PluginDeviceDataXMLWriter> writer = newWriter();
    writer->setOutputFile(scratch_.module(name));
    for (int i = 0; i < 200; ++i) {
      writer->writePositionOrientationEvent(ZelString(u"OnMoved"),
                                            records::oriented({i * 1e-3, 0, 1}, {0, 0, -1}, {0, 1, 0}).get());
    }
  };
  writeMoves("whole.xml");
  const std::string whole = scratch_.read("whole.xml");
  const std::string end = "</OnMoved>";
  // A record's end in the second batch, and the one before it.
  const size_t recordEnd = whole.find(end, FileOutput::kBatchBytes + 1000) + end.size();
  const size_t before = whole.rfind(end, recordEnd - end.size() - 1) + end.size();
  const std::pair<rlim_t, size_t> cases[] = {
      {recordEnd, recordEnd}, {recordEnd + 1, recordEnd}, {recordEnd - 1, before}};
  for (const auto& [room, kept] : cases) {
    SCOPED_TRACE(room);
    testing::internal::CaptureStderr();
    {
      FileSizeLimit full(room);
      writeMoves("full.xml");
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(scratch_.read("full.xml"), whole.substr(0, kept));
  }
}

// The DOM escapes a line feed in a name, but not in a text: the file stores one as CR LF, as a text-mode file
// does, and the text as UTF-8.
TEST_F(EventLogWriter, AFileStoresALineFeedAsCrLfAndTheTextAsUtf8) {
  {
    FileOutput file(scratch_.module("text.xml"));
    file.write(ZelString(u"<A>one\ntwo</A>"));
    file.write(ZelString(u"<B>\u00e9\n</B>"));
  }
  EXPECT_EQ(scratch_.read("text.xml"), "<A>one\r\ntwo</A><B>\xC3\xA9\r\n</B>");
}

TEST_F(EventLogWriter, AWriterWithoutAFileWritesToStandardError) {
  IPtr<PluginDeviceDataXMLWriter> console = newWriter();
  testing::internal::CaptureStderr();
  console->writeRadiusEvent(ZelString(u"SetRadius"), records::radius(0.003).get());
  console->writeNullEvent(kOnStop, records::null().get());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "<SetRadius time=\"0\">0.003000</SetRadius><OnStop time=\"0\"/>");
}

// The logs shipped under examples/logs are exactly what the writer writes, so no hand edit slips in.
TEST(EventLogExamples, AreExactlyWhatTheWriterWrites) {
  ScratchDirectory scratch;
  std::string command = std::string(PALPERA_LOG_EXAMPLES_TOOL) + " " + scratch.system() + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* log : {"plane-hardprobe.xml", "circle-hardprobe.xml", "capture-continuous.xml"}) {
    const std::string shipped = readFile(std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/logs/" + log);
    EXPECT_FALSE(shipped.empty()) << log;
    EXPECT_EQ(scratch.read(log), shipped) << log << " differs from what the writer writes: run make logs";
  }
}

}  // namespace
