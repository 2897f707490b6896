// Sessions of palpera-host in which the emulator's approach to each touch, not the stop alone, says on which
// side of a feature the material lies, the part turned a quarter about z and shifted by (0.2, 0.1, 0.05).

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "compared_differences.h"
#include "emulator_script.h"
#include "project_script.h"

namespace {

// A touch along the ray from (x, y, z) of the part towards (dx, dy, dz); "move" for the pose of a stop.
std::string sidePick(double x, double y, double z, double dx, double dy, double dz,
                     const char* kind = "click") {
  return std::string("mouse ") + kind + numbers({0.2 - y, 0.1 + x, 0.05 + z, -dy, dx, dz}) + "\n" +
         (*kind == 'c' ? kSampled : "");
}

// n touches on the round wall of radius wall about (cx, cy), from height z0 up by dz, from the angle first
// on by step (radians), along rays leaning down by tilt degrees: outwards from the axis (a bore) or inwards.
std::string wallTouches(double cx, double cy, double wall, double z0, double dz, int n, double tilt,
                        bool bore, double first = 0.3, double step = 0) {
  std::string script;
  const double t = tilt * M_PI / 180, from = bore ? 0 : 2 * wall, sign = bore ? 1 : -1;
  for (int i = 0; i < n; ++i) {
    const double a = first + i * (step ? step : 2 * M_PI / n), c = std::cos(a), s = std::sin(a);
    script += sidePick(cx + from * c, cy + from * s, z0 + dz * i + wall * std::tan(t), sign * c * std::cos(t),
                       sign * s * std::cos(t), -std::sin(t));
  }
  return script;
}

// The stop lifted over the top face at (x, y).
std::string stopOver(double x, double y) {
  return sidePick(x, y, 0.05, 0, 0, -1, "move") + kLiftedStop;
}

// A bore, a boss, a bore's rim and a countersink (touched square to its cone), stopped lifted beside or over
// it where the touches pushed into: every touch says the material's side. One touch coming in along the
// bore's wall, 10 degrees off it, takes nothing from the others: the bore is made at the stop over the top.
// An oval slot's ends stay holes, stopped at end walls.
TEST(TouchedSideScript, TheTouchesSayTheMaterialsSideWhereverTheStopIsLifted) {
  const std::string topFace = sidePick(0.01, 0.01, 0.05, 0, 0, -1) + sidePick(0.09, 0.01, 0.05, 0, 0, -1) +
                              sidePick(0.05, 0.07, 0.05, 0, 0, -1) + stopOver(0.02, 0.07);
  std::string slot = topFace;
  for (const double x : {0.035, 0.065}) {
    const double end = x < 0.05 ? -1 : 1;  // the stops unlifted, the ball against the end wall
    slot += wallTouches(x, 0.04, 0.006, 0.005, 0, 3, 0, true, end > 0 ? -M_PI / 3 : 2 * M_PI / 3, M_PI / 3) +
            sidePick(x, 0.04, 0.005, end, 0, 0, "move") +
            "key press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n";
  }
  const struct {
    const char *part, *kind, *nominal;
    double ball;
    std::string touches, refusal;
  } cases[] = {
      {"plate-boss", "Cylinder", "cylinder 0.05 0.04 0.01 0.05 0.04 0.025 0.015", 0.006,
       wallTouches(0.05, 0.04, 0.015, 0.012, 0.0015, 8, 0, false) + stopOver(0.05, 0.04), ""},
      {"plate-bore", "Arc", "circle 0.05 0.04 0.01 0 0 1 0.01", 0.002,
       topFace + wallTouches(0.05, 0.04, 0.01, 0.005, 0, 4, 0, true) + stopOver(0.02, 0.04), ""},
      {"plate-countersink", "Cone", "cone 0.05 0.04 0.006 0.05 0.04 0.01 0.004 0.008", 0.002,
       wallTouches(0.05, 0.04, 0.001, 0.0115, 0, 4, 45, true, 0) +
           wallTouches(0.05, 0.04, 0.001, 0.0145, 0, 4, 45, true, M_PI / 4) + stopOver(0.02, 0.04),
       ""},
      {"plate-bore", "Cylinder", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01", 0.006,
       wallTouches(0.05, 0.04, 0.01, 0.002, 0.0008, 8, 40, true) +
           wallTouches(0.05, 0.04, 0.01, 0.005, 0, 1, 80, true) + stopOver(0.02, 0.04),
       ""},
      {"plate-oval-slot", "OvalSlot", "", 0.002, slot, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.part) + " " + c.kind + (c.refusal.empty() ? "" : ", refused first"));
    const std::string kind = std::string(c.kind) == "Arc" ? "Circle" : c.kind;
    const ScriptRun run = runProjectScript(
        "cad-load RefObject examples/parts/" + std::string(c.part) +
        ".step\ntransform RefObject 0 -1 0 0.2 1 0 0 0.1 0 0 1 0.05 0 0 0 1\nstart\n"
        "set Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter" +
        numbers({c.ball}) + "\ncommand PalperaCreateFeaturesCmd2 IZelFeature=IZel" + c.kind +
        ",IZelFeatureCollector=" + kind + ",UsePlane=false\n" + kRadiusEvent + c.touches +
        "print document\n" +
        (*c.nominal ? "feature RefObject " + std::string(c.nominal) + "\ncompare TestObject RefObject\n"
                    : ""));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("error: "),
              c.refusal.empty() ? std::string::npos : run.output.find("error: " + c.refusal));
    EXPECT_TRUE(*c.nominal ? expectDifferencesWithin(run.output, 1e-6) > 0
                           : run.output.find("\tlength 0.042\twidth 0.012\t") != std::string::npos)
        << run.output;
  }
}

}  // namespace
