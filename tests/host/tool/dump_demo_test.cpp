#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

const std::string kProject = std::filesystem::path(PALPERA_TEST_SOURCE_DIR).parent_path().string();

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// What the dump command prints for the shipped recording, as the README shows it.
std::string expectedDump() {
  return readFile(std::string(PALPERA_TEST_SOURCE_DIR) + "/host/expected/dump-replay.txt");
}

// Runs a script of the project's examples in directory, where its relative paths are taken from.
std::string runExample(const std::string& script, const std::string& directory, int& status) {
  return runTool("--script " + kProject + "/examples/" + script, status, directory);
}

TEST(DumpDemo, TheMainJobReplaysTheShippedHostLogAndPrintsEveryRecordedEventOnce) {
  const std::string expected = expectedDump();
  ASSERT_FALSE(expected.empty());
  int status = -1;
  std::string output = runExample("dump-replay.script", kProject, status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_EQ(output, expected);
}

// With nothing loaded before the module starts, the hard-probe manager still finds the emulator the module
// brings, so the demo needs no plug-in of the host's.
TEST(DumpDemo, AtStartUpTheHardProbeManagerChoosesTheEmulatorTheModuleBrings) {
  ScratchDirectory scratch;
  scratch.write("start.script", "start\nprint settings Palpera/ActivePlugin\nprint plugins\n");
  int status = -1;
  std::string output = runTool("--script " + scratch.system("start.script"), status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_EQ(output, "Palpera/ActivePlugin\tHard Probe Emulator\nEmulatorPlugin\n");
}

// The shipped files come from the shipped recording script: recording again gives the same host log and an
// event file that replays to the same lines, which the live device printed as well.
TEST(DumpDemo, ARecordingMadeWithTheShippedScriptReplaysToTheSameLines) {
  ScratchDirectory scratch;
  std::filesystem::create_directory(scratch.system("examples"));
  std::filesystem::copy(kProject + "/examples/materials", scratch.system("examples/materials"));
  int status = -1;
  std::string recorded = runExample("record-dump.script", scratch.system(), status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << recorded;
  EXPECT_EQ(recorded, expectedDump()) << "the live run prints what its replay will";
  EXPECT_EQ(scratch.read("examples/dump.log"), readFile(kProject + "/examples/dump.log"));
  ASSERT_TRUE(scratch.exists("examples/dump-hardprobe-0000.xml"));

  std::string replayed = runExample("dump-replay.script", scratch.system(), status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << replayed;
  EXPECT_EQ(replayed, expectedDump());
}

}  // namespace
