// The example of the iterative alignment: the emulator touches the posed plate beside six targets, one of
// them out of tolerance and touched again, and the hardware matrix the command sets puts the device's points
// where the part stands.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "printed_matrix.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// The table rows of each printing of the dialog, in order: per printing, the text of "row N: ..." fields.
std::vector<std::vector<std::string>> tableRows(const std::string& output) {
  std::vector<std::vector<std::string>> printings;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("4\ttable\tTable", 0) != 0) continue;
    std::vector<std::string> rows;
    std::istringstream fields(line);
    std::string field;
    while (std::getline(fields, field, '\t')) {
      if (field.rfind("row ", 0) == 0) rows.push_back(field);
    }
    printings.push_back(rows);
  }
  return printings;
}

// The number after the second " | " of a row: its zone deviation.
double zoneDeviation(const std::string& row) {
  const size_t first = row.find(" | ");
  const size_t second = row.find(" | ", first + 3);
  return std::stod(row.substr(second + 3));
}

// The script's run from the project's folder: the stale hardware matrix the arm starts with gives way to the
// identity, under which the emulator's arm delivers its points where the part stands; before the re-probe
// target 4 lies 1.5 mm beside its pick, 0.5 mm outside the zone, in red; after it every target is in.
void expectTheArmOnThePartAndTheRetouchedTargetIn(const std::string& path) {
  int status = -1;
  const std::string output = runTool("--script " + path, status, kProject);
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NEAR(matrixAfter(output, "hardware", false).m[3], 0.25, 1e-12) << "the stale matrix first";
  const Matrix4x4 hardware = lastMatrixUnder(output, "hardware");
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(hardware.m[i], Matrix4x4::identity().m[i], 1e-7) << i << "\n" << output;

  const std::vector<std::vector<std::string>> printings = tableRows(output);
  ASSERT_EQ(printings.size(), 2u) << output;
  ASSERT_EQ(printings[0].size(), 7u);
  EXPECT_NEAR(zoneDeviation(printings[0][4]), .5, 1e-3) << printings[0][4];
  EXPECT_NE(printings[0][4].find("(colour 1 0 0 1)"), std::string::npos) << printings[0][4];
  for (size_t row = 1; row < printings[1].size(); ++row) {
    SCOPED_TRACE(printings[1][row]);
    EXPECT_EQ(zoneDeviation(printings[1][row]), 0);
    EXPECT_EQ(printings[1][row].find("colour"), std::string::npos);
  }
}

TEST(AlignIterativeExample, TheArmIsAlignedOntoThePlacedPartAndTheRetouchedTargetComesIntoTolerance) {
  expectTheArmOnThePartAndTheRetouchedTargetIn("examples/align-iterative.script");
}

// The example's script with the waits after its third touch taken out, so that the fourth click follows the
// third with no turn of the main loop in between: both are queued in the same run of the emulator before the
// third sample reaches the command, whose realignment then restarts the device with the fourth still in
// transit.
std::string withTheFourthTouchRightAfterTheThird(const std::string& apart) {
  const std::string click = "\nmouse click ";
  size_t third = apart.find("\npress StartProbing\n");
  for (int i = 0; i < 3 && third != std::string::npos; ++i) third = apart.find(click, third + 1);
  if (third == std::string::npos) return {};
  const size_t waits = apart.find('\n', third + 1) + 1;
  const size_t fourth = apart.find(click, third + 1);
  if (fourth == std::string::npos) return {};
  std::istringstream taken(apart.substr(waits, fourth + 1 - waits));
  std::string line;
  bool waited = false;
  while (std::getline(taken, line)) {
    // Anything but a wait between the two touches would change what the variant probes.
    if (line.rfind("run", 0) != 0) return {};
    waited = waited || line == "run-until Palpera/Events/Single/SampledEvent 10000";
  }
  if (!waited) return {};
  return apart.substr(0, waits) + apart.substr(fourth + 1);
}

// The fourth touch right after the third: it is on its way while the third's realignment restarts the
// device, and is stored in the frame the device measured it in.
TEST(AlignIterativeExample, TouchesInQuickSuccessionAlignAsTouchesApart) {
  const std::string apart = readFile(kProject + "/examples/align-iterative.script");
  const std::string script = withTheFourthTouchRightAfterTheThird(apart);
  ASSERT_FALSE(script.empty()) << apart;
  ScratchDirectory scratch;
  const std::string path = scratch.system() + "/quick.script";
  std::ofstream(path) << script;
  expectTheArmOnThePartAndTheRetouchedTargetIn(path);
}

// The scripts that touch with the emulator wait for the device's events, never for a stretch of time: a slow
// machine must not let a print overtake a touch, nor a click reach a device that is still restarting. The one
// pause a script may keep is the device's own, before its first move and saying why on its line: the device
// holds back a move within 1/30 s of its run's start, and a wait for that move would then wait in vain.
TEST(AlignIterativeExample, TheProbingExamplesWaitForEventsNotForTime) {
  for (const char* name :
       {"examples/align-iterative.script", "examples/align-321.script", "examples/align-then-measure.script",
        "examples/orient-to-world.script", "examples/move-device-before.script",
        "examples/move-device-after.script", "examples/move-device-again.script",
        "examples/quick-probe.script", "examples/quick-probe-placed.script", "examples/edit-features.script",
        "examples/probe-record.script", "examples/deviation.script", "examples/capture.script",
        "examples/sections.script", "tests/host/tool/show-position-stop-twice.script"}) {
    SCOPED_TRACE(name);
    const std::string script = readFile(kProject + "/" + name);
    ASSERT_FALSE(script.empty());
    std::istringstream lines(script);
    std::string line;
    int waits = 0, pauses = 0;
    while (std::getline(lines, line)) {
      if (line.rfind("run ", 0) == 0) {
        ++pauses;
        EXPECT_NE(line.find("# "), std::string::npos) << "a pause says why: " << line;
        EXPECT_EQ(waits, 1) << "only right after the device's run has begun: " << line;
      }
      waits += line.rfind("run-until Palpera/Events/", 0) == 0;
    }
    EXPECT_LE(pauses, 1);
    EXPECT_GT(waits, 2);
  }
}

// After the 3-2-1 example, a pass of Iterative Alignment on three targets ended by STOP after two touches and
// the re-probe question answered no: OK must leave the 3-2-1 alignment on the device, not the identity the
// pass probed through.
TEST(AlignIterativeExample, APassEndedEarlyLeavesThe321AlignmentOnTheDevice) {
  const std::string earlier = readFile(kProject + "/examples/align-321.script");
  const std::string top = " -0.10531990444955419 0.09519173979102621 -0.989871835341472\n";
  const std::string picks[] = {"0.07421279617798217 -0.013807669591641047 0.07959487341365888",
                               "0.1336051062984705 -0.0074884753246677975 0.07388336902619731",
                               "0.09962532294763016 0.03389616013221183 0.08147851692015803"};
  std::string script = earlier + "command PalperaIterativeAlignmentCmd\n";
  for (const std::string& at : picks) script += "mouse down " + at + top + "mouse click " + at + top;
  script += "answer no\npress StartProbing\nrun-until Palpera/Events/Single/RadiusEvent 10000\n";
  for (int touch = 0; touch < 2; ++touch)
    script += "mouse click " + picks[touch] + top + "run-until Palpera/Events/Single/SampledEvent 10000\n";
  script += "key press 299\nkey press 293\nkey release 299\n";
  script += "run-until Palpera/Events/Single/StopEvent 10000\napply\nprint alignment\n";
  ScratchDirectory scratch;
  const std::string path = scratch.system() + "/iterative-after-321.script";
  std::ofstream(path) << script;

  int status = -1;
  const std::string output = runTool("--script " + path, status, kProject);
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  // The 3-2-1 command prints the alignment too: the last printing is the one after OK.
  const Matrix4x4 hardware = lastMatrixUnder(output, "hardware");
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(hardware.m[i], Matrix4x4::identity().m[i], 1e-7) << i << "\n" << output;
}

}  // namespace
