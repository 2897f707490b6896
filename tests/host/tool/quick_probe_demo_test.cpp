// The quick-probe example: "Quick Probe" on the plate with a bore and an oval slot, driven by the emulator
// through examples/quick-probe.script, gives each probed feature the part's nominal size.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "emulator_script.h"
#include "printed_document.h"
#include "project_script.h"
#include "support/run_tool.h"
#include "support/text.h"

namespace {

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "at " << i;
}

}  // namespace

// The ball of 1 mm radius is taken off the touches: on the wrong side it leaves the bore 4 mm too small or
// the slot 4 mm too wide, and a lost touch changes a count.
TEST(QuickProbeDemo, ThePlaneBoreAndSlotHaveThePartsSizesAndTheirNominalsAreAddedHidden) {
  int status = -1;
  const std::string output = runTool("--script examples/quick-probe.script", status, kProject);
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;
  std::map<std::string, std::vector<PrintedFeature>> document = documentOf(output);
  const std::vector<PrintedFeature>& probed = document["Feature Object"];
  ASSERT_EQ(probed.size(), 3u) << output;
  EXPECT_EQ(probed[0].kind, "Plane");
  EXPECT_EQ(probed[1].kind, "Cylinder");
  EXPECT_EQ(probed[2].kind, "Oval Slot");
  {
    SCOPED_TRACE("the top face");
    expectNear(probed[0].fields.at("normal"), {0, 0, 1}, 1e-9);
    EXPECT_NEAR(probed[0].fields.at("centre").at(2), 0.01, 1e-6);
    EXPECT_EQ(probed[0].fields.at("points"), std::vector<double>{3});
  }
  {
    SCOPED_TRACE("the bore");
    EXPECT_NEAR(2 * probed[1].fields.at("radius").at(0), 0.02, 1e-6);
    expectNear(probed[1].fields.at("axis"), {0, 0, 1}, 1e-9);
    expectNear(probed[1].fields.at("start"), {0.03, 0.04, 0.003}, 1e-6);
    EXPECT_EQ(probed[1].fields.at("points"), std::vector<double>{6});
  }
  {
    SCOPED_TRACE("the slot");
    EXPECT_NEAR(probed[2].fields.at("length").at(0), 0.042, 1e-6);
    EXPECT_NEAR(probed[2].fields.at("width").at(0), 0.012, 1e-6);
    expectNear(probed[2].fields.at("centre"), {0.085, 0.04, 0.01}, 1e-6);
  }
  // Each nominal under its probed feature's name, hidden once the command has ended.
  const std::vector<PrintedFeature>& nominals = document["RefObject"];
  ASSERT_EQ(nominals.size(), probed.size()) << output;
  for (size_t i = 0; i < nominals.size(); ++i) {
    SCOPED_TRACE(probed[i].name);
    EXPECT_EQ(nominals[i].kind, probed[i].kind);
    EXPECT_EQ(nominals[i].name, probed[i].name);
    EXPECT_EQ(nominals[i].visibility, "hidden");
  }
}

// The plate's oval slot, the part turned and shifted, probed with three touches around each end arc, spread
// from a few degrees to most of the arc about the arc's apex, where one end's surface has its seam: "Quick
// Probe" and "Hard Probe Features" both make the nominal slot from every spread.
TEST(QuickProbeDemo, ThreeTouchesPerEndMakeTheSlotAtEverySpreadInBothCommands) {
  const Matrix4x4 pose = Matrix4x4::translation({0.35, -0.2, 0.6}) * Matrix4x4::rotation({1, 2, 3}, 0.7);
  const auto mouse = [&](const char* action, Vector3 from, Vector3 along, const std::string& then) {
    const Vector3 at = Matrix4x4::transformPoint(pose, from), to = Matrix4x4::transformVector(pose, along);
    return "mouse " + (action + numbers({at.x, at.y, at.z, to.x, to.y, to.z})) + "\n" + then;
  };
  std::string topFace = mouse("move", {0.06, 0.07, 0.05}, {0, 0, -1}, kLiftedStop);
  for (const Vector3& at : {Vector3{0.06, 0.07, 0.05}, {0.11, 0.01, 0.05}, {0.01, 0.01, 0.05}})
    topFace = mouse("click", at, {0, 0, -1}, kSampled) + topFace;
  // Half a millimetre below the rim, outwards from the end circle's centre at the apex and either side.
  const auto aroundEnd = [&](double x, double apex, double spread) {
    std::string touches;
    for (const double a : {apex - spread, apex, apex + spread})
      touches += mouse("click", {x, 0.04, 0.0095}, {std::cos(a), std::sin(a), 0}, kSampled);
    return touches;
  };
  const std::string inSlot = mouse("move", {0.085, 0.04, 0.0095}, {0, 1, 0}, kLiftedStop);
  const std::vector<double> spreads{10, 20, 30, 40, 50, 60, 65};
  std::string quick = "active RefObject\ncommand PalperaQuickProbeCmd\n" + kRadiusEvent + topFace, hard;
  for (const double spread : spreads) {
    const std::string plusX = aroundEnd(0.1, 0, spread * M_PI / 180),
                      minusX = aroundEnd(0.07, M_PI, spread * M_PI / 180);
    quick += plusX + minusX + inSlot;
    hard +=
        "command PalperaCreateFeaturesCmd2 "
        "IZelFeature=IZelOvalSlot,IZelFeatureCollector=OvalSlot,UsePlane=false\n" +
        kRadiusEvent + topFace + plusX + inSlot + minusX + inSlot + "apply\n";
  }
  std::string script = "cad-load RefObject examples/parts/plate-bore-slot.step\ntransform RefObject";
  for (const double value : pose.m) script += numbers({value});
  script += "\nstart\nset Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter 0.002\n" +
            quick + "cancel\n" + hard + "print document\n";
  const ScriptRun run = runProjectScript(script);
  ASSERT_EQ(run.status, 0) << run.output;
  // Quick Probe names each probe of the slot after its first apart from the nominal, and tells it.
  EXPECT_EQ(occurrences(run.output, "error"), spreads.size() - 1) << run.output;
  EXPECT_EQ(occurrences(run.output, "error: Oval Slot 1 is probed again; this probe is added as Oval Slot "),
            spreads.size() - 1);
  const Vector3 centre = Matrix4x4::transformPoint(pose, {0.085, 0.04, 0.01});
  const Vector3 axis = Matrix4x4::transformVector(pose, {1, 0, 0});
  size_t slots = 0;
  const std::map<std::string, std::vector<PrintedFeature>> document = documentOf(run.output);
  for (const PrintedFeature& slot : document.at("Feature Object")) {
    if (slot.kind != "Oval Slot") continue;
    ++slots;
    SCOPED_TRACE(slot.name);
    expectNear(slot.fields.at("centre"), {centre.x, centre.y, centre.z}, 2e-6);
    const double sense = slot.fields.at("axis").at(0) * axis.x > 0 ? 1 : -1;
    expectNear(slot.fields.at("axis"), {sense * axis.x, sense * axis.y, sense * axis.z}, 2e-6);
    EXPECT_NEAR(slot.fields.at("length").at(0), 0.042, 2e-6);
    EXPECT_NEAR(slot.fields.at("width").at(0), 0.012, 2e-6);
  }
  EXPECT_EQ(slots, 2 * spreads.size()) << run.output;
}
