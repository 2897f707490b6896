// A command that cannot start on what the operator set up says what it needs, in the words every command
// shares, rather than leave the host to say that it cannot run.

#include <gtest/gtest.h>

#include <string>

#include "project_script.h"

namespace {

const std::string kPlate = "cad-load RefObject examples/parts/plate-bore.step\n";
const std::string kNoPlugIn = "options open\noptions pick hardprobe \"[None]\"\n";

std::string needsModel(const std::string& command) {
  return "error: \"" + command + "\" needs a reference model named \"RefObject\", loaded and active.\n";
}

std::string needsPlugIn(const std::string& command) {
  return "error: \"" + command + "\" needs a hard probe plug-in: choose one as \"Palpera Plug-In\" on the " +
         "options page.\n";
}

TEST(CommandsThatCannotStart, EachSaysWhatItNeedsAndTheScriptStopsAtItsLine) {
  const std::string quickProbe = "Quick Probe";
  const std::string features =
      "command PalperaCreateFeaturesCmd2 "
      "IZelFeature=IZelPlane,IZelFeatureCollector=Plane,UsePlane=false\n";
  struct Case {
    const char* what;
    std::string script;  // its last line is the command that cannot start
    std::string told;
  };
  const Case cases[] = {
      {"Quick Probe without a model", "start\ncommand PalperaQuickProbeCmd\n", needsModel(quickProbe)},
      {"Quick Probe on a model not active", kPlate + "start\ncommand PalperaQuickProbeCmd\n",
       needsModel(quickProbe)},
      {"Edit Probed Features on the model",
       kPlate + "start\nactive RefObject\ncommand PalperaEditFeaturesCmd\n",
       "error: \"Edit Probed Features\" needs the object holding its probed features as the active "
       "object.\n"},
      {"Hard Probe Features without a plug-in", kPlate + "start\nactive RefObject\n" + kNoPlugIn + features,
       needsPlugIn("Hard Probe Features")},
      {"Quick Probe without a plug-in",
       kPlate + "start\nactive RefObject\n" + kNoPlugIn + "command PalperaQuickProbeCmd\n",
       needsPlugIn(quickProbe)},
      {"Real-Time Deviation without a plug-in",
       kPlate + "start\nactive RefObject\n" + kNoPlugIn + "command PalperaRealTimeDeviationCmd\n",
       needsPlugIn("Real-Time Deviation")},
      {"Probe Sections without a model", "start\ncommand PalperaCrossSectionCmd\n",
       needsModel("Probe Sections")},
      {"3-2-1 Device Alignment on a model not active",
       kPlate + "start\ncommand PalperaDeviceToPartAlignmentCmd\n", needsModel("3-2-1 Device Alignment")},
      {"Iterative Alignment without a model", "start\ncommand PalperaIterativeAlignmentCmd\n",
       needsModel("Iterative Alignment")},
      {"Orient To World without a plug-in", kPlate + "start\n" + kNoPlugIn + "command PalperaAlignmentCmd\n",
       needsPlugIn("Orient To World")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ScriptRun run = runProjectScript(c.script);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(c.told), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("the command refused to activate"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("says it cannot run"), std::string::npos) << run.output;
  }
}

// The reference model active is enough: whether it is also the current object is no matter to the command.
TEST(CommandsThatCannotStart, RealTimeDeviationRunsOnTheActiveModelThatIsNotCurrent) {
  const ScriptRun run =
      runProjectScript(kPlate +
                       "start\nactive RefObject\ncurrent\ncommand PalperaRealTimeDeviationCmd\n"
                       "print dialog\ncancel\n");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output.find("error:"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\tToleranceBox\t"), std::string::npos) << run.output;
}

}  // namespace
