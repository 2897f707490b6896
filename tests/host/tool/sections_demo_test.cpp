#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"

namespace {

const std::string kProject = std::filesystem::path(PALPERA_TEST_SOURCE_DIR).parent_path().string();
// The plate's top face and the emulator's tip radius.
constexpr double kTopFace = 0.01;
constexpr double kRadius = 0.003;

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
  double x = 0, y = 0, z = 0;
  while (lines >> x >> y >> z) {
    const double plane = std::round(x * 50) / 50;  // the planes are 0.02 apart
    EXPECT_NEAR(x, plane, 1e-9);
    EXPECT_NEAR(z, kTopFace + kRadius, 1e-9);
    EXPECT_GT(y, 0.0);
    ++pointsByPlane[plane];
  }
  // Five strokes; the first starts from the first sample of the run, which joins nothing.
  EXPECT_EQ(pointsByPlane, (std::map<double, int>{{0.04, 4}, {0.06, 4}, {0.08, 4}})) << output;
}

}  // namespace
