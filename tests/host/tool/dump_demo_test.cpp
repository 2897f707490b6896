#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

const std::string kProject = std::filesystem::path(PALPERA_TEST_SOURCE_DIR).parent_path().string();

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
    script += "press StartButton\nrun-until Palpera/Events/Continuous/RadiusEvent 2000\nrun 100\n";
    script += "mouse move " + place + " 10 0 0 -1\nrun 100\nkey press 293\n";
    script += "run-until Palpera/Events/Continuous/OnStop 2000\npress StopButton\n";
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
std::string runScriptIn(const ScratchDirectory& scratch, const std::string& script, int& status) {
  std::ofstream(scratch.system("session.script"))
      << "set DefaultFileNameDirectory/common " << kProject << "/examples\n"
      << (script.find("start\n") == std::string::npos ? "start\n" : "") << script;
  return runTool("--script session.script", status, scratch.system());
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
                "error: Cannot replay the acquisition: no device data was recorded for this acquisition.\n"
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
            "error: Cannot replay the device-event file '.\\missing.xml': no such file.\n"
            "onCustomEvent(Error)\n"
            "error: Cannot replay the acquisition: no device data was recorded for this acquisition.\n"
            "palpera-host: the replay of the host log 'session.log' failed: line 2 is damaged\n");
}

// Without the reference model the emulator's run ends at once with an error event; the user is told why.
TEST(DumpDemo, TheEmulatorWithoutAReferenceModelSaysWhatIsMissing) {
  ScratchDirectory scratch;
  int status = -1;
  std::string output =
      runScriptIn(scratch,
                  "load-plugin EmulatorPlugin\nstart\ncommand PalperaDumpCmd\npress StartButton\n"
                  "run-until Palpera/Events/Continuous/CustomEvent 2000\npress StopButton\ncancel\n",
                  status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_EQ(output,
            "error: The hard-probe emulator has no model to probe on: the document has no object named "
            "\"RefObject\".\n"
            "onCustomEvent(Error)\n");
}

}  // namespace
