#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "compared_differences.h"
#include "emulator_script.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// Three emulator picks on a face of the box, seen along the ray (DX, DY, DZ) from the points given, then the
// stop point taken off the face and the emulator's stop key.
std::string probedPlane(const char* picks[3], const char* stop) {
  std::string script =
      "command PalperaCreateFeaturesCmd2 "
      "IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false\n" +
      kRadiusEvent;
  for (int i = 0; i < 3; ++i) script += std::string("mouse click ") + picks[i] + "\n" + kSampled;
  return script + "mouse move " + stop + "\n" + kLiftedStop;
}

// "Hard Probe Features" as an operator runs it: the hard-probe emulator probes faces of the reference box,
// each run's planes lie on the true faces once the probe radius is taken off, an applied run keeps its plane
// and a cancelled one takes back exactly its own.
TEST(HardProbeFeaturesScript, TheEmulatorProbesPlanesOnTheBoxAndCancelTakesBackOnlyItsRunsPlane) {
  const char* top[3] = {"1 2 10 0 0 -1", "-2 1 10 0 0 -1", "0 -3 10 0 0 -1"};
  const char* side[3] = {"10 1 -0.5 -1 0 0", "10 -2 -0.2 -1 0 0", "10 3 -0.8 -1 0 0"};
  ScratchDirectory scratch;
  std::ofstream(scratch.system("session.script"))
      << "cad-box RefObject -5 -5 -1 5 5 0\n"
      << "set DefaultFileNameDirectory/common " << kProject << "/examples\n"
      << "start\nset Palpera/Emulator/MaxNoiseFactor 0\n"
      << probedPlane(top, "0 0 10 0 0 -1") << "apply\n"
      << "print settings \"Palpera/Hard Probe Features In Command\"\n"
      << probedPlane(side, "10 0 -0.5 -1 0 0") << "print document\ncancel\nprint document\nprint errors\n";
  int status = -1;
  const std::string output = runTool("--script session.script", status, scratch.system());
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  const std::string creator = "creator a8891a8a-641b-465b-873d-1057abb60795\tpoints 3\n";
  const std::string topPlane =
      "\tPlane\tPlane 1\tvisible\tcentre (-0.333333, 0, 0)\tnormal (0, 0, 1)\t" + creator;
  const std::string sidePlane =
      "\tPlane\tPlane 2\tvisible\tcentre (5, 0.666667, -0.5)\tnormal (1, 0, 0)\t" + creator;
  const std::string objects = "CAD\tRefObject\nPoint\tFeature Object\n";
  EXPECT_EQ(output, "Palpera/Hard Probe Features In Command\t0\n" + objects + topPlane + sidePlane + objects +
                        topPlane);
}

// A bore probed from its axis outwards, eight picks at rising heights around the wall: the cylinder is the
// nominal bore, so the probe radius went outwards, away from the stop point on the axis.
TEST(HardProbeFeaturesScript, TheEmulatorProbesTheBoreOfThePlateAtItsNominalAxisAndDiameter) {
  ScratchDirectory scratch;
  std::ofstream script(scratch.system("session.script"));
  script << "cad-load RefObject " << kProject << "/examples/parts/plate-bore.step\n"
         << "set DefaultFileNameDirectory/common " << kProject << "/examples\n"
         << "start\nset Palpera/Emulator/MaxNoiseFactor 0\n"
         << "command PalperaCreateFeaturesCmd2 "
            "IZelFeature=IZelCylinder,IZelFeatureCollector=Cylinder,UsePlane=false\n"
         << kRadiusEvent;
  for (int i = 0; i < 8; ++i) {
    const double angle = 2 * M_PI * i / 8 + .3;
    script << "mouse click 0.05 0.04 " << .002 + .0008 * i << " " << std::cos(angle) << " " << std::sin(angle)
           << " 0\n"
           << kSampled;
  }
  script << "mouse move 0.05 0.04 0.009 0 1 0\n" << kLiftedStop << "print document\napply\n";
  script.close();
  int status = -1;
  const std::string output = runTool("--script session.script", status, scratch.system());
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NE(
      output.find("\tCylinder\tCylinder 1\tvisible\tstart (0.05, 0.04, 0.002)\tend (0.05, 0.04, 0.0076)\t"
                  "axis (0, 0, 1)\tradius 0.01\t"),
      std::string::npos)
      << output;
}

// A stop the feature cannot be made from keeps the run and every touch, and says why, naming the feature:
// six bore touches around it at alternate heights lie on more than one cylinder, and a ball that came into
// them 45 degrees up and down by turns says nothing of which; a sphere needs a fourth touch. One more touch
// and another stop make the nominal feature; a stop with no touch then ends the run.
TEST(HardProbeFeaturesScript, ARefusedStopKeepsTheTouchesAndSaysWhatTheFeatureNeeds) {
  struct Case {
    const char* part;
    const char* kind;
    std::vector<std::string> touches;
    std::string lastTouch;
    const char* nominal;
    const char* refusal;
  };
  std::vector<std::string> alternateHeights;
  for (int i = 0; i < 6; ++i) {
    const double angle = i * M_PI / 3, height = i % 2 ? .007 : .003;
    const double slant = i % 2 ? 1 : -1;  // 45 degrees up and down by turns
    alternateHeights.push_back("0.05 0.04 " + std::to_string(height - 0.01 * slant) + " " +
                               std::to_string(std::cos(angle)) + " " + std::to_string(std::sin(angle)) + " " +
                               std::to_string(slant));
  }
  const Case cases[] = {
      {"plate-bore.step", "IZelFeature=IZelCylinder,IZelFeatureCollector=Cylinder", alternateHeights,
       "0.05 0.04 0.005 0.5 0.866025 0", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01",
       "Cylinder was not made: the points fit cylinders along distinct axes equally well, so they do not "
       "determine its axis: spread the touches along the axis. Its points are kept.\n"},
      {"sphere-on-stand.step",
       "IZelFeature=IZelSphere,IZelFeatureCollector=Sphere",
       {"0.06 0.02 0.03 -1 0 0", "0.02 0.06 0.03 0 -1 0", "-0.02 0.02 0.03 1 0 0"},
       "0.02 0.02 0.07 0 0 -1",
       "sphere 0.02 0.02 0.03 0.015",
       "Sphere was not made: 1 more point is needed. Its points are kept.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.part);
    ScratchDirectory scratch;
    std::ofstream script(scratch.system("session.script"));
    script << "cad-load RefObject " << kProject << "/examples/parts/" << c.part << "\n"
           << "set DefaultFileNameDirectory/common " << kProject << "/examples\n"
           << "start\nset Palpera/Emulator/MaxNoiseFactor 0\n"
           << "command PalperaCreateFeaturesCmd2 " << c.kind << ",UsePlane=false\n"
           << kRadiusEvent;
    for (const std::string& touch : c.touches) script << "mouse click " << touch << "\n" << kSampled;
    script << kLiftedStop << "print document\nprint errors\nprint dialogs\n"
           << "mouse click " << c.lastTouch << "\n"
           << kSampled << kLiftedStop << "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n"
           << "feature RefObject " << c.nominal << "\ncompare TestObject RefObject\n";
    script.close();
    int status = -1;
    const std::string output = runTool("--script session.script", status, scratch.system());
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    // The document without a feature, and the error the operator was shown (also on standard error).
    const std::string refused = "CAD\tRefObject\nPoint\tFeature Object\n1\t\t" + std::string(c.refusal);
    const size_t shown = output.find(refused);
    ASSERT_NE(shown, std::string::npos) << output;
    EXPECT_NE(output.find("error: " + std::string(c.refusal)), std::string::npos) << output;
    EXPECT_GT(expectDifferencesWithin(output.substr(shown + refused.size()), 1e-6), 0) << output;
  }
}

}  // namespace
