// Sessions of palpera-host in which one touch of a round feature went astray, on a part turned about a skew
// axis and shifted, with the emulator's noise: the feature is refused naming the touch, its points kept, and
// undone back to it the feature is made from the sound touches, uneven as they are.

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "compared_differences.h"
#include "posed_pick.h"
#include "project_script.h"
#include "support/sanitized.h"

namespace {

// Sanitizers slow the fits some fortyfold: every third case still runs each path under them.
constexpr size_t kStrayCaseStride = kSanitized ? 3 : 1;

const Matrix4x4 kStrayPose =
    Matrix4x4::translation({0.3, -0.2, 0.1}) * Matrix4x4::rotation(Vector3(1, 2, 3).normalized(), 0.35);

Vector3 strayDirection(double azimuth, double elevation = 0) {
  return {std::cos(azimuth) * std::cos(elevation), std::sin(azimuth) * std::cos(elevation),
          std::sin(elevation)};
}

// Touches on the wall of the bore about x = 0.05, y = 0.04, each from its axis outwards at its angle and
// height, unevenly spread; the stop lifted off the wall back towards the axis.
std::string boreTouches(const std::vector<std::pair<double, double>>& touches) {
  std::string script;
  for (const auto& [angle, height] : touches)
    script += posedPick(kStrayPose, {0.05, 0.04, height}, strayDirection(angle));
  return script;
}
const std::string kBoreStop =
    posedPick(kStrayPose, {0.05, 0.04, 0.005}, strayDirection(2.5), "move") + kLiftedStop;

// Touches on the countersink about x = 0.05, y = 0.04 (45°, 8 mm across at the top face), each square to its
// cone, from its axis at that height outwards and down; the stop lifted off it back towards the axis.
std::string countersinkTouches(const std::vector<std::pair<double, double>>& touches) {
  std::string script;
  for (const auto& [angle, height] : touches)
    script += posedPick(kStrayPose, {0.05, 0.04, height}, strayDirection(angle, -M_PI / 4));
  return script;
}
const std::string kCountersinkStop =
    posedPick(kStrayPose, {0.05, 0.04, 0.013}, strayDirection(1.0, -M_PI / 4), "move") + kLiftedStop;

// A touch straight down onto the top face, that far from the bore's axis.
std::string onTopFace(double fromAxis, double angle) {
  return posedPick(kStrayPose, {0.05 + fromAxis * std::cos(angle), 0.04 + fromAxis * std::sin(angle), 0.05},
                   {0, 0, -1});
}

// Touches on the sphere of radius 15 mm about (0.02, 0.02, 0.03), each towards its centre from its azimuth
// and elevation; the stop lifted off its top.
std::string sphereTouches(const std::vector<std::pair<double, double>>& touches) {
  std::string script;
  const Vector3 centre{0.02, 0.02, 0.03};
  for (const auto& [azimuth, elevation] : touches) {
    const Vector3 out = strayDirection(azimuth, elevation);
    script += posedPick(kStrayPose, centre + out * 0.03, out * -1);
  }
  return script;
}

// Eight touches on the bore's wall and a ninth on the top face 3 to 10 mm from its rim make a tilted cylinder
// or a swollen rim circle; a touch on the stand under a sphere swells it. Each is refused naming the stray
// touch, which undone, the feature is made on its nominal: the eight sound ones are never refused. The probe
// scatters as the emulator does unless told otherwise, up to 1 per cent of the ball's diameter.
TEST(StrayTouchScript, ARoundFeatureWithATouchOffItIsRefusedNamingTheTouchAndUndoMendsIt) {
  const std::vector<std::pair<double, double>> bore = {{0.1, 0.0015}, {0.7, 0.0075}, {1.6, 0.004},
                                                       {2.2, 0.0085}, {3.0, 0.0025}, {3.9, 0.006},
                                                       {4.8, 0.0035}, {5.6, 0.007}};
  const std::vector<std::pair<double, double>> firstBore(bore.begin(), bore.begin() + 4),
      lastBore(bore.begin() + 4, bore.end());
  const std::vector<std::pair<double, double>> sphere = {{0.2, 0.2}, {1.1, 0.9},  {1.9, 0.35}, {2.6, 1.3},
                                                         {3.4, 0.6}, {4.3, 0.15}, {5.0, 1.0},  {5.9, 0.5}};
  const std::string topFace = onTopFace(0.03, 0.3) + onTopFace(0.03, 2.4) + onTopFace(0.03, 4.2) +
                              posedPick(kStrayPose, {0.08, 0.06, 0.05}, {0, 0, -1}, "move") + kLiftedStop;
  const std::vector<std::pair<double, double>> countersink = {{0.2, 0.0115}, {0.9, 0.015}, {1.5, 0.0125},
                                                              {2.4, 0.016},  {3.1, 0.012}, {3.8, 0.0145},
                                                              {4.6, 0.0135}, {5.5, 0.0155}};
  const std::string sphereStop = posedPick(kStrayPose, {0.02, 0.02, 0.08}, {0, 0, -1}, "move") + kLiftedStop;
  const std::string undoFive = kUndo + kUndo + kUndo + kUndo + kUndo;
  const struct {
    const char *part, *kind, *collector, *nominal, *touchNamed;
    double ball;
    std::string touches, stop, mend;
  } cases[] = {
      {"plate-bore", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01", "touch 9 of 9",
       0.006, boreTouches(bore) + onTopFace(0.013, 1.2), kBoreStop, kUndo + kBoreStop},
      {"plate-bore", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01", "touch 9 of 9",
       0.002, boreTouches(bore) + onTopFace(0.02, 4.0), kBoreStop, kUndo + kBoreStop},
      {"plate-bore", "Arc", "Circle", "circle 0.05 0.04 0.01 0 0 1 0.01", "touch 5 of 9", 0.002,
       topFace + boreTouches(firstBore) + onTopFace(0.015, 0.4) + boreTouches(lastBore), kBoreStop,
       undoFive + boreTouches(lastBore) + kBoreStop},
      {"plate-bore", "Arc", "Circle", "circle 0.05 0.04 0.01 0 0 1 0.01", "touch 9 of 9", 0.006,
       topFace + boreTouches(bore) + onTopFace(0.016, 5.0), kBoreStop, kUndo + kBoreStop},
      {"sphere-on-stand", "Sphere", "Sphere", "sphere 0.02 0.02 0.03 0.015", "touch 1 of 9", 0.006,
       posedPick(kStrayPose, {0.004, 0.004, 0.05}, {0, 0, -1}) + sphereTouches(sphere), sphereStop,
       undoFive + kUndo + kUndo + kUndo + kUndo + sphereTouches(sphere) + sphereStop},
      {"sphere-on-stand", "Sphere", "Sphere", "sphere 0.02 0.02 0.03 0.015", "touch 9 of 9", 0.002,
       sphereTouches(sphere) + posedPick(kStrayPose, {0.002, 0.03, 0.05}, {0, 0, -1}), sphereStop,
       kUndo + sphereStop},
      {"plate-countersink", "Cone", "Cone", "cone 0.05 0.04 0.006 0.05 0.04 0.01 0.004 0.008", "touch 9 of 9",
       0.002, countersinkTouches(countersink) + onTopFace(0.011, 2.0), kCountersinkStop,
       kUndo + kCountersinkStop},
      {"plate-countersink", "Cone", "Cone", "cone 0.05 0.04 0.006 0.05 0.04 0.01 0.004 0.008", "touch 9 of 9",
       0.006, countersinkTouches(countersink) + onTopFace(0.015, 3.5), kCountersinkStop,
       kUndo + kCountersinkStop},
  };
  for (size_t i = 0; i < std::size(cases); i += kStrayCaseStride) {
    const auto& c = cases[i];
    SCOPED_TRACE(std::string(c.part) + " " + c.kind + " ball " + std::to_string(c.ball) + " " + c.touchNamed);
    std::string pose;
    for (const double value : kStrayPose.m) pose += numbers({value});
    const ScriptRun run = runProjectScript(
        "cad-load RefObject examples/parts/" + std::string(c.part) + ".step\ntransform RefObject" + pose +
        "\nstart\nset Palpera/Emulator/ProbeDiameter" + numbers({c.ball}) +
        "\ncommand PalperaCreateFeaturesCmd2 IZelFeature=IZel" + c.kind +
        ",IZelFeatureCollector=" + c.collector + ",UsePlane=false\n" + kRadiusEvent + c.touches + c.stop +
        "print document\n" + c.mend + "feature RefObject " + c.nominal + "\ncompare TestObject RefObject\n");
    EXPECT_EQ(run.status, 0) << run.output;
    std::string kindWord = c.collector;
    kindWord[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(kindWord[0])));
    const std::string notMade = "error: " + std::string(c.collector) + " was not made: ";
    size_t refused = run.output.find(notMade + c.touchNamed + " lies ");
    std::string words = " mm off the " + kindWord + " the other touches make; undo back to it and probe on.";
    if (refused == std::string::npos && kindWord == "cone") {
      // Scattered as the emulator scatters a 6 mm ball's touches (its seed is the clock's second), a cone's
      // two spare touches may bend round the stray one: a cone some degrees steeper or flatter fits them as
      // well as the true one fits the sound touches. Then the touch furthest off the cone of them all is
      // told, and undoing the stray one mends it.
      refused = run.output.find(notMade + "the touches do not lie on one cone: touch ");
      words = " mm off the cone through them all, the furthest of any; undo the stray touch or add touches.";
    }
    ASSERT_NE(refused, std::string::npos) << run.output;
    const size_t told = run.output.find(words + " Its points are kept.\n", refused);
    EXPECT_NE(told, std::string::npos) << run.output;
    // Nothing was made at the refused stop, and nothing else was refused.
    EXPECT_NE(run.output.find("\nCAD\tRefObject\nPoint\tFeature Object\n\tvalue\tfitted", told),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("error: ", refused + 1), std::string::npos) << run.output;
    EXPECT_GE(expectDifferencesWithin(run.output, 8e-4, 0.12), 2) << run.output;
  }
}

}  // namespace
