// Nothing an operator probed is let go without a word, on the bolt-circle plate turned about a skew axis and
// shifted: touches applied without a stop, a bolt pattern ended after two holes, and the standard deviation
// of a plane made through two faces.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <fstream>
#include <string>

#include "basic_types/matrix4x4.h"
#include "compared_differences.h"
#include "emulator_script.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

TEST(DroppedTouchesScript, AppliedTouchesAreMadeOrToldAShortBoltPatternKeepsItsCirclesAndTheTileShowsTheFit) {
  const Matrix4x4 pose =
      Matrix4x4::translation({0.3, -0.2, 0.1}) * Matrix4x4::rotation(Vector3(1, 2, 3).normalized(), 0.35);
  std::string script =
      "cad-load RefObject " + kProject + "/examples/parts/plate-bolt-circle.step\ntransform RefObject";
  for (double value : pose.m) script += numbers({value});
  script +=
      "\nset DefaultFileNameDirectory/common " + kProject +
      "/examples\nstart\nset Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter 0.002\n";
  // The emulator's picks, given in the part's coordinates, placed with it.
  const auto mouse = [&](const char* action, const Vector3& at, const Vector3& along) {
    const Vector3 o = Matrix4x4::transformPoint(pose, at), d = Matrix4x4::transformVector(pose, along);
    script += std::string("mouse ") + action + numbers({o.x, o.y, o.z, d.x, d.y, d.z}) + "\n";
  };
  const auto touch = [&](const Vector3& at, const Vector3& along) {
    mouse("click", at, along);
    script += kSampled;
  };
  const auto touchTop = [&] {
    for (const auto& [x, y] : {std::pair{0.015, 0.015}, {0.105, 0.015}, {0.015, 0.105}})
      touch({x, y, .05}, {0, 0, -1});
  };
  const auto touchFront = [&] {
    for (const double x : {0.03, 0.09}) touch({x, -0.05, 0.005}, {0, 1, 0});
  };
  const auto hole = [&](double x, double y) {  // from the axis outwards, the stop lifted back towards it
    for (const double degrees : {10, 130, 250})
      touch({x, y, .005}, {std::cos(degrees * M_PI / 180), std::sin(degrees * M_PI / 180), 0});
    mouse("move", {x, y, .005}, {1, 0, 0});
    script += kLiftedStop;
  };
  const std::string plane =
      "command PalperaCreateFeaturesCmd2 IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false\n" +
      kRadiusEvent;
  const std::string deviation = "print settings Palpera/Tile/FeatureStandardDeviation\n";
  // "Hard Probe Features" cannot tell the side without the stop; "Quick Probe" takes it from the nominal.
  script += plane;
  touchTop();
  script += "apply\nactive RefObject\ncommand PalperaQuickProbeCmd\n" + kRadiusEvent;
  touchTop();
  touchFront();
  script += "apply\n" + plane;
  touchTop();
  touchFront();  // on the plane of the top face: a poor fit, to be read on the tile
  mouse("move", {0.06, 0.06, 0.05}, {0, 0, -1});
  script += deviation + kLiftedStop + deviation +
            "cancel\ncommand PalperaCreateFeaturesCmd2 "
            "IZelFeature=IZelArc,IZelFeatureCollector=BoltPatternCircle,UsePlane=false\n" +
            kRadiusEvent;
  touchTop();
  script += kLiftedStop;
  hole(0.1, 0.06);
  hole(0.08, 0.06 + 0.04 * std::sin(M_PI / 3));
  script +=
      "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n"
      "print settings \"Palpera/Hard Probe Features In Command\"\n"
      "feature RefObject circle 0.1 0.06 0.01 0 0 1 0.004\n"
      "feature RefObject circle 0.08 0.0946410161513775 0.01 0 0 1 0.004\ncompare TestObject RefObject\n";

  ScratchDirectory scratch;
  std::ofstream(scratch.system("session.script")) << script;
  int status = -1;
  const std::string output = runTool("--script session.script", status, scratch.system());
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  for (const std::string line :
       {"error: 3 touches were not made into a feature: the run ended before the stop that makes it and "
        "tells the "
        "side the probe came from.\n",
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
