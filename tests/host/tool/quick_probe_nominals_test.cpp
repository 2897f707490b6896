// Sessions of palpera-host in which "Quick Probe" measures features of a part turned and shifted in the
// world, with balls of 2 and 6 mm and the emulator's touches a few micrometres off: each probed feature
// named after the nominal it stands for, and the touches down a bore or a countersink taken for it, not for
// its rim.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "emulator_script.h"
#include "posed_pick.h"
#include "printed_document.h"
#include "project_script.h"
#include "support/sanitized.h"

namespace {

const Matrix4x4 kPose = Matrix4x4::translation({0.35, -0.2, 0.6}) * Matrix4x4::rotation({1, 2, 3}, 0.7);
const std::string kQuickProbe = "active RefObject\ncommand PalperaQuickProbeCmd\n" + kRadiusEvent;

double radians(double degrees) {
  return degrees * M_PI / 180;
}

// The balls a case is probed with: both, or under a sanitizer, which slows each session some fortyfold, the
// two by turns.
std::vector<double> ballsFor(std::ptrdiff_t caseIndex) {
  if (!kSanitized) return {0.002, 0.006};
  return {caseIndex % 2 ? 0.006 : 0.002};
}

// The part as the reference object, placed by kPose, the emulator's ball of that diameter; then the lines.
std::string session(const char* part, double ball, const std::string& lines) {
  std::string script =
      std::string("cad-load RefObject examples/parts/") + part + ".step\ntransform RefObject";
  for (const double value : kPose.m) script += numbers({value});
  return script + "\nstart\nset Palpera/Emulator/MaxNoiseFactor 0.001\nset Palpera/Emulator/ProbeDiameter" +
         numbers({ball}) + "\n" + lines;
}

// Touches of a round wall about the vertical axis through (x, y): rays from the axis outwards, at each
// angle in turn at the next height; then the stop, lifted off the last.
std::string aroundAxis(double x, double y, const std::vector<double>& degrees, const std::vector<double>& z) {
  std::string touches;
  for (size_t i = 0; i < degrees.size(); ++i) {
    const double a = radians(degrees[i]);
    touches += posedPick(kPose, {x, y, z[i % z.size()]}, {std::cos(a), std::sin(a), 0});
  }
  return touches + kLiftedStop;
}

// Three touches of the top face (z = 0.01) from above, then the stop lifted over it.
std::string topFace(std::initializer_list<std::array<double, 2>> at) {
  std::string touches;
  for (const auto& [x, y] : at) touches += posedPick(kPose, {x, y, 0.05}, {0, 0, -1});
  return touches + kLiftedStop;
}

// Touches of a rail's round about the line along x through (y, z), from outside square to it, spread along
// the rail and over the round's angles from the first (from +y towards +z); then the stop, lifted off the
// last.
std::string roundTouches(double y, double z, const std::vector<double>& degrees, double first) {
  std::string touches;
  for (size_t i = 0; i < degrees.size(); ++i) {
    const double a = radians(first + degrees[i]);
    const Vector3 out{0, std::cos(a), std::sin(a)};
    touches += posedPick(kPose, Vector3{0.015 + 0.01 * i, y, z} + out * 0.02, out * -1.0);
  }
  return touches + kLiftedStop;
}

// Each "name", then each of its "\tvalue\t...\tdifference" lines, as `compare` prints them: the difference
// of the value by feature name and value.
std::map<std::string, std::map<std::string, double>> comparedOf(const std::string& output) {
  std::map<std::string, std::map<std::string, double>> compared;
  std::istringstream lines(output.substr(output.find("\tvalue\tfitted\tnominal\tdifference\n")));
  std::string line, name;
  std::getline(lines, line);
  while (std::getline(lines, line) && !line.empty()) {
    if (line[0] != '\t') {
      name = line;
      continue;
    }
    const size_t unit = line.rfind(' '), tab = line.rfind('\t', unit);
    if (unit == std::string::npos || (line.substr(unit + 1) != "m" && line.substr(unit + 1) != "rad")) break;
    compared[name][line.substr(1, line.find('\t', 1) - 1)] = std::stod(line.substr(tab + 1, unit - tab - 1));
  }
  return compared;
}

// Each error the host reported, as it prints them: on a line of its own after "error: ".
std::vector<std::string> errorsOf(const std::string& output) {
  std::vector<std::string> errors;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("error: ")) errors.push_back(line.substr(7));
  }
  return errors;
}

std::vector<std::string> namesOf(const std::vector<PrintedFeature>& features) {
  std::vector<std::string> names;
  for (const PrintedFeature& feature : features) names.push_back(feature.name);
  return names;
}

}  // namespace

// A probed feature takes the name of the reference feature nearest in size that passes the place test,
// however far off its size (a bore 1.2 mm over or under its nominal is that bore and shows by how much), and
// never the name of a nominal another probed feature stands for (two equal fillets 5.79 mm apart on a rail);
// one that matches none is named as no nominal is, and when its own nominal is a reference feature already,
// the operator is told. "RefObject" never holds two features of one name.
TEST(QuickProbeNominals, EachProbedFeatureIsNamedAfterTheNominalItStandsFor) {
  const double kFilletY[] = {0.027105, 0.032895}, kFilletZ = 0.016321;
  // Over most of each round's quarter, the ends and the middle taken in turn along the rail.
  const std::vector<double> kFilletAngles{10, 80, 45, 10, 80, 45, 25, 65};
  const std::string bore = aroundAxis(0.03, 0.04, {20, 60, 100, 200, 250, 300}, {0.0015, 0.005, 0.0085});
  const struct Case {
    const char* what;
    const char* part;
    std::string lines;
    std::vector<std::string> probed, nominals;  // the names each object holds afterwards
    std::string told;
    double radiusOff;  // by which `compare` finds each probed radius off its nominal's
  } cases[] = {
      {"equal fillets",
       "plate-filleted-rail",
       kQuickProbe + roundTouches(kFilletY[0], kFilletZ, kFilletAngles, 90) +
           roundTouches(kFilletY[1], kFilletZ, kFilletAngles, 0) + "cancel\n",
       {"Cylinder 1", "Cylinder 2"},
       {"Cylinder 1", "Cylinder 2"},
       "",
       0},
      {"the bore 1.2 mm over its nominal",
       "plate-bore-boss",
       "feature RefObject cylinder 0.085 0.04 0.01 0.085 0.04 0.025 0.015\n"
       "feature RefObject cylinder 0.03 0.04 0 0.03 0.04 0.01 0.0088\n" +
           kQuickProbe + bore + "cancel\n",
       {"Cylinder 2"},
       {"Cylinder 1", "Cylinder 2"},
       "",
       0.0012},
      {"the bore 1.2 mm under its nominal",
       "plate-bore-boss",
       "feature RefObject cylinder 0.085 0.04 0.01 0.085 0.04 0.025 0.015\n"
       "feature RefObject cylinder 0.03 0.04 0 0.03 0.04 0.01 0.0112\n" +
           kQuickProbe + bore + "cancel\n",
       {"Cylinder 2"},
       {"Cylinder 1", "Cylinder 2"},
       "",
       -0.0012},
      {"the bore again, its nominal out of the place tolerance",
       "plate-bore-boss",
       kQuickProbe + bore + "cancel\nset Palpera/FeatureMatching/MaxDistance 0.000000001\n" + kQuickProbe +
           bore + "cancel\n",
       {"Cylinder 1", "Cylinder 2"},
       {"Cylinder 1"},
       "The probed Cylinder 1 matches no reference feature; it is added as Cylinder 2.",
       0},
  };
  for (const Case& c : cases) {
    for (const double ball : ballsFor(&c - cases)) {
      SCOPED_TRACE(std::string(c.what) + ", ball " + std::to_string(ball));
      // Compared first, as `compare` pairs the features by name; a feature that has no nominal of its name
      // cannot be.
      const ScriptRun run = runProjectScript(
          session(c.part, ball,
                  c.lines + (c.told.empty() ? "compare TestObject RefObject\n" : "") + "print document\n"));
      ASSERT_EQ(run.status, 0) << run.output;
      const auto document = documentOf(run.output.substr(run.output.find("CAD\tRefObject")));
      ASSERT_EQ(namesOf(document.at("Feature Object")), c.probed) << run.output;
      EXPECT_EQ(namesOf(document.at("RefObject")), c.nominals) << run.output;
      EXPECT_EQ(errorsOf(run.output), c.told.empty() ? std::vector<std::string>{} : std::vector{c.told})
          << run.output;
      if (!c.told.empty()) continue;
      // Each beside the nominal it stands for: where a fillet lies, 5.79 mm from the other's, and by how
      // much the bore is off its nominal's size. (Its axis leans by the noise of six touches.)
      for (const auto& [name, values] : comparedOf(run.output)) {
        SCOPED_TRACE(name);
        EXPECT_NEAR(values.at("axis point"), 0, 2e-4);
        EXPECT_NEAR(values.at("radius"), c.radiusOff, 2e-4);
      }
    }
  }
}

// A touch counts towards a rim only where the ball touches the part within a small band of the edge,
// whatever its size: on the wall square to the plane half a millimetre below the rim, not down a bore nor
// anywhere on a countersink's cone, whose touches make the cylinder or the cone. The top plane is known
// first, probed or a reference feature of an earlier session.
TEST(QuickProbeNominals, OnlyTouchesWithinTheRimsBandMakeItsCircle) {
  const std::string plateTop = topFace({{{0.005, 0.01}}, {{0.055, 0.012}}, {{0.06, 0.07}}});
  const std::string sinksTop = topFace({{{0.005, 0.005}}, {{0.06, 0.05}}, {{0.115, 0.01}}});
  const std::vector<double> around{0, 45, 90, 135, 180, 225, 270, 315}, sinkDepths{0.5, 1.5, 2.5, 3.5};
  std::vector<double> sinkHeights, deepHeights{0.008, 0.0072, 0.0064, 0.0056};
  for (const double depth : sinkDepths) sinkHeights.push_back(0.01 - depth / 1000);
  const struct Case {
    const char* what;
    const char* part;
    std::string lines;
    std::string kind;  // of the last feature made
    const char* field;
    double size;
  } cases[] = {
      {"the 90 degree countersink", "plate-countersinks",
       kQuickProbe + sinksTop + aroundAxis(0.03, 0.03, around, sinkHeights), "Cone", "half-angle",
       radians(45)},
      {"the 82 degree countersink", "plate-countersinks",
       kQuickProbe + sinksTop + aroundAxis(0.09, 0.03, around, sinkHeights), "Cone", "half-angle",
       radians(41)},
      {"the bore 2 to 4.4 mm below its rim", "plate-bore-boss",
       kQuickProbe + plateTop + aroundAxis(0.03, 0.04, around, deepHeights), "Cylinder", "radius", 0.01},
      {"the bore's wall half a millimetre below its rim", "plate-bore-boss",
       kQuickProbe + plateTop + aroundAxis(0.03, 0.04, {20, 60, 100, 200, 250, 300}, {0.0095}), "Circle",
       "radius", 0.01},
      {"the bore's wall below the rim beside the reference's plane", "plate-bore-boss",
       kQuickProbe + plateTop + "cancel\n" + kQuickProbe +
           aroundAxis(0.03, 0.04, {20, 60, 100, 200, 250, 300}, {0.0095}),
       "Circle", "radius", 0.01},
  };
  for (const Case& c : cases) {
    for (const double ball : ballsFor(&c - cases)) {
      SCOPED_TRACE(std::string(c.what) + ", ball " + std::to_string(ball));
      const ScriptRun run = runProjectScript(session(c.part, ball, c.lines + "cancel\nprint document\n"));
      ASSERT_EQ(run.status, 0) << run.output;
      EXPECT_EQ(errorsOf(run.output), std::vector<std::string>{}) << run.output;
      const std::vector<PrintedFeature> made = documentOf(run.output).at("Feature Object");
      ASSERT_EQ(made.size(), 2u) << run.output;
      EXPECT_EQ(made.back().kind, c.kind) << run.output;
      ASSERT_EQ(made.back().fields.count(c.field), 1u) << run.output;
      // Within a hundredth: far closer than the two countersinks, or a rim circle and its bore, are alike.
      EXPECT_NEAR(made.back().fields.at(c.field).at(0), c.size, c.size / 100) << run.output;
    }
  }
}
