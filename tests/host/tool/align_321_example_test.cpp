// The example of the 3-2-1 device alignment: the emulator probes the posed plate where it stands, and the
// hardware matrix the command sets puts the device's points there, in place of the stale one it started with.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "printed_matrix.h"
#include "support/expect_matrix_near.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// The hardware matrix the arm starts with, and the one after the script ran from the project's folder.
struct HardwareMatrices {
  Matrix4x4 stale;
  Matrix4x4 hardware;
};

HardwareMatrices runScript(const std::string& path) {
  int status = -1;
  const std::string output = runTool("--script " + path, status, kProject);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  return {matrixAfter(output, "hardware", false), lastMatrixUnder(output, "hardware")};
}

// The emulator's arm touches the part where the document shows it: aligned to the placed part, its hardware
// matrix is the identity, whatever stale one it started with.
TEST(Align321Example, TheArmIsAlignedOntoThePlacedPlate) {
  const HardwareMatrices run = runScript("examples/align-321.script");
  EXPECT_NEAR(run.stale.m[3], 0.25, 1e-12);
  expectMatrixNear(run.hardware, Matrix4x4::identity(), 1e-7);
}

// STOP pressed twice at the end (a double press): the second STOP is still in transit while the first
// completes the alignment, which stays the same.
TEST(Align321Example, ASecondStopAtTheEndChangesNothing) {
  const std::string once = readFile(kProject + "/examples/align-321.script");
  const std::string stop = "key press 293\n";
  const size_t last = once.rfind(stop);
  ASSERT_NE(last, std::string::npos);
  const std::string script = once.substr(0, last) + stop + once.substr(last);
  ScratchDirectory scratch;
  const std::string path = scratch.system() + "/stop-twice.script";
  std::ofstream(path) << script;
  const HardwareMatrices run = runScript(path);
  expectMatrixNear(run.hardware, Matrix4x4::identity(), 1e-7);
}

// STOP pressed twice after plane 1 (a double press): the second cannot finish plane 2, which has no touch
// yet. The run goes on with plane 1, the operator is told what plane 2 needs, and the alignment is the same.
TEST(Align321Example, ADoubleStopAfterAPlaneKeepsTheRunAndSaysWhatTheNextPlaneNeeds) {
  const std::string once = readFile(kProject + "/examples/align-321.script");
  const std::string stopped = "run-until Palpera/Events/Single/StopEvent 10000\n";
  const size_t first = once.find(stopped);
  ASSERT_NE(first, std::string::npos);
  const std::string script =
      once.substr(0, first) + stopped + "key press 293\n" + stopped + once.substr(first + stopped.size());
  ScratchDirectory scratch;
  std::ofstream(scratch.system("stop-twice.script")) << script;
  int status = -1;
  const std::string output = runTool("--script " + scratch.system("stop-twice.script"), status, kProject);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NE(
      output.find("error: Plane 2 was not made: 2 more points are needed. Its points are kept; probe more "
                  "points on the face picked for plane 2 and stop again.\n"),
      std::string::npos)
      << output;
  const Matrix4x4 hardware = lastMatrixUnder(output, "hardware");
  expectMatrixNear(hardware, Matrix4x4::identity(), 1e-7);
}

// Two slips at the start: "Probe Points" pressed before any reference plane is picked, and a STOP before
// the first touch of plane 1. Each is told; neither costs the picks nor the run, which ends with the
// example's alignment.
TEST(Align321Example, ProbingBeforeThePicksOrAStopBeforeTheFirstTouchIsToldAndTheRunGoesOn) {
  std::string script = readFile(kProject + "/examples/align-321.script");
  const std::string command = "command PalperaDeviceToPartAlignmentCmd\n";
  const std::string radius = "run-until Palpera/Events/Single/RadiusEvent 10000\n";
  const size_t picks = script.find(command);
  ASSERT_NE(picks, std::string::npos);
  script.insert(picks + command.size(), "press StartProbing\n");
  const size_t started = script.find(radius);
  ASSERT_NE(started, std::string::npos);
  script.insert(started + radius.size(), "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n");
  ScratchDirectory scratch;
  std::ofstream(scratch.system("early.script")) << script;
  int status = -1;
  const std::string output = runTool("--script " + scratch.system("early.script"), status, kProject);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  for (const char* told :
       {"dialog: Pick three points on the Reference object to define the first plane before probing.\n",
        "error: Plane 1 was not made: 3 more points are needed. Its points are kept; probe more points on "
        "the "
        "face picked for plane 1 and stop again.\n"}) {
    EXPECT_NE(output.find(told), std::string::npos) << told << output;
  }
  const Matrix4x4 hardware = lastMatrixUnder(output, "hardware");
  expectMatrixNear(hardware, Matrix4x4::identity(), 1e-7);
}

// With the emulator's own noise (up to 60 um along the surface normal), a simulation of the same probing
// over 5000 runs puts the plate's corners at most 0.20 mm from where they belong.
TEST(Align321Example, WithTheEmulatorsNoiseThePlatesCornersLandWithinAQuarterMillimetre) {
  const std::string quiet = readFile(kProject + "/examples/align-321.script");
  const std::string script =
      std::regex_replace(quiet, std::regex("set Palpera/Emulator/MaxNoiseFactor 0\n"), "");
  ASSERT_NE(script, quiet);
  ScratchDirectory scratch;
  const std::string path = scratch.system() + "/noisy.script";
  std::ofstream(path) << script;
  const HardwareMatrices run = runScript(path);
  const Matrix4x4 pose = matrixAfter(script, "transform RefObject ", true);
  for (double x : {0.0, 0.1})
    for (double y : {0.0, 0.08})
      for (double z : {0.0, 0.01}) {
        const Vector3 corner = Matrix4x4::transformPoint(pose, {x, y, z});
        EXPECT_LT((Matrix4x4::transformPoint(run.hardware, corner) - corner).length(), 0.25e-3);
      }
}

}  // namespace
