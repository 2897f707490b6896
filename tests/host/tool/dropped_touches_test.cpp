// Nothing an operator probed is let go without a word, on the bolt-circle plate turned about a skew axis and
// shifted: touches applied without a stop, a bolt pattern ended after two holes, and the standard deviation
// of a plane made through two faces.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "compared_differences.h"
#include "posed_pick.h"
#include "project_script.h"

TEST(DroppedTouchesScript, AppliedTouchesAreMadeOrToldAShortBoltPatternKeepsItsCirclesAndTheTileShowsTheFit) {
  const Matrix4x4 pose =
      Matrix4x4::translation({0.3, -0.2, 0.1}) * Matrix4x4::rotation(Vector3(1, 2, 3).normalized(), 0.35);
  std::string script = "cad-load RefObject examples/parts/plate-bolt-circle.step\ntransform RefObject", top,
              front;
  for (double value : pose.m) script += numbers({value});
  for (const auto& [x, y] : {std::pair{0.015, 0.015}, {0.105, 0.015}, {0.015, 0.105}})
    top += posedPick(pose, {x, y, .05}, {0, 0, -1});
  for (const double x : {0.03, 0.09}) front += posedPick(pose, {x, -0.05, 0.005}, {0, 1, 0});
  const auto hole = [&](double x, double y) {  // from the axis outwards, the stop lifted back towards it
    std::string touches;
    for (const double a : {10 * M_PI / 180, 130 * M_PI / 180, 250 * M_PI / 180})
      touches += posedPick(pose, {x, y, .005}, {std::cos(a), std::sin(a), 0});
    return touches + posedPick(pose, {x, y, .005}, {1, 0, 0}, "move") + kLiftedStop;
  };
  const std::string plane =
      "command PalperaCreateFeaturesCmd2 IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false\n" +
      kRadiusEvent;
  const std::string deviation = "print settings Palpera/Tile/FeatureStandardDeviation\n";
  // "Hard Probe Features" cannot tell the side without the stop; "Quick Probe" takes it from the nominal.
  // Plane 2's front touches lie off the top face's plane: a poor fit, to be read on the tile.
  script +=
      "\nstart\nset Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter 0.002\n" + plane +
      top + "apply\nactive RefObject\ncommand PalperaQuickProbeCmd\n" + kRadiusEvent + top + front +
      "apply\n" + plane + top + front + posedPick(pose, {0.06, 0.06, 0.05}, {0, 0, -1}, "move") + deviation +
      kLiftedStop + deviation +
      "cancel\ncommand PalperaCreateFeaturesCmd2 "
      "IZelFeature=IZelArc,IZelFeatureCollector=BoltPatternCircle,UsePlane=false\n" +
      kRadiusEvent + top + kLiftedStop + hole(0.1, 0.06) + hole(0.08, 0.06 + 0.04 * std::sin(M_PI / 3)) +
      "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n"
      "print settings \"Palpera/Hard Probe Features In Command\"\n"
      "feature RefObject circle 0.1 0.06 0.01 0 0 1 0.004\n"
      "feature RefObject circle 0.08 0.0946410161513775 0.01 0 0 1 0.004\ncompare TestObject RefObject\n";
  const auto [status, output] = runProjectScript(script);
  ASSERT_EQ(status, 0) << output;
  for (const std::string line :
       {"error: 3 touches were not made into a feature: the run ended before the stop that makes it and "
        "tells "
        "the side the probe came from.\n",
        "error: 2 touches were not made into Plane 2: 1 more point is needed.\n",
        "error: Circle was not made: 3 circles are needed. The 2 bolt circles probed are kept as features of "
        "their own.\n",
        "Palpera/Hard Probe Features In Command\t0\n"})
    EXPECT_NE(output.find(line), std::string::npos) << line << output;
  // The made plane's deviation from its points is the trial fit's through the five touches: a number.
  const std::string key = "Palpera/Tile/FeatureStandardDeviation\t";
  const size_t trial = output.find(key), made = output.find(key, trial + 1);
  ASSERT_NE(made, std::string::npos) << output;
  const double shown = std::stod(output.substr(trial + key.size()));
  EXPECT_TRUE(shown > 1e-3 && shown < 0.1) << output;
  EXPECT_NEAR(std::stod(output.substr(made + key.size())), shown, 1e-9) << output;
  // The Quick Probe plane on the top face (two values) and both bolt circles (three each) on their nominals.
  EXPECT_EQ(expectDifferencesWithin(output, 1e-6), 8) << output;
}
