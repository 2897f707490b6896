// The example script of real-time deviation run as a person runs it: the emulator probing the plate with a
// bore from examples/parts, and what the script prints and exports.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// In millimetres, as the file and the table give them: a micrometre.
constexpr double kMicrometre = 1e-3;
// The emulator's lift: the golden ratio's reciprocal times the 3 mm radius.
const double kLift = 3 * 2 / (std::sqrt(5.0) + 1);

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

struct ExportedPoint {
  std::string label;
  double x, y, z, deviation;
  std::string state;
};

ExportedPoint parse(const std::string& line) {
  std::vector<std::string> fields = split(line, ',');
  EXPECT_EQ(fields.size(), 6u) << line;
  fields.resize(6);
  for (size_t i = 1; i < fields.size(); ++i) fields[i] = fields[i].substr(1);  // the blank after ", "
  return {fields[0],
          std::stod("0" + fields[1]),
          std::stod("0" + fields[2]),
          std::stod("0" + fields[3]),
          std::stod("0" + fields[4]),
          fields[5]};
}

TEST(DeviationDemo, ThreePointsOnThePlateWithABoreAreRecordedShownAndExported) {
  ScratchDirectory scratch;
  std::filesystem::create_directories(scratch.system("examples/parts"));
  std::filesystem::create_directory(scratch.system("build"));
  std::filesystem::copy(kProject + "/examples/materials", scratch.system("examples/materials"));
  std::filesystem::copy(kProject + "/examples/parts/plate-bore.step", scratch.system("examples/parts"));
  int status = -1;
  const std::string output =
      runTool("--script " + kProject + "/examples/deviation.script", status, scratch.system());
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;

  std::vector<std::string> lines = split(output, '\n');
  ASSERT_EQ(lines.size(), 11u) << output;
  EXPECT_EQ(lines[0], "RefObject: unit metre, 1 solid, 8 faces, size 0.1 x 0.08 x 0.01 m");
  lines.erase(lines.begin());
  EXPECT_NEAR(std::stod(split(lines[0], '\t').at(1)), 0, 1e-6) << "the move over the top face";
  EXPECT_EQ(lines[2], "Palpera/Tile/RealTimeDeviationStatus\t1");
  EXPECT_EQ(lines[3], "Label\tDeviation\tPass/Fail");
  EXPECT_EQ(lines[4], "Pt1\t0.000 mm\tPASS");
  EXPECT_EQ(lines[5].substr(0, 4), "Pt2\t");
  EXPECT_EQ(lines[5].substr(lines[5].size() - 4), "PASS") << "on the true cylinder, not its facets";
  EXPECT_EQ(lines[6], "Pt3\t1.854 mm\tFAIL");

  const std::vector<std::string> file = split(scratch.read("build/deviation.csv"), '\n');
  ASSERT_EQ(file.size(), 3u);
  for (const std::string& line : file) EXPECT_EQ(line.back(), '\r') << "CR LF";
  const ExportedPoint top = parse(file[0]), wall = parse(file[1]), lifted = parse(file[2]);
  EXPECT_EQ(top.label, "Pt1");
  EXPECT_NEAR(top.x, 20, kMicrometre);
  EXPECT_NEAR(top.y, 20, kMicrometre);
  EXPECT_NEAR(top.z, 10, kMicrometre);
  EXPECT_NEAR(top.deviation, 0, kMicrometre);
  EXPECT_EQ(top.state, "PASS\r");
  EXPECT_EQ(wall.label, "Pt2");
  EXPECT_NEAR(std::hypot(wall.x - 50, wall.y - 40), 10, kMicrometre)
      << "the contact point on the bore's wall";
  EXPECT_NEAR(wall.deviation, 0, kMicrometre);
  EXPECT_EQ(wall.state, "PASS\r");
  EXPECT_EQ(lifted.label, "Pt3");
  EXPECT_NEAR(lifted.x, 80, kMicrometre);
  EXPECT_NEAR(lifted.y, 60, kMicrometre);
  EXPECT_NEAR(lifted.z, 10 + kLift, kMicrometre);
  EXPECT_NEAR(lifted.deviation, kLift, kMicrometre);
  EXPECT_EQ(lifted.state, "FAIL\r");
}

}  // namespace
