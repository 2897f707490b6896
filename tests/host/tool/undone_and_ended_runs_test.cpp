// Sessions of palpera-host in which made features are taken back or a run ends before its feature, on parts
// turned about a skew axis and shifted: the operator is told what went, and what was kept, every time.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "posed_pick.h"
#include "project_script.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

const Matrix4x4 kEndingPose =
    Matrix4x4::translation({-0.1, 0.25, 0.05}) * Matrix4x4::rotation(Vector3(-2, 1, 4).normalized(), 0.6);

std::string posedPart(const std::string& part, double ball = 0.002) {
  std::string script = "cad-load RefObject examples/parts/" + part + ".step\ntransform RefObject";
  for (const double value : kEndingPose.m) script += numbers({value});
  return script + "\nstart\nset Palpera/Emulator/ProbeDiameter" + numbers({ball}) + "\n";
}

// The emulator's noise is seeded by the clock: a case about what an undo says must not hang on a seed.
const std::string kNoNoise = "set Palpera/Emulator/MaxNoiseFactor 0\n";

std::string probing(const std::string& kind, const std::string& collector) {
  return "command PalperaCreateFeaturesCmd2 IZelFeature=IZel" + kind + ",IZelFeatureCollector=" + collector +
         ",UsePlane=false\n" + kRadiusEvent;
}

// n touches in the hole about (x, y), from its axis outwards, then the stop lifted back towards it.
std::string boltHole(double x, double y, int n = 3, bool stop = true) {
  std::string script;
  for (int i = 0; i < n; ++i) {
    const double a = 0.2 + 2.1 * i;
    script += posedPick(kEndingPose, {x, y, 0.005}, {std::cos(a), std::sin(a), 0});
  }
  return script + (stop ? posedPick(kEndingPose, {x, y, 0.005}, {1, 0, 0}, "move") + kLiftedStop : "");
}

// The bolt plate's top face, the pattern's plane; and its holes by number, 60° apart on a circle of 40 mm.
std::string boltPlane() {
  std::string script;
  for (const auto& [x, y] : {std::pair{0.01, 0.01}, {0.11, 0.01}, {0.06, 0.11}})
    script += posedPick(kEndingPose, {x, y, 0.05}, {0, 0, -1});
  return script + posedPick(kEndingPose, {0.06, 0.06, 0.05}, {0, 0, -1}, "move") + kLiftedStop;
}
std::string boltHoleNumber(int k, int n = 3) {
  return boltHole(0.06 + 0.04 * std::cos(k * M_PI / 3), 0.06 + 0.04 * std::sin(k * M_PI / 3), n);
}

// A recorded bolt-pattern run, as the device delivered it, that ends in a device error after one circle.
std::string recordedErrorRun(ScratchDirectory& scratch) {
  const auto point = [](const char* element, const Vector3& part) {
    const Vector3 p = Matrix4x4::transformPoint(kEndingPose, part);
    return "<" + std::string(element) + " time=\"5\"><Point><X>" + std::to_string(p.x) + "</X><Y>" +
           std::to_string(p.y) + "</Y><Z>" + std::to_string(p.z) + "</Z></Point></" + element + ">";
  };
  std::string events = "<SetRadius time=\"0\">0.001</SetRadius>";
  for (const auto& [x, y] : {std::pair{0.01, 0.01}, {0.11, 0.01}, {0.06, 0.11}})
    events += point("OnPointSampled", {x, y, 0.011});
  events += point("OnPointStop", {0.06, 0.06, 0.02});
  for (const double a : {0.2, 2.3, 4.4})
    events += point("OnPointSampled", {0.1 + 0.003 * std::cos(a), 0.06 + 0.003 * std::sin(a), 0.005});
  events += point("OnPointStop", {0.1, 0.06, 0.005}) + "<OnCustomEvent time=\"5\" name=\"Error\"/>";
  std::ofstream(scratch.system("ended-hardprobe-0000.xml")) << events;
  std::ofstream(scratch.system("ended.log"))
      << "PluginAlignmentMatrix\t1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 \nPluginData\tended-hardprobe-0000.xml\n"
         "PluginWait\t\n";
  return "replay-log " + scratch.system("ended.log") + "\n" + probing("Arc", "BoltPatternCircle") +
         "run-until Palpera/LogReplayFinished\n";
}

// Undo after a stop takes back the feature made and says which; a bolt pattern's circles are made into the
// pattern at apply, go with a cancelled run, are kept and told at a device error, and a bolt circle refused
// gives its own reason while a pattern stopped short gives the pattern's.
TEST(UndoneAndEndedRunsScript, TheOperatorIsToldWhatAnUndoOrARunsEndTookOrKept) {
  ScratchDirectory scratch;
  std::string bore;
  for (int i = 0; i < 8; ++i) {
    const double a = 0.3 + 0.75 * i + 0.1 * (i % 3);
    bore += posedPick(kEndingPose, {0.05, 0.04, 0.002 + 0.0008 * i}, {std::cos(a), std::sin(a), 0});
  }
  bore += posedPick(kEndingPose, {0.05, 0.04, 0.005}, {1, 0, 0}, "move") + kLiftedStop;
  const std::string boltPattern =
      posedPart("plate-bolt-circle") + probing("Arc", "BoltPatternCircle") + boltPlane();
  const std::string boltStop = "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n";
  const struct {
    const char* name;
    std::string script;
    std::vector<std::string> told, present, absent;
    bool replayed = false;
  } cases[] = {
      {"undo after a cylinder's stop",
       posedPart("plate-bore", 0.006) + kNoNoise + probing("Cylinder", "Cylinder") + bore + kUndo + "apply\n",
       {"Undo removed Cylinder 1 and the touches it was made from."},
       {},
       {"\tCylinder\t"}},
      {"applied after three circles",
       boltPattern + boltHoleNumber(0) + boltHoleNumber(1) + boltHoleNumber(2) + "apply\n",
       {},
       {"\tCircle\tCircle 3\t", "\tCircle\tCircle 4\tvisible\t"},
       {}},
      {"undone then cancelled",
       boltPattern + boltHoleNumber(0) + boltHoleNumber(1) + kUndo + "cancel\n",
       {"Undo removed Circle 2 and the touches it was made from."},
       {},
       {"\tCircle\t"}},
      {"a bolt refused, its touches undone, then the pattern stopped short",
       boltPattern + boltHoleNumber(0) + boltHoleNumber(1, 2) + kUndo + kUndo + boltStop,
       {"Circle (Bolt) was not made: 1 more point is needed. Its points are kept.",
        "Circle was not made: 3 circles are needed. The bolt circle probed is kept as a feature of its own."},
       {"\tCircle\tCircle 1\t"},
       {"Circle 2"}},
      {"a device error after a bolt circle",
       posedPart("plate-bolt-circle") + recordedErrorRun(scratch),
       {"An error occurred during data acquisition.",
        "The bolt circle probed is kept as a feature of its own."},
       {"\tCircle\tCircle 1\t"},
       {"Circle 2"},
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ScriptRun run = runProjectScript(c.script + "print document\n");
    // A replay that showed an error counts as failed.
    EXPECT_EQ(run.status, c.replayed ? 1 : 0) << run.output;
    EXPECT_EQ(occurrences(run.output, "error: "), c.told.size()) << run.output;
    size_t at = 0;
    for (const std::string& line : c.told) {
      at = run.output.find("error: " + line + "\n", at);
      ASSERT_NE(at, std::string::npos) << line << "\n" << run.output;
    }
    const size_t document = run.output.find("CAD\tRefObject\n", at);
    ASSERT_NE(document, std::string::npos) << run.output;
    for (const std::string& text : c.present)
      EXPECT_NE(run.output.find(text, document), std::string::npos) << text;
    for (const std::string& text : c.absent)
      EXPECT_EQ(run.output.find(text, document), std::string::npos) << text;
  }
}

}  // namespace
