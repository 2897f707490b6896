#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/core/recording_error_service.h"
#include "host/devices/host_gui_logger.h"
#include "host/devices/host_log_format.h"
#include "host_api/host_log.h"
#include "platform/unfinished_files.h"
#include "support/file_size_limit.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"

namespace {

// A record handler as the module registers one: it notes "kind|text" for each record, or "kind" alone when
// the record has no text, and counts interruptions.
class NotingHandler : public ILogReplayer::ILogEventHandler,
                      public ILogReplayer::IInterruptibleLogEventHandler,
                      public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "NotingHandler";

  bool handleRecord(const ZelCString& kind, const std::vector<ZelCString>& texts) override {
    noted.push_back(std::string(kind.c_str()) + (texts.empty() ? "" : "|" + std::string(texts[0].c_str())));
    return true;
  }
  void interrupt() override { ++interruptions; }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf(interfaceName, this, static_cast<ILogReplayer::ILogEventHandler*>(this))
        .offer<ILogReplayer::ILogEventHandler>(this)
        .offer<ILogReplayer::IInterruptibleLogEventHandler>(this)
        .end();
  }
  const char* className() override { return interfaceName; }

  std::vector<std::string> noted;
  int interruptions = 0;
};

class HostLog : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    logger_.getService();
    replayer_.getService();
    ASSERT_TRUE(logger_ && replayer_);
  }

  void writeFile(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  // Replays the whole log into handler under each kind; answers how many records were played.
  int replayAll(NotingHandler* handler, const std::vector<const char*>& kinds) {
    EXPECT_TRUE(host_.devices().replayer().startReplay(path_));
    for (const char* kind : kinds) replayer_->addHandler(ZelCString(kind), handler);
    int played = 0;
    while (replayer_->replayNext()) ++played;
    return played;
  }

  ScratchDirectory scratch_;
  const std::string path_ = scratch_.system("host.log");
  IPtr<IGuiLogger> logger_;
  IPtr<ILogReplayer> replayer_;
};

TEST_F(HostLog, RecordsWrittenWhileNotSuspendedComeBackInOrderWithTheirTextsIntact) {
  ASSERT_TRUE(host_.devices().logger().startRecording(path_));
  const std::u16string asGiven(path_.begin(), path_.end());
  EXPECT_EQ(std::u16string(logger_->currentLogFile().c_str()), asGiven) << "the module shows it so";
  ZelCString data("PluginData"), wait("PluginWait");
  EXPECT_TRUE(logger_->writeRecord(data, ZelString(u"run-hardprobe-0000.xml")));
  logger_->suspend();
  EXPECT_TRUE(logger_->isRecording()) << "a suspended log still records";
  EXPECT_FALSE(logger_->writeRecord(data, ZelString(u"dropped.xml")));
  logger_->resume();
  EXPECT_TRUE(logger_->writeRecord(data, ZelString(u"tab\there\nnew line \\ and caf\u00e9")));
  EXPECT_TRUE(logger_->writeRecord(wait, ZelString()));
  host_.devices().logger().stopRecording();
  EXPECT_FALSE(logger_->isRecording());
  EXPECT_TRUE(logger_->currentLogFile().isEmpty());

  IPtr<NotingHandler> handler(new NotingHandler);
  ASSERT_TRUE(host_.devices().replayer().startReplay(path_));
  EXPECT_EQ(std::u16string(replayer_->currentLogFile().c_str()), asGiven);
  EXPECT_EQ(replayAll(handler.get(), {"PluginData", "PluginWait"}), 3);
  EXPECT_EQ(handler->noted,
            (std::vector<std::string>{"PluginData|run-hardprobe-0000.xml",
                                      "PluginData|tab\there\nnew line \\ and caf\xc3\xa9", "PluginWait"}));
  EXPECT_FALSE(replayer_->isReplaying()) << "the end of the log ends the replay";
  EXPECT_TRUE(host_.devices().replayer().damage().empty());
}

// A host whose own handler lets the process go on through a signal keeps what it records: the log, begun
// before the signal and recording on after it, is put in place whole when the recording stops.
TEST(HostLogThroughASignal, ASignalTheHostGoesOnFromLeavesTheRecordingWhole) {
  ScratchDirectory scratch;
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGUSR1, [](int) {});
    platform::removeUnfinishedFilesOnSignals();
    RecordingErrorService errors;
    HostGuiLogger logger(errors);
    const bool begun = logger.startRecording(scratch.system("host.log"));
    ::raise(SIGUSR1);
    const bool whole = begun && logger.writeRecord(ZelCString("PluginData"), ZelString(u"a.xml"));
    _exit(whole && logger.stopRecording() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(scratch.read("host.log"), "PluginData\ta.xml\n");
}

// A new log takes the old one's place only once it is written whole.
TEST_F(HostLog, ALogReplacesTheFileAtItsPathOnlyWhenItStopsWrittenWhole) {
  const std::string old = "PluginData\told.xml\n";
  writeFile(old);
  const ZelCString data("PluginData");
  ASSERT_TRUE(host_.devices().logger().startRecording(path_));
  EXPECT_TRUE(logger_->writeRecord(data, ZelString(u"new.xml")));
  EXPECT_EQ(scratch_.read("host.log"), old) << "while it records";
  EXPECT_TRUE(host_.devices().logger().stopRecording());
  EXPECT_EQ(scratch_.read("host.log"), "PluginData\tnew.xml\n");

  writeFile(old);
  ASSERT_TRUE(host_.devices().logger().startRecording(path_));
  {
    FileSizeLimit full(16);
    EXPECT_FALSE(logger_->writeRecord(data, ZelString(u"a record longer than the disk holds")));
  }
  EXPECT_FALSE(host_.devices().logger().stopRecording());
  EXPECT_EQ(scratch_.read("host.log"), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.system()), {}), 1)
      << "nothing left beside it";
  EXPECT_FALSE(host_.devices().logger().startRecording(scratch_.system())) << "a directory is no log";
}

TEST_F(HostLog, InterruptingTellsEachInterruptibleHandlerOnceAndEndsTheReplay) {
  writeFile("PluginData\ta\nPluginData\tb\n");
  IPtr<NotingHandler> handler(new NotingHandler);
  host_.devices().replayer().startReplay(path_);
  for (const char* kind : {"PluginData", "PluginWait", "PluginAlignmentMatrix"})
    replayer_->addHandler(ZelCString(kind), handler.get());
  host_.devices().replayer().interruptReplay();
  EXPECT_EQ(handler->interruptions, 1);
  EXPECT_FALSE(replayer_->replayNext());
  EXPECT_TRUE(handler->noted.empty());
}

// A damaged log plays what comes before the damage, then stops there and says where.
using HostLogDamage = HostLog;

TEST_F(HostLogDamage, ALineWithoutTabCutShortOrWithAnUnknownEscapeBadUtf8OrAZeroEndsTheReplayThere) {
  using namespace std::string_literals;
  const std::pair<std::string, int> logs[] = {{"PluginData\tone\nPluginData two\nPluginData\tthree\n", 1},
                                              {"PluginData\tone\nPluginData\trun-hardprobe-00", 1},
                                              {"PluginData\tC:\\logs\n", 0},
                                              {"PluginData\tend\\\n", 0},
                                              {"PluginData\t\xff\xfe\n", 0},
                                              {"\tno kind\n", 0},
                                              {"PluginData\tcarriage\r\n", 0},
                                              {"PluginData\tgood.xml\0junk\n"s, 0},
                                              {"Plugin\0Data\tgood.xml\n"s, 0}};
  for (const auto& [bytes, good] : logs) {
    SCOPED_TRACE(bytes);
    writeFile(bytes);
    IPtr<NotingHandler> handler(new NotingHandler);
    EXPECT_EQ(replayAll(handler.get(), {"PluginData"}), good);
    EXPECT_EQ(handler->noted, std::vector<std::string>(good, "PluginData|one"));
    const std::string why =
        bytes.ends_with("\r\n") ? ": it ends in CR LF, and the log's lines end in LF alone" : "";
    EXPECT_EQ(host_.devices().replayer().damage(), "line " + std::to_string(good + 1) + " is damaged" + why);
  }
  // A line far longer than any record is damage at its number, whether or not a line feed ends it.
  for (const char* end : {"", "\n"}) {
    writeFile("PluginData\tone\nPluginData\t" + std::string(HostLogReader::kLongestLine, 'x') + end);
    IPtr<NotingHandler> handler(new NotingHandler);
    EXPECT_EQ(replayAll(handler.get(), {"PluginData"}), 1);
    EXPECT_EQ(host_.devices().replayer().damage(), "line 2 is longer than 16 MiB");
  }
}

TEST_F(HostLogDamage, AFileThatCannotBeReadStartsNoReplay) {
  // A directory opens as a stream, and would play as an empty log.
  for (const std::string& path : {path_ + "-missing", scratch_.system()}) {
    EXPECT_FALSE(host_.devices().replayer().startReplay(path)) << path;
    EXPECT_FALSE(replayer_->isReplaying());
    EXPECT_FALSE(replayer_->replayNext());
  }
}

}  // namespace
