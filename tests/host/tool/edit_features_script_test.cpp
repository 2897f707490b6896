#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>

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
