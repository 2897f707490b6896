// Sessions of palpera-host in which the emulator's approach to each touch, not the stop alone, says on which
// side of a feature the material lies: stops taken where an operator lifts the probe off a part turned and
// shifted in the world.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "compared_differences.h"
#include "emulator_script.h"
#include "project_script.h"

namespace {

const std::string kUndoTouch = "key press 280\nrun-until Palpera/Events/Single/CustomEvent 10000\n";

// The part's pose in the world: a turn about a slanted axis and a shift.
struct SidePose {
  std::array<double, 9> rotation;
  std::array<double, 3> shift{0.2, 0.1, 0.05};

  SidePose() {
    const double a = 0.4, b = 0.3;  // about z, then about x
    rotation = {std::cos(a),
                -std::sin(a) * std::cos(b),
                std::sin(a) * std::sin(b),
                std::sin(a),
                std::cos(a) * std::cos(b),
                -std::cos(a) * std::sin(b),
                0,
                std::sin(b),
                std::cos(b)};
  }
  std::string transform() const {
    std::string line = "transform RefObject";
    for (int row = 0; row < 3; ++row)
      line += numbers({rotation[3 * row], rotation[3 * row + 1], rotation[3 * row + 2], shift[row]});
    return line + " 0 0 0 1\n";
  }
  // A pick ray from o along d, both given in the part's own coordinates.
  std::string ray(std::array<double, 3> o, std::array<double, 3> d) const {
    std::array<double, 6> world{};
    for (int row = 0; row < 3; ++row) {
      for (int k = 0; k < 3; ++k) {
        world[row] += rotation[3 * row + k] * o[k];
        world[3 + row] += rotation[3 * row + k] * d[k];
      }
      world[row] += shift[row];
    }
    return numbers({world[0], world[1], world[2], world[3], world[4], world[5]});
  }
};

const SidePose kPose;

std::string touch(std::array<double, 3> o, std::array<double, 3> d) {
  return "mouse click" + kPose.ray(o, d) + "\n" + kSampled;
}

// A touch on a round wall about the axis (cx, cy) at the given angle, the ray leaning down by tilt degrees
// from the radial; outward from the axis for a bore, inward from rho out for a boss. The ray meets the wall
// of radius wall at the height z.
std::string wallTouch(double cx, double cy, double wall, double z, double degrees, double tilt, bool bore) {
  const double a = degrees * M_PI / 180, t = tilt * M_PI / 180;
  const double from = bore ? 0.0 : 2 * wall, run = std::abs(wall - from);
  const double sign = bore ? 1.0 : -1.0;
  return touch({cx + from * std::cos(a), cy + from * std::sin(a), z + run * std::tan(t)},
               {sign * std::cos(a) * std::cos(t), sign * std::sin(a) * std::cos(t), -std::sin(t)});
}

// The stop taken with the lift key over the top face at (x, y), whose height is top.
std::string stopOver(double x, double y, double top) {
  return "mouse move" + kPose.ray({x, y, top + 0.05}, {0, 0, -1}) + "\n" + kLiftedStop;
}

std::string session(const char* part, double diameter, const char* command) {
  return "cad-load RefObject examples/parts/" + std::string(part) + ".step\n" + kPose.transform() +
         "start\nset Palpera/Emulator/MaxNoiseFactor 0\nset Palpera/Emulator/ProbeDiameter " +
         std::to_string(diameter) + "\ncommand PalperaCreateFeaturesCmd2 " + command + ",UsePlane=false\n" +
         kRadiusEvent;
}

// A bore, a boss, a bore's rim and a countersink, each touched along rays that lean across its wall, and
// stopped where the probe is lifted off the part beside or over it: the stop lies radially on the side the
// touches pushed into, yet every touch says the material's side, and the feature is the nominal one. With
// one touch along the wall (which says nothing) the stop is refused until that touch is undone. An oval
// slot's ends stay holes with their stops at an end wall.
TEST(TouchedSideScript, TheTouchesSayTheMaterialsSideWhereverTheStopIsLifted) {
  struct Case {
    const char* name;
    std::string script;
    const char* nominal;  // compared after the run; empty: the slot line below
    const char* refusal;  // the refusal the stop met first; empty: none
  };
  std::string bore, boss, rim, countersink, slot;
  for (int i = 0; i < 8; ++i) {
    bore += wallTouch(0.05, 0.04, 0.01, 0.002 + 0.0008 * i, 45 * i + 17, 40, true);
    boss += wallTouch(0.05, 0.04, 0.015, 0.012 + 0.0015 * i, 45 * i + 10, 0, false);
  }
  const std::string grazing = bore + wallTouch(0.05, 0.04, 0.01, 0.005, 30, 70, true);
  for (int i = 0; i < 4; ++i) rim += wallTouch(0.05, 0.04, 0.01, 0.005, 90 * i + 20, 0, true);
  for (int i = 0; i < 8; ++i) {
    // From the axis at the height h, down at 45° onto the cone, square to its wall.
    const double a = (90 * i + (i < 4 ? 0 : 45)) * M_PI / 180, h = i < 4 ? 0.0125 : 0.0155;
    countersink += touch({0.05, 0.04, h}, {std::cos(a), std::sin(a), -1});
  }
  const std::string topFace = touch({0.01, 0.01, 0.05}, {0, 0, -1}) + touch({0.09, 0.01, 0.05}, {0, 0, -1}) +
                              touch({0.05, 0.07, 0.05}, {0, 0, -1}) + stopOver(0.02, 0.07, 0.01);
  slot = topFace;
  for (const auto& [x, first] : {std::pair{0.035, 120.0}, {0.065, -60.0}}) {
    for (int i = 0; i < 3; ++i) slot += wallTouch(x, 0.04, 0.006, 0.005, first + 60 * i, 0, true);
    // The stop unlifted, the ball against the end wall.
    slot += "mouse move" + kPose.ray({x, 0.04, 0.005}, {x < 0.05 ? -1.0 : 1.0, 0, 0}) +
            "\nkey press 293\nrun-until Palpera/Events/Single/StopEvent 10000\n";
  }
  const char* cylinder = "IZelFeature=IZelCylinder,IZelFeatureCollector=Cylinder";
  const Case cases[] = {
      {"bore, stop beside it", session("plate-bore", 0.006, cylinder) + bore + stopOver(0.02, 0.04, 0.01),
       "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01", ""},
      {"boss, stop over it", session("plate-boss", 0.006, cylinder) + boss + stopOver(0.05, 0.04, 0.025),
       "cylinder 0.05 0.04 0.01 0.05 0.04 0.025 0.015", ""},
      {"bore's rim, stop beside it",
       session("plate-bore", 0.002, "IZelFeature=IZelArc,IZelFeatureCollector=Circle") + topFace + rim +
           stopOver(0.02, 0.04, 0.01),
       "circle 0.05 0.04 0.01 0 0 1 0.01", ""},
      {"countersink, stop beside it",
       session("plate-countersink", 0.002, "IZelFeature=IZelCone,IZelFeatureCollector=Cone") + countersink +
           stopOver(0.02, 0.04, 0.01),
       "cone 0.05 0.04 0.006 0.05 0.04 0.01 0.004 0.008", ""},
      {"bore with a touch along its wall",
       session("plate-bore", 0.006, cylinder) + grazing + stopOver(0.02, 0.04, 0.01) + kUndoTouch +
           stopOver(0.02, 0.04, 0.01),
       "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01",
       "Cylinder was not made: the stop lies on the other side of the cylinder than every touch came from; "
       "lift the probe off along its approach and stop again. Its points are kept.\n"},
      {"oval slot, stops at its end walls",
       session("plate-oval-slot", 0.002, "IZelFeature=IZelOvalSlot,IZelFeatureCollector=OvalSlot") + slot, "",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string nominal = *c.nominal ? "feature RefObject " + std::string(c.nominal) + "\n" : "";
    const ScriptRun run = runProjectScript(c.script + "print document\n" + nominal +
                                           (*c.nominal ? "compare TestObject RefObject\n" : ""));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("error: "),
              *c.refusal ? run.output.find(std::string("error: ") + c.refusal) : std::string::npos)
        << run.output;
    if (*c.nominal) {
      EXPECT_GT(expectDifferencesWithin(run.output, 1e-6), 0) << run.output;
    } else {
      EXPECT_NE(run.output.find("\tlength 0.042\twidth 0.012\tcreator "), std::string::npos) << run.output;
    }
  }
}

}  // namespace
