#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/emulator_ball.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// The plate's top face and the emulator's tip radius.
constexpr double kTopFace = 0.01;

// The emulator sweeps the plate's top face across section planes picked on its side face: every section point
// lies on its plane and one probe radius above the face; finish makes a curve per section, apply a point
// object per section in a group.
TEST(SectionsDemo, EverySectionPointLiesOnItsPlaneOneRadiusAboveTheFace) {
  int status = -1;
  const std::string output = runTool("--script examples/sections.script", status, kProject);
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  for (const char* line :
       {"Group\tCurves 1\n\tmember\tCurves 1-2\n\tmember\tCurves 1-3\n\tmember\tCurves 1-4\n",
        "Curve\tCurves 1-3\n\tcurve\tspline\topen\t", "Group\tSections\n\tmember\tSections-1\n"}) {
    EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
  }
  EXPECT_EQ(output.find("Point\tSections\n", output.find("Group\tSections")), std::string::npos)
      << "the single point object is gone after apply";

  std::map<double, int> pointsByPlane;
  std::istringstream lines(output.substr(output.rfind("Point\tSections-4\n")));
  std::string line;
  std::getline(lines, line);
  std::getline(lines, line);  // the object's count, first and last point
  double x = 0, y = 0, z = 0;
  while (lines >> x >> y >> z) {
    const double plane = std::round(x * 50) / 50;  // the planes are 0.02 apart
    EXPECT_NEAR(x, plane, 1e-9);
    EXPECT_NEAR(z, kTopFace + kEmulatorBallRadius, 1e-9);
    EXPECT_GT(y, 0.0);
    ++pointsByPlane[plane];
  }
  // Five strokes; the first starts from the first sample of the run, which joins nothing.
  EXPECT_EQ(pointsByPlane, (std::map<double, int>{{0.04, 4}, {0.06, 4}, {0.08, 4}})) << output;
}

// The example's script with each of the edits made (text, replacement), written where the host can read it.
std::string editedScript(const std::vector<std::pair<std::string, std::string>>& edits,
                         const ScratchDirectory& scratch) {
  std::string script = readFile(kProject + "/examples/sections.script");
  for (const auto& [text, replacement] : edits) {
    const size_t at = script.find(text);
    EXPECT_NE(at, std::string::npos) << text;
    if (at != std::string::npos) script.replace(at, text.size(), replacement);
  }
  scratch.write("sections.script", script);
  return scratch.system("sections.script");
}

// The heights of the first and last points of every curve "print document" shows.
std::vector<double> curveEndHeights(const std::string& output) {
  std::vector<double> heights;
  std::istringstream lines(output);
  std::string line;
  double from[3], to[3];
  int count = 0;
  while (std::getline(lines, line)) {
    if (std::sscanf(line.c_str(),
                    "\tcurve\tspline\topen\tpoints %d\tfrom (%lf, %lf, %lf)\tto (%lf, %lf, %lf)", &count,
                    &from[0], &from[1], &from[2], &to[0], &to[1], &to[2]) == 7) {
      heights.push_back(from[2]);
      heights.push_back(to[2]);
    }
  }
  return heights;
}

// The sweep's curves lie on the face whichever side face the planes are picked on, and a tick in "Flip Offset
// Direction", entered as a value, moves them two radii off it and is the setting apply keeps.
TEST(SectionsDemo, TheCurvesLieOnTheFaceForEitherPickAndTheFlipBoxMovesThemTwoRadii) {
  const std::string kPickFar = "mouse click 0.2 0.02 0.005 -1 0 0";
  const std::string kFinish = "\nfinish\n";
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> edits;
    double height;
    int flipSetting;
  };
  const std::vector<Case> cases = {
      {"the face x = 0.1", {}, kTopFace, 0},
      {"the face x = 0", {{kPickFar, "mouse click -0.1 0.02 0.005 1 0 0"}}, kTopFace, 0},
      {"flipped by value",
       {{kFinish, "\nvalue FlipOffset 1\nfinish\n"}},
       kTopFace + 2 * kEmulatorBallRadius,
       1},
  };
  ScratchDirectory scratch;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::pair<std::string, std::string>> edits = c.edits;
    edits.push_back(
        {"print errors", "print settings Palpera/ProbeCrossSection/CurveFlipOffset\nprint errors"});
    int status = -1;
    const std::string output = runTool("--script " + editedScript(edits, scratch), status, kProject);
    ASSERT_EQ(WEXITSTATUS(status), 0) << output;
    const std::vector<double> heights = curveEndHeights(output);
    EXPECT_GE(heights.size(), 4u) << output;
    for (double z : heights) EXPECT_NEAR(z, c.height, 1e-6) << output;
    EXPECT_NE(output.find("CurveFlipOffset\t" + std::to_string(c.flipSetting)), std::string::npos) << output;
  }
}

// "Start Capture" before the base plane is picked is told, and the press is the script's last.
TEST(SectionsDemo, StartCaptureBeforeTheBasePlaneIsPickedIsTold) {
  const std::string pick = "mouse click 0.2 0.02 0.005 -1 0 0 ";
  std::string script = readFile(kProject + "/examples/sections.script");
  const size_t picked = script.find(pick);
  ASSERT_NE(picked, std::string::npos);
  script.erase(picked, script.find('\n', picked) + 1 - picked);
  ScratchDirectory scratch;
  std::ofstream(scratch.system("early.script")) << script;
  int status = -1;
  const std::string output = runTool("--script " + scratch.system("early.script"), status, kProject);
  EXPECT_EQ(WEXITSTATUS(status), 1) << output;
  EXPECT_NE(output.find("error: Pick the base plane of the sections before Start Capture.\n"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("early.script:21: pressing 'StartCapture' failed: 1 error was shown"),
            std::string::npos)
      << output;
}

}  // namespace
