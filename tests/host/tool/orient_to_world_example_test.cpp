// The examples of "Orient To World": the emulator probes three faces of the posed plate, the hardware matrix
// puts the device in the plate's axes at the corner of those faces, and a transform file saved in that run
// gives the same matrix back in the next.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "basic_types/matrix4x4.h"
#include "printed_matrix.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// The corner of the top, front and left faces, in the plate's own coordinates.
const Vector3 kCorner{0, 0, 0.01};

// The plate's pose P: a 10 degree turn about (1, 1, 1), then the move by (0.05, -0.03, 0.02) m, written out
// here (the turn by Rodrigues' formula) rather than taken from the matrix code under test.
Matrix4x4 platePose() {
  const double angle = 10 * std::acos(-1.0) / 180, c = std::cos(angle), s = std::sin(angle);
  const double k = 1 / std::sqrt(3.0);  // each component of the unit axis
  const double move[3] = {0.05, -0.03, 0.02};
  Matrix4x4 pose;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      // The cross-product matrix of the axis: -k just right of the diagonal (cyclically), +k left of it.
      const double cross = i == j ? 0 : j == (i + 1) % 3 ? -k : k;
      pose.m[4 * i + j] = (i == j ? c : 0) + (1 - c) * k * k + s * cross;
    }
    pose.m[4 * i + 3] = move[i];
  }
  pose.m[12] = pose.m[13] = pose.m[14] = 0;
  pose.m[15] = 1;
  return pose;
}

// Translation(-c) x P^-1 for a rigid P = [R | t]: the rows of R^T with the translation -R^T t - c.
Matrix4x4 expectedHardware(const Matrix4x4& pose, const Vector3& corner) {
  const double cornerOf[3] = {corner.x, corner.y, corner.z};
  Matrix4x4 h;
  for (int i = 0; i < 3; ++i) {
    double moved = 0;
    for (int j = 0; j < 3; ++j) {
      h.m[4 * i + j] = pose.m[4 * j + i];
      moved += pose.m[4 * j + i] * pose.m[4 * j + 3];
    }
    h.m[4 * i + 3] = -moved - cornerOf[i];
  }
  h.m[12] = h.m[13] = h.m[14] = 0;
  h.m[15] = 1;
  return h;
}

// Runs the example script, or the text given in its place, with its transform file in scratch rather than in
// the build folder.
std::string runExample(const std::string& name, const ScratchDirectory& scratch,
                       std::string* script = nullptr, const std::string& instead = "") {
  const std::string text =
      std::regex_replace(instead.empty() ? readFile(kProject + "/examples/" + name) : instead,
                         std::regex("build/orient-to-world\\.tfm"), scratch.system("orient-to-world.tfm"));
  const std::string path = scratch.system(name);
  std::ofstream(path) << text;
  if (script) *script = text;
  int status = -1;
  const std::string output = runTool("--script " + path, status, kProject);
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  return output;
}

// The printed line of the stored hardware alignment: its 128 bytes in hexadecimal.
std::string storedHardware(const std::string& output) {
  std::smatch found;
  EXPECT_TRUE(
      std::regex_search(output, found, std::regex("Palpera/Alignment/Hardware Alignment\t([0-9a-f]+)")))
      << output;
  return found.size() > 1 ? found[1].str() : "";
}

TEST(OrientToWorldExample, ThreeProbedFacesPutTheDeviceAtTheirCornerAndTheSavedFileLoadsBackBitForBit) {
  ScratchDirectory scratch;
  std::string script;
  const std::string probed = runExample("orient-to-world.script", scratch, &script);
  const Matrix4x4 pose = platePose();
  const Matrix4x4 posed = matrixAfter(script, "transform RefObject ", true);
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(posed.m[i], pose.m[i], 1e-15) << "the script's pose, element " << i;
  const Matrix4x4 expected = expectedHardware(pose, kCorner);
  const Matrix4x4 hardware = matrixAfter(probed, "hardware", false);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(hardware.m[i], expected.m[i], 1e-7) << "element " << i;
  const std::string stored = storedHardware(probed);
  ASSERT_EQ(stored.size(), 256u);

  const std::string loaded = runExample("orient-to-world-load.script", scratch);
  EXPECT_EQ(storedHardware(loaded), stored);
  const Matrix4x4 reloaded = matrixAfter(loaded, "hardware", false);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(reloaded.m[i], hardware.m[i]) << "element " << i;
}

// STOP pressed twice after plane 1 (a double press): the run goes on with plane 1, the operator is told what
// plane 2 needs, and the three faces put the device where the example does.
TEST(OrientToWorldExample, ADoubleStopAfterAPlaneKeepsTheRunAndSaysWhatTheNextPlaneNeeds) {
  ScratchDirectory scratch;
  const std::string once = readFile(kProject + "/examples/orient-to-world.script");
  const std::string stopped = "run-until Palpera/Events/Single/StopEvent 10000\n";
  const size_t first = once.find(stopped);
  ASSERT_NE(first, std::string::npos);
  const std::string output = runExample(
      "orient-to-world.script", scratch, nullptr,
      once.substr(0, first) + stopped + "key press 293\n" + stopped + once.substr(first + stopped.size()));
  EXPECT_NE(
      output.find("error: Plane 2 was not made: 2 more points are needed. Its points are kept; probe more "
                  "points on the face picked for plane 2 and stop again.\n"),
      std::string::npos)
      << output;
  const Matrix4x4 expected = expectedHardware(platePose(), kCorner);
  const Matrix4x4 hardware = matrixAfter(output, "hardware", false);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(hardware.m[i], expected.m[i], 1e-7) << "element " << i;
}

}  // namespace
