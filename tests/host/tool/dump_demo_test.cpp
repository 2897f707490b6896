#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/memory_status.h"
#include "support/file_size_limit.h"
#include "support/run_tool.h"
#include "support/sanitized.h"
#include "support/scratch_directory.h"

namespace {

// Room for the host log of one acquisition (105 bytes), not for its event file (262 bytes).
constexpr rlim_t kRoomForTheHostLogOnly = 200;

// Runs a script of the project's examples in directory, where its relative paths are taken from.
std::string runExample(const std::string& script, const std::string& directory, int& status) {
  return runTool("--script " + kProject + "/examples/" + script, status, directory);
}

// The main job replays the shipped host log and prints every recorded event once. The shipped files come
// from the shipped recording script: recording again gives the same host log and an event file that replays
// to the same lines, which the live device printed as well.
TEST(DumpDemo, TheShippedRecordingAndOneMadeAgainWithItsScriptReplayToTheSameLines) {
  // What the dump command prints for the shipped recording, as the README shows it.
  const std::string expected =
      readFile(std::string(PALPERA_TEST_SOURCE_DIR) + "/host/expected/dump-replay.txt");
  ASSERT_FALSE(expected.empty());
  ScratchDirectory scratch;
  std::filesystem::create_directory(scratch.system("examples"));
  std::filesystem::copy(kProject + "/examples/materials", scratch.system("examples/materials"));
  int status = -1;
  std::string recorded = runExample("record-dump.script", scratch.system(), status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << recorded;
  EXPECT_EQ(recorded, expected) << "the live run prints what its replay will";
  EXPECT_EQ(scratch.read("examples/dump.log"), readFile(kProject + "/examples/dump.log"));
  ASSERT_TRUE(scratch.exists("examples/dump-hardprobe-0000.xml"));

  for (const std::string& directory : {kProject, scratch.system()}) {
    std::string replayed = runExample("dump-replay.script", directory, status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << replayed;
    EXPECT_EQ(replayed, expected) << directory;
  }
}

// A session of acquisitions, one per place: at each the emulator's pointer moves to the place on the
// reference box's top face, and the emulator's stop key ends the run.
std::string recordingAt(const std::vector<std::string>& places) {
  std::string script =
      "load-plugin EmulatorPlugin\ncad-box RefObject -5 -5 -1 5 5 0\nstart\n"
      "set Palpera/Emulator/MaxNoiseFactor 0\nrecord-log session.log\ncommand PalperaDumpCmd\n";
  for (const std::string& place : places) {
    // The pause before the move is the device's: it holds back a move within 1/30 s of its run's start.
    script += "press StartButton\nrun-until Palpera/Events/Continuous/RadiusEvent 10000\nrun 100\n";
    script += "mouse move " + place + " 10 0 0 -1\nrun-until Palpera/Events/Continuous/MovedEvent 10000\n";
    script += "key press 293\nrun-until Palpera/Events/Continuous/OnStop 10000\npress StopButton\n";
  }
  return script + "cancel\nstop-recording\n";
}

std::string replayOf(int acquisitions) {
  std::string script = "replay-log session.log\ncommand PalperaDumpCmd\n";
  for (int i = 0; i < acquisitions; ++i)
    script += "press StartButton\nrun-until Palpera/LogReplayFinished\npress StopButton\n";
  return script + "cancel\n";
}

// The host's data (the materials the module reads at its start) is the project's examples.
void writeSessionScript(const ScratchDirectory& scratch, const std::string& script) {
  std::ofstream(scratch.system("session.script"))
      << "set DefaultFileNameDirectory/common " << kProject << "/examples\n"
      << (script.find("start\n") == std::string::npos ? "start\n" : "") << script;
}

std::string runScriptIn(const ScratchDirectory& scratch, const std::string& script, int& status,
                        const std::string& before = "") {
  writeSessionScript(scratch, script);
  return runTool("--script session.script", status, scratch.system(), before);
}

// A box beyond where a measured part lies is refused with that reason, and the script stops there.
TEST(DumpDemo, ABoxTooLargeForAPartIsRefusedWithItsReason) {
  ScratchDirectory scratch;
  std::string script = recordingAt({"1 2"});
  script.replace(script.find("-5 -5 -1 5 5 0"), 14, "-1e308 -1e308 -1e308 1e308 1e308 1e308");
  int status = -1;
  std::string output = runScriptIn(scratch, script, status);
  EXPECT_EQ(WEXITSTATUS(status), 1) << output;
  EXPECT_EQ(
      output,
      "session.script:3: the box's face 1 reaches 1e+308 m from the origin, beyond the 1000 m within which "
      "a measured part lies\n");
}

TEST(DumpDemo, EachRecordedAcquisitionReplaysItsOwnEventsOnceInOrderAndAnExtraOneGivesError) {
  ScratchDirectory scratch;
  const std::string first = "setProbeRadius(0.003)\nonMoved((1,2,0.003), (-0,-0,-1), (0,-1,0))\nonStop()\n";
  const std::string second = "setProbeRadius(0.003)\nonMoved((3,-4,0.003), (-0,-0,-1), (0,-1,0))\nonStop()\n";
  int status = -1;
  std::string recorded = runScriptIn(scratch, recordingAt({"1 2", "3 -4"}), status);
  ASSERT_EQ(WEXITSTATUS(status), 0) << recorded;
  ASSERT_EQ(recorded, first + second);

  std::string replayed = runScriptIn(scratch, replayOf(2), status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << replayed;
  EXPECT_EQ(replayed, first + second);

  replayed = runScriptIn(scratch, replayOf(3), status);
  EXPECT_EQ(WEXITSTATUS(status), 1) << "a replay that had no data for an acquisition failed";
  EXPECT_EQ(replayed,
            first + second +
                "onCustomEvent(Error)\n"
                "error: Cannot replay the acquisition: the replay of the host log 'session.log' ended before "
                "its device "
                "data.\n"
                "palpera-host: the replay of the host log 'session.log' failed: 1 error was shown\n");
}

TEST(DumpDemo, AReplayThatFailsSaysWhyOnStandardErrorAndEndsWithStatusOne) {
  ScratchDirectory scratch;
  using namespace std::string_literals;
  scratch.write("session.log", "PluginData\tmissing.xml\nPluginData\tgood.xml\0junk\n"s);
  int status = -1;
  std::string output = runScriptIn(scratch, replayOf(2), status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(output,
            "onCustomEvent(Error)\n"
            "error: Cannot replay the device-event file 'missing.xml': no such file.\n"
            "onCustomEvent(Error)\n"
            "error: Cannot replay the acquisition: the replay of the host log 'session.log' ended before its "
            "device "
            "data.\n"
            "palpera-host: the replay of the host log 'session.log' failed: line 2 is damaged\n");

  // A line far longer than any record is damage at its number, found without reading the line whole.
  scratch.write("session.log", "PluginData\t" + std::string(17 << 20, 'x'));
  output = runScriptIn(scratch, replayOf(1), status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(output,
            "onCustomEvent(Error)\n"
            "error: Cannot replay the acquisition: the replay of the host log 'session.log' ended before its "
            "device "
            "data.\n"
            "palpera-host: the replay of the host log 'session.log' failed: line 1 is longer than 16 MiB\n");

  // A data record that names no file is that acquisition's, and said so: not "no data was recorded".
  scratch.write("session.log", "PluginData\t\nPluginWait\t\n");
  output = runScriptIn(scratch, replayOf(1), status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(
      output,
      "onCustomEvent(Error)\n"
      "error: Cannot replay the acquisition: the host log 'session.log' has a data record that names no "
      "device-event file.\n"
      "palpera-host: the replay of the host log 'session.log' failed: 1 error was shown\n");
}

// The shell commands that run the host under a limit of its address space, on a machine that has far more
// memory free than the limit leaves: the figures the host reads of the machine are fixed, so the limit
// decides whatever other processes take meanwhile.
std::string withinAddressSpace(const ScratchDirectory& scratch, uint64_t mebibytes) {
  scratch.write("meminfo",
                "MemTotal: 67108864 kB\nMemAvailable: 67108864 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n");
  // One heap for every thread: each thread's own would reserve address space of its own, some runs more.
  return std::string("export ") + platform::kMemInfoVariable + "=" + scratch.system("meminfo") +
         " MALLOC_ARENA_MAX=1 && ulimit -v " + std::to_string(mebibytes << 10) + " && ";
}

// Under a limit of the host's address space: a replay that needs more memory than is left fails alone,
// saying so, and the host goes on to the script's next line; with nine times the log's size left, the replay
// plays, which it cannot once its peak grows past that.
TEST(DumpDemo, AReplayNeedingMoreMemoryThanIsLeftFailsAloneAndOneWithNineTimesItsSizePlays) {
  if (kSanitized) GTEST_SKIP() << "a sanitizer reserves more address space than any such limit";
  ScratchDirectory scratch;
  constexpr size_t kLogBytes = size_t{16} << 20;
  const std::string pad =
      "<Pad time=\"0\"><Point><X>1.000000</X><Y>2.000000</Y><Z>0.003000</Z></Point></Pad>";
  std::string events = "<SetRadius time=\"0\">0.003</SetRadius>";
  while (events.size() < kLogBytes) events += pad;
  scratch.write("big.xml", events + "<OnStop time=\"0\"/>");
  scratch.write("session.log", "PluginData\tbig.xml\nPluginWait\t\n");
  const std::string script = replayOf(1) + "print settings Palpera/Logging\n";
  int status = -1;
  auto runWithin = [&](uint64_t mebibytes) {
    return runScriptIn(scratch, script, status, withinAddressSpace(scratch, mebibytes));
  };

  constexpr uint64_t kTightLimit = 100;
  const std::string refused = runWithin(kTightLimit);
  EXPECT_EQ(WEXITSTATUS(status), 1) << refused;
  std::smatch figures;
  ASSERT_TRUE(std::regex_search(refused, figures,
                                std::regex("'big.xml': it needs about (\\d+) MiB of memory to replay, and "
                                           "(\\d+) MiB are free.\nPalpera/Logging\t0\n")))
      << refused;
  EXPECT_EQ(std::stoull(figures[1]), 8 * (kLogBytes >> 20));
  const uint64_t used = kTightLimit - std::stoull(figures[2]);

  const std::string played = runWithin(used + 9 * (kLogBytes >> 20));
  EXPECT_EQ(WEXITSTATUS(status), 0) << played;
  EXPECT_EQ(played, "setProbeRadius(0.003)\nonStop()\nPalpera/Logging\t0\n");

  // A host log line that memory cannot hold is that line's failure, said as such, not the log's end.
  scratch.write("session.log", "PluginData\t" + std::string(15 << 20, 'x') + "\n");
  const std::string unread = runWithin(used + 20);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_TRUE(
      unread.ends_with("Palpera/Logging\t0\npalpera-host: the replay of the host log 'session.log' failed: "
                       "line 1 cannot be read: memory ran out\n"))
      << unread;
}

// A materials file too large for the memory left is said so, and the host goes on with Steel.
TEST(DumpDemo, AMaterialsFileTooLargeForTheMemoryLeftIsSaidSoAndTheHostGoesOn) {
  if (kSanitized) GTEST_SKIP() << "a sanitizer reserves more address space than any such limit";
  ScratchDirectory scratch;
  std::filesystem::create_directory(scratch.system("materials"));
  std::string materials = "<Materials>";
  for (int i = 0; materials.size() < (size_t{32} << 20); ++i)
    materials +=
        "<Material name_i18n=\"A" + std::to_string(i) + "\"><T><V Type=\"Float\">1.5</V></T></Material>\n";
  scratch.write("materials/materials.mtlx", materials + "</Materials>");
  std::ofstream(scratch.system("session.script"))
      << "set DefaultFileNameDirectory/common " << scratch.system()
      << "\nstart\nprint settings Palpera/Logging\n";
  int status = -1;
  const std::string output =
      runTool("--script session.script", status, scratch.system(), withinAddressSpace(scratch, 100));
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  std::string shown = scratch.system("materials/materials.mtlx");  // as the module names a path
  std::replace(shown.begin(), shown.end(), '/', '\\');
  EXPECT_EQ(output, "dialog: There is not enough memory to read " + shown + "\nPalpera/Logging\t0\n");
}

// Without the reference model the emulator's run ends at once with an error event; the user is told why.
// A full disk once left an empty event file, said so on standard error only, and the script ended with 0;
// the empty file then replayed as nothing, with 0 again. Then the file was cut back to nothing though its
// first record fitted. It keeps the records that fit, and stop-recording fails.
TEST(DumpDemo, ARecordingWhoseEventFileCannotBeWrittenWholeFailsStopRecordingAndKeepsTheRecordsThatFit) {
  ScratchDirectory scratch;
  int status = -1;
  std::string output;
  writeSessionScript(scratch, recordingAt({"1 2"}));
  {
    FileSizeLimit full(kRoomForTheHostLogOnly);
    output = runTool("--script session.script", status, scratch.system());
  }
  EXPECT_EQ(WEXITSTATUS(status), 1) << output;
  EXPECT_TRUE(output.ends_with(
      ": the device event file 'session-hardprobe-0000.xml' of the host log could not be written whole\n"))
      << output;
  EXPECT_EQ(scratch.read("session-hardprobe-0000.xml"), "<SetRadius time=\"0\">0.003000</SetRadius>")
      << "cut back to its last whole record";
  ASSERT_TRUE(scratch.exists("session.log")) << "the host log is kept";

  output = runScriptIn(scratch, replayOf(1), status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_EQ(output, "setProbeRadius(0.003)\n");
}

// The recording stopped while its acquisition ran on, and the event file failed as the acquisition ended:
// the writer said so on standard error only, nothing was shown, and the script ended with 0 and a log that
// names an empty file. A failure after stop-recording reaches the user and the script as one before it does.
// The writer names the file as the user gave the log, not with back slashes.
TEST(DumpDemo, AnEventFileThatFailsAfterStopRecordingIsShownAndFailsTheScript) {
  ScratchDirectory scratch;
  std::filesystem::create_directory(scratch.system("rec"));
  std::string script = recordingAt({"1 2"});
  script.replace(script.find("session.log"), 11, "rec/session.log");
  const std::string stopRecording = "stop-recording\n";
  script.erase(script.rfind(stopRecording), stopRecording.size());
  script.insert(script.find("key press 293"), stopRecording);
  script.replace(script.rfind("press StopButton\ncancel\n"), std::string::npos, "cancel\nprint errors\n");
  writeSessionScript(scratch, script);
  int status = -1;
  std::string output;
  {
    FileSizeLimit full(kRoomForTheHostLogOnly);
    output = runTool("--script session.script", status, scratch.system());
  }
  const std::string why =
      "the device event file 'rec/session-hardprobe-0000.xml' of the host log could not be written whole "
      "after "
      "the recording ended";
  EXPECT_EQ(WEXITSTATUS(status), 1) << output;
  EXPECT_NE(output.find("\nDevice event log rec/session-hardprobe-0000.xml: the system took only part"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("\n1\t\t" + why + "\n"), std::string::npos) << "print errors shows it\n" << output;
  EXPECT_TRUE(output.ends_with("\npalpera-host: " + why + "\n")) << output;
  ASSERT_TRUE(scratch.exists("rec/session.log")) << "the host log was put in place at stop-recording";
}

// With every event file name taken the acquisition cannot be recorded: the host's end once named another
// recording's untouched file as unwritten, and put a log of no record in place.
TEST(DumpDemo, AnAcquisitionThatCannotBeRecordedSaysSoAndLeavesNoEmptyLog) {
  ScratchDirectory scratch;
  char name[32];
  for (int number = 0; number <= 9999; ++number) {
    std::snprintf(name, sizeof name, "session-hardprobe-%04d.xml", number);
    scratch.write(name, "kept");
  }
  int status = -1;
  const std::string output = runScriptIn(scratch, recordingAt({"1 2"}), status);
  EXPECT_EQ(WEXITSTATUS(status), 1) << output;
  EXPECT_EQ(
      output,
      "error: Every device event file name like 'session-hardprobe-0000.xml' is taken: this acquisition is "
      "not recorded.\n"
      "session.script:8: pressing 'StartButton' failed: 1 error was shown\n"
      "palpera-host: an acquisition was not recorded in the host log: the log holds no record and is not put "
      "in place\n");
  EXPECT_FALSE(scratch.exists("session.log"));
  EXPECT_EQ(scratch.read("session-hardprobe-0000.xml"), "kept");
}

// The press that could not start the device fails the script there.
TEST(DumpDemo, TheEmulatorWithoutAReferenceModelSaysWhatIsMissing) {
  ScratchDirectory scratch;
  int status = -1;
  std::string output =
      runScriptIn(scratch,
                  "load-plugin EmulatorPlugin\nstart\ncommand PalperaDumpCmd\npress StartButton\n"
                  "run-until Palpera/Events/Continuous/CustomEvent 10000\npress StopButton\ncancel\n",
                  status);
  EXPECT_EQ(WEXITSTATUS(status), 1) << output;
  // The device's "Error" may still reach the command as the host ends it.
  EXPECT_TRUE(output.starts_with(
      "error: The hard-probe emulator has no model to probe on: the document has no object named "
      "\"RefObject\".\n"
      "session.script:5: pressing 'StartButton' failed: 1 error was shown\n"))
      << output;
}

// What goes wrong in a replay of a recorded session, beside its log as recorded.
enum class ReplayFault {
  kNone,
  kFewerPlayed,
  kEventFileMissing,
  kEventFileCut,
  kDamagedAfterTheLast,
  kLastCut
};

// The line numbers of the log's data records, from 1.
std::vector<size_t> dataLines(const std::string& log) {
  std::vector<size_t> lines;
  std::istringstream in(log);
  size_t number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.starts_with("PluginData\t")) lines.push_back(number);
  }
  return lines;
}

// A replay passes only when it plays every acquisition of a whole log from whole event files: whatever goes
// wrong fails it with its reason, even where the log's notes of the errors the recording showed carry the
// very words the replay showed, and one that plays fewer acquisitions than were recorded says how many it
// left.
TEST(DumpDemo, AReplayPassesOnlyWhenItPlaysEveryRecordedAcquisitionOfAWholeLog) {
  ScratchDirectory scratch;
  int status = -1;
  const std::string recording = runScriptIn(scratch, recordingAt({"1 2", "3 -4", "-2 1"}), status);
  ASSERT_EQ(WEXITSTATUS(status), 0) << recording;
  const std::string log = scratch.read("session.log");
  const std::vector<size_t> data = dataLines(log);
  ASSERT_EQ(data.size(), 3u) << log;
  const std::string failed = "palpera-host: the replay of the host log 'session.log' failed: ";
  std::mt19937 random(20261208);
  for (int index = 0; index < (kSanitized ? 3 : 7); ++index) {
    const auto fault = static_cast<ReplayFault>(index < 6 ? index : random() % 6);
    const size_t at = random() % data.size();  // the acquisition the fault is in
    SCOPED_TRACE(testing::Message() << "fault " << static_cast<int>(fault) << " at " << at);
    ScratchDirectory copy;
    for (const auto& file : std::filesystem::directory_iterator(scratch.system()))
      std::filesystem::copy(file.path(), copy.system(file.path().filename().string()));
    const std::string eventFile = "session-hardprobe-000" + std::to_string(at) + ".xml";
    if (fault == ReplayFault::kEventFileMissing) std::filesystem::remove(copy.system(eventFile));
    if (fault == ReplayFault::kEventFileCut) {
      const std::string whole = copy.read(eventFile);
      copy.write(eventFile, whole.substr(0, whole.size() / 2));
    }
    if (fault == ReplayFault::kDamagedAfterTheLast) copy.write("session.log", log + "PluginWait no tab\n");
    if (fault == ReplayFault::kLastCut) copy.write("session.log", log.substr(0, log.size() - 1));
    const int played = fault == ReplayFault::kFewerPlayed ? static_cast<int>(at) : 3;
    std::string output = runScriptIn(copy, replayOf(played), status);
    if (fault == ReplayFault::kEventFileMissing || fault == ReplayFault::kEventFileCut) {
      // The words the failure showed, noted in the log as if the recording had shown them.
      const size_t shown = output.find("error: Cannot replay the device-event file '" + eventFile);
      ASSERT_NE(shown, std::string::npos) << output;
      const std::string words = output.substr(shown + 7, output.find('\n', shown) - shown - 7);
      copy.write("session.log", log + "HostErrorShown\t" + words + "\n");
      output = runScriptIn(copy, replayOf(played), status);
      EXPECT_NE(output.find(failed + words + "\n"), std::string::npos) << output;
    }
    EXPECT_EQ(WEXITSTATUS(status), fault == ReplayFault::kNone ? 0 : 1) << output;
    const size_t lines = std::count(log.begin(), log.end(), '\n');
    const std::string left = std::to_string(3 - at);
    const std::string says[] = {"",
                                failed + left +
                                    (at == 2 ? " recorded acquisition was" : " recorded acquisitions were") +
                                    " never played, the first on line " + std::to_string(data[at]) + "\n",
                                failed + "Cannot replay",
                                failed + "Cannot replay",
                                failed + "line " + std::to_string(lines + 1) + " ",
                                failed + "line " + std::to_string(lines) + " "};
    const std::string& expected = says[static_cast<int>(fault)];
    if (expected.empty()) {
      EXPECT_EQ(output.find(failed), std::string::npos) << output;
    } else {
      EXPECT_NE(output.find(expected), std::string::npos) << output;
    }
  }
}

}  // namespace
