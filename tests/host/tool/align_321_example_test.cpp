// The example of the 3-2-1 device alignment: the emulator probes the posed plate, and the hardware matrix
// the command sets carries the device's points back onto the model.

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
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

const std::string kProject = std::filesystem::path(PALPERA_TEST_SOURCE_DIR).parent_path().string();

// The pose of the plate, and the hardware matrix after the script ran from the project's folder.
struct ScriptRun {
  Matrix4x4 pose;
  Matrix4x4 hardware;
};

ScriptRun runScript(const std::string& script, const std::string& path) {
  int status = -1;
  const std::string output = runTool("--script " + path, status, kProject);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  return {matrixAfter(script, "transform RefObject ", true), matrixAfter(output, "hardware", false)};
}

TEST(Align321Example, TheHardwareMatrixUndoesThePoseOfTheProbedPlate) {
  const std::string script = readFile(kProject + "/examples/align-321.script");
  const ScriptRun run = runScript(script, "examples/align-321.script");
  const Matrix4x4 product = run.hardware * run.pose;
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i], Matrix4x4::identity().m[i], 1e-7) << i;
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
  const ScriptRun run = runScript(script, path);
  const Matrix4x4 product = run.hardware * run.pose;
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i], Matrix4x4::identity().m[i], 1e-7) << i;
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
  const ScriptRun run = runScript(script, path);
  const Matrix4x4 product = run.hardware * run.pose;
  for (double x : {0.0, 0.1})
    for (double y : {0.0, 0.08})
      for (double z : {0.0, 0.01}) {
        const Vector3 corner{x, y, z};
        EXPECT_LT((Matrix4x4::transformPoint(product, corner) - corner).length(), 0.25e-3);
      }
}

}  // namespace
