#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/emulator_ball.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// The plate's top face.
constexpr double kFaceHeight = 0.01;
constexpr double kDistanceRate = 0.005;

struct PrintedPoints {
  int count = 0;
  double first[3] = {};
  double last[3] = {};
};

// The line "print document" gives a point object's points.
bool readPoints(const std::string& line, PrintedPoints& points) {
  return std::sscanf(line.c_str(), "\tpoints %d\tfirst (%lf, %lf, %lf)\tlast (%lf, %lf, %lf)", &points.count,
                     &points.first[0], &points.first[1], &points.first[2], &points.last[0], &points.last[1],
                     &points.last[2]) == 7;
}

// The example session: the emulator swept in distance mode along a straight line over the plate's top face.
TEST(CaptureScript, TheSweptPassIsTheTestObjectOneProbeRadiusAboveTheFaceAtTheInterval) {
  int status = -1;
  const std::string output = runTool("--script examples/capture.script", status, kProject);
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  std::istringstream lines(output);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "RefObject: unit metre, 1 solid, 8 faces, size 0.1 x 0.08 x 0.01 m");
  std::getline(lines, line);
  EXPECT_EQ(line, "CAD\tRefObject");
  std::getline(lines, line);
  EXPECT_EQ(line, "Point\tScan 1") << "the single pass is the test object";
  std::getline(lines, line);
  PrintedPoints points;
  ASSERT_TRUE(readPoints(line, points)) << output;
  EXPECT_GE(points.count, 3);
  for (const double* p : {points.first, points.last}) {
    EXPECT_NEAR(p[2], kFaceHeight + kEmulatorBallRadius, 1e-9);
    EXPECT_NEAR(p[1], 0.015, 1e-9);
  }
  // Along a straight sweep, points each more than the interval from the one before span more than that.
  EXPECT_GT(points.last[0] - points.first[0], (points.count - 1) * kDistanceRate) << output;
  EXPECT_FALSE(std::getline(lines, line)) << "no error: " << output;
}

// The operator names the scan before taking it: the name field is a text field of the dialog, and a single
// point taken with the emulator becomes the test object under the typed name.
TEST(CaptureScript, ANameTypedIntoTheNameFieldNamesTheScan) {
  ScratchDirectory scratch;
  std::ofstream(scratch.system("name.script"))
      << "cad-load RefObject " << kProject << "/examples/parts/plate-bore.step\n"
      << "set DefaultFileNameDirectory/common " << kProject << "/examples\n"
      << "start\nset Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/ProbeCapture/Mode 0\n"
      << "set Palpera/ProbeCapture/VirtualCamera 0\ncommand PalperaCaptureCmd\nprint dialog\n"
      << "type PointObjectName MyScan\npress StartCapture\n"
      << "run-until Palpera/Events/Single/RadiusEvent 10000\nmouse click 0.01 0.015 0.1 0 0 -1\n"
      << "run-until Palpera/Events/Single/SampledEvent 10000\napply\nprint document\nprint errors\n";
  int status = -1;
  const std::string output = runTool("--script name.script", status, scratch.system());
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NE(output.find("\n2\ttext\tPointObjectName\t"), std::string::npos) << output;
  EXPECT_NE(output.find("\nPoint\tMyScan\n\tpoints 1\tfirst (0.01, 0.015, 0.013)"), std::string::npos)
      << output;
}

}  // namespace
