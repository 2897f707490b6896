#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "posed_pick.h"
#include "project_script.h"
#include "support/run_tool.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

// A plane probed with the emulator on the top of the box, then edited: a band dragged with the left button
// around the first point's pick, looking down, marks that point alone; the right button takes it out again.
TEST(EditFeaturesScript, MouseLinesDragARubberBandOverTheProbedPoints) {
  ScratchDirectory scratch;
  std::ofstream(scratch.system("session.script"))
      << "cad-box RefObject -5 -5 -1 5 5 0\n"
      << "set DefaultFileNameDirectory/common " << kProject << "/examples\n"
      << "start\nset Palpera/Emulator/MaxNoiseFactor 0\n"
      << "command PalperaCreateFeaturesCmd2 IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false\n"
      << "run-until Palpera/Events/Single/RadiusEvent 10000\n"
      << "mouse click 1 2 10 0 0 -1\nrun-until Palpera/Events/Single/SampledEvent 10000\n"
      << "mouse click -2 1 10 0 0 -1\nrun-until Palpera/Events/Single/SampledEvent 10000\n"
      << "mouse click 0 -3 10 0 0 -1\nrun-until Palpera/Events/Single/SampledEvent 10000\n"
      << "mouse move 0 0 10 0 0 -1\nkey press 299\nkey press 293\nkey release 299\nrun-until "
         "Palpera/Events/Single/StopEvent 10000\napply\n"
      << "active TestObject\ncommand PalperaEditFeaturesCmd\nchoose Features 0\n"
      << "mouse down 0.5 1.5 10 0 0 -1\nmouse move 1.5 2.5 10 0 0 -1\nmouse click 1.5 2.5 10 0 0 -1\n"
      << "print scene\n"
      << "mouse down 0 0 10 0 0 -1 right\nmouse click 3 3 10 0 0 -1 right\nprint scene\ncancel\n";
  int status = -1;
  const std::string output = runTool("--script session.script", status, scratch.system());
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  const size_t second = output.find("HostGroupNode\t'scene root'", 1);
  ASSERT_NE(second, std::string::npos) << output;
  const std::string selecting = output.substr(0, second);
  const std::string unselecting = output.substr(second);
  EXPECT_EQ(occurrences(selecting, "HostSeparatorNode\t'point'"), 3u) << output;
  const std::string marked = "HostSeparatorNode\t'point'\n      HostColorNode";
  EXPECT_EQ(occurrences(selecting, marked), 1u) << output;
  EXPECT_EQ(selecting.find("HostSeparatorNode\t'point'"), selecting.find(marked))
      << "the first point is marked";
  EXPECT_EQ(occurrences(unselecting, marked), 0u) << output;
}

}  // namespace

namespace edited_bolt_hole {

// Six touches at six heights round a bolt hole lie as exactly on a cylinder some twenty degrees off as on
// the hole; the travels into them tell which. A seventh touch deleted from the middle of them leaves each
// remaining touch its own travel, so the refit is the hole again, not a refusal.
TEST(EditFeaturesScript, APointDeletedFromARoundFeatureTakesItsTravelWithIt) {
  const Matrix4x4 pose =
      Matrix4x4::translation({0.3, -0.2, 0.1}) * Matrix4x4::rotation(Vector3(1, 2, 3).normalized(), 0.35);
  const Vector3 axis{0.1, 0.06, 0};
  const auto outward = [](double degrees) {
    return Vector3(std::cos(degrees * M_PI / 180), std::sin(degrees * M_PI / 180), 0);
  };
  std::string placed = "transform RefObject";
  for (double value : pose.m) placed += numbers({value});
  std::string script =
      "cad-load RefObject examples/parts/plate-bolt-circle.step\n" + placed +
      "\nstart\nset Palpera/Emulator/MaxNoiseFactor 0\n"
      "set Palpera/Emulator/ProbeDiameter 0.002\n"
      "command PalperaCreateFeaturesCmd2 IZelFeature=IZelCylinder,IZelFeatureCollector=Cylinder,"
      "UsePlane=false\n" +
      kRadiusEvent;
  const double stations[][2] = {{0, 0.0025},  {60, 0.0033},  {90, 0.005},  {120, 0.0042},
                                {180, 0.005}, {240, 0.0059}, {300, 0.0067}};
  for (const auto& [degrees, height] : stations)
    script += posedPick(pose, axis + Vector3(0, 0, height), outward(degrees));
  script += kLiftedStop + "apply\nactive TestObject\ncommand PalperaEditFeaturesCmd\nchoose Features 0\n";
  // A band round the touch at 90 degrees, looking down the hole.
  const Vector3 touched = axis + outward(90) * 0.003, down{0, 0, -1};
  script += posedMouse(pose, touched + Vector3(-0.0005, -0.0005, 0.05), down, "down") +
            posedMouse(pose, touched + Vector3(0.0005, 0.0005, 0.05), down, "move") +
            posedMouse(pose, touched + Vector3(0.0005, 0.0005, 0.05), down, "click") +
            "event delete\napply\nprint document\n";
  const ScriptRun run = runProjectScript(script);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output.find("error: "), std::string::npos) << run.output;
  const Vector3 posedAxis = Matrix4x4::transformVector(pose, Vector3(0, 0, 1));
  std::ostringstream expected;
  expected << "axis (" << posedAxis.x << ", " << posedAxis.y << ", " << posedAxis.z << ")\tradius 0.004\t";
  EXPECT_NE(run.output.find(expected.str()), std::string::npos) << expected.str() << "\n" << run.output;
  EXPECT_NE(run.output.find("\tpoints 6"), std::string::npos) << run.output;
}

}  // namespace edited_bolt_hole
