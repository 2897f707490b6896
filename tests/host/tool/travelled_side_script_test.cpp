// Sessions of palpera-host replaying device-event files written as an arm writes them: moves streamed as
// the ball travels in to each touch, the stylus upright or tilted 20 to 35 degrees, both balls, the part
// turned and shifted. The ball's travel, not the stylus's lean nor the stop alone, says on which side of a
// feature the material lies; where no touch says it, a stop beyond the ends of a round feature's touches is
// refused with where to stop instead.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <string>

#include "arm_events.h"
#include "compared_differences.h"
#include "emulator_script.h"
#include "project_script.h"
#include "support/scratch_directory.h"

namespace {

// A turn of a few degrees about a skew axis and a shift: the pose of the alignment examples' plate.
Matrix4x4 partPose() {
  Matrix4x4 pose;
  const double rows[12] = {0.98987183534147205,   -0.095191739791026214, 0.10531990444955419,   0.05,
                           0.10531990444955419,   0.98987183534147205,   -0.095191739791026214, -0.03,
                           -0.095191739791026214, 0.10531990444955419,   0.98987183534147205,   0.02};
  std::copy(rows, rows + 12, pose.m);
  return pose;
}

const Vector3 kUp{0, 0, 1}, kDown{0, 0, -1};
// examples/parts: the round features stand about x = 0.05, y = 0.04; the plate's top face is z = 0.01.
const Vector3 kAxis{0.05, 0.04, 0};
Vector3 radial(double angle) {
  return {std::cos(angle), std::sin(angle), 0};
}
Vector3 onWall(double radius, double angle, double z) {
  return kAxis + radial(angle) * radius + Vector3(0, 0, z);
}

// How a touch is taken: the surface point, its normal to the free side, the travel into it, the stylus.
using Take = std::function<void(ArmEvents&, const Vector3&, const Vector3&, const Vector3&, const Vector3&)>;
const Take kTravelled = [](ArmEvents& arm, const Vector3& s, const Vector3& n, const Vector3& travel,
                           const Vector3& stylus) { arm.travelIn(s, n, travel, stylus); };
const Take kResting = [](ArmEvents& arm, const Vector3& s, const Vector3& n, const Vector3&,
                         const Vector3& stylus) { arm.rest(s, n, stylus); };
const Take kWithoutMoves = [](ArmEvents& arm, const Vector3& s, const Vector3& n, const Vector3&,
                              const Vector3&) { arm.touchOnly(s, n); };

// n touches on a round wall of radius wall, at heights from z0 up by dz, a bore's from inside, a boss's from
// outside, the stylus upright or leaning towards the wall by 20 to 35 degrees; reversed: the touches whose
// travel came off the wall instead.
void wall(ArmEvents& arm, const Take& take, double wall, bool bore, double z0, double dz, int n, bool lean,
          int reversed = -1) {
  for (int i = 0; i < n; ++i) {
    const double angle = 0.3 + 2 * M_PI * i / n;
    const Vector3 out = radial(angle), free = bore ? -1 * out : out;
    const Vector3 stylus = lean ? tilted(kDown, -1 * free, 20 + 5 * (i % 4)) : kDown;
    take(arm, onWall(wall, angle, z0 + dz * i), free, i == reversed ? free : -1 * free, stylus);
  }
}

// Three touches on the top face, stopped above it: the work plane of a circle.
void topFace(ArmEvents& arm, const Take& take) {
  for (const Vector3& at :
       {Vector3(0.01, 0.01, 0.01), Vector3(0.09, 0.015, 0.01), Vector3(0.015, 0.07, 0.01)})
    take(arm, at, kUp, kDown, kDown);
  arm.stop({0.02, 0.07, 0.03});
}

// Eight touches on the countersink's cone (radius 0.004 at z = 0.006 to 0.008 at 0.01), in two rings,
// travelled straight down with the stylus leaning towards the axis.
void countersink(ArmEvents& arm, const Take& take) {
  for (int i = 0; i < 8; ++i) {
    const double angle = 0.3 + M_PI * i / 4, z = i % 2 ? 0.0085 : 0.0075;
    const Vector3 out = radial(angle), free = (kUp - out).normalized();
    take(arm, onWall(0.004 + (z - 0.006), angle, z), free, kDown, tilted(kDown, -1 * out, 20 + 5 * (i % 4)));
  }
}

// Four touches on the plate's front face y = 0, from in front, the stylus upright.
void frontFace(ArmEvents& arm, const Take& take) {
  for (const Vector3& at :
       {Vector3(0.02, 0, 0.003), Vector3(0.05, 0, 0.007), Vector3(0.08, 0, 0.005), Vector3(0.035, 0, 0.006)})
    take(arm, at, {0, -1, 0}, {0, 1, 0}, kDown);
}

// Radians: the events' six decimals turn an axis fitted over a few millimetres by a few tenths of a mrad.
constexpr double kAxisTolerance = 2e-3;

const Vector3 kOverTheTop{0.02, 0.04, 0.02}, kAboveTheBoss{0.05, 0.04, 0.035};

struct Session {
  const char *part, *feature, *collector, *nominal;
  std::function<void(ArmEvents&)> probe;
  std::string refusal;  // told before the feature is made, or empty
};

// Replays the probing of one feature with a ball of the diameter; the host's output.
std::string replayed(const Session& session, double ball) {
  ScratchDirectory scratch;
  ArmEvents arm(partPose(), ball);
  session.probe(arm);
  std::ofstream(scratch.system("arm.xml")) << arm.xml();
  std::ofstream(scratch.system("session.log")) << "PluginData\tarm.xml\nPluginWait\t\n";
  std::string pose;
  for (double value : partPose().m) pose += numbers({value});
  const ScriptRun run = runProjectScript(
      "cad-load RefObject examples/parts/" + std::string(session.part) + ".step\ntransform RefObject" + pose +
      "\nstart\nreplay-log " + scratch.system("session.log") +
      "\ncommand PalperaCreateFeaturesCmd2 IZelFeature=IZel" + session.feature +
      ",IZelFeatureCollector=" + session.collector +
      ",UsePlane=false\nrun-until Palpera/LogReplayFinished 10000\nprint document\nfeature RefObject " +
      session.nominal + "\ncompare TestObject RefObject\n");
  // A replay that shows a refusal ends with status 1.
  if (session.refusal.empty()) {
    EXPECT_EQ(run.status, 0) << run.output;
  }
  return run.output;
}

// Each session with both balls: the refusal told first, if any, and then the nominal feature made.
void expectSessions(const std::vector<Session>& sessions) {
  for (const Session& session : sessions) {
    for (const double ball : {0.002, 0.006}) {
      SCOPED_TRACE(std::string(session.part) + " " + session.feature + ", ball " + std::to_string(ball));
      const std::string output = replayed(session, ball);
      // The refusal told, and nothing else, before the feature is made.
      const size_t told = output.find("error: ");
      EXPECT_EQ(told, session.refusal.empty() ? std::string::npos : output.find("error: " + session.refusal))
          << output;
      EXPECT_EQ(told == std::string::npos, session.refusal.empty()) << output;
      EXPECT_GT(expectDifferencesWithin(output, 1e-5, kAxisTolerance), 0) << output;
    }
  }
}

std::string sideRefusal(const char* feature, const char* surface) {
  return std::string(feature) + " was not made: the stop lies on the other side of the " + surface +
         " than every touch came from; lift the probe off along its approach and stop again. Its points are "
         "kept.\n";
}

// The stop lifted over the top beside a bore, straight up above a boss, over the top beside a countersink:
// the travels say the side and the feature is made on it. A side face made as a plane with its stop over the
// top, or a bore stopped in its material at mid-height, is refused until the stop is taken on the free side.
// A bore whose touches tell both sides (one travelled off the wall) is left to its stop.
TEST(TravelledSideScript, TheBallsTravelIntoEachTouchSaysTheMaterialsSideHoweverTheStylusIsHeld) {
  expectSessions({
      {"plate-bore", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01",
       [](ArmEvents& arm) {
         wall(arm, kTravelled, 0.01, true, 0.003, 0.0005, 8, false);
         arm.stop(kOverTheTop);
       },
       ""},
      {"plate-boss", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0.01 0.05 0.04 0.025 0.015",
       [](ArmEvents& arm) {
         wall(arm, kTravelled, 0.015, false, 0.013, 0.0012, 8, true);
         arm.stop(kAboveTheBoss);
       },
       ""},
      {"plate-bore", "Arc", "Circle", "circle 0.05 0.04 0.01 0 0 1 0.01",
       [](ArmEvents& arm) {
         topFace(arm, kTravelled);
         wall(arm, kTravelled, 0.01, true, 0.004, 0.001, 4, false);
         arm.stop(kOverTheTop);
       },
       ""},
      {"plate-countersink", "Cone", "Cone", "cone 0.05 0.04 0.006 0.05 0.04 0.01 0.004 0.008",
       [](ArmEvents& arm) {
         countersink(arm, kTravelled);
         arm.stop(kOverTheTop);
       },
       ""},
      {"plate-bore", "Plane", "Plane", "plane 0.05 0 0.005 0 -1 0",
       [](ArmEvents& arm) {
         frontFace(arm, kTravelled);
         arm.stop({0.05, 0.03, 0.02}).stop({0.05, -0.01, 0.005});
       },
       sideRefusal("Plane", "plane")},
      {"plate-bore", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01",
       [](ArmEvents& arm) {
         wall(arm, kTravelled, 0.01, true, 0.003, 0.0005, 8, true);
         arm.stop({0.05, 0.06, 0.005}).stop({0.05, 0.04, 0.005});
       },
       sideRefusal("Cylinder", "cylinder")},
      {"plate-bore", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01",
       [](ArmEvents& arm) {
         wall(arm, kTravelled, 0.01, true, 0.003, 0.0005, 8, false, 2);
         arm.stop({0.05, 0.04, 0.005});
       },
       ""},
  });
}

std::string beyondRefusal(const char* feature, const char* surface) {
  return std::string(feature) +
         " was not made: no touch shows from which side it came, and a stop beyond the ends of the touches "
         "cannot tell a hole from a boss; stop level with the touches, on the free side of the " +
         surface + ". Its points are kept.\n";
}

// Touches whose moves show no travel and whose stylus lies along the wall tell nothing: a stop over the top
// or above a boss is refused, saying where to stop, and the stop taken there makes the feature. A recording
// without moves is made by its stop as it always was, and so is a stop beside the touches.
TEST(TravelledSideScript, WithNoTellingTouchAStopBeyondTheEndsIsRefusedSayingWhereToStop) {
  expectSessions({
      {"plate-bore", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01",
       [](ArmEvents& arm) {
         wall(arm, kResting, 0.01, true, 0.003, 0.0005, 8, false);
         arm.stop(kOverTheTop).stop({0.05, 0.04, 0.005});
       },
       beyondRefusal("Cylinder", "cylinder")},
      {"plate-boss", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0.01 0.05 0.04 0.025 0.015",
       [](ArmEvents& arm) {
         for (int i = 0; i < 8; ++i) {
           const double angle = 0.3 + M_PI * i / 4;
           arm.rest(onWall(0.015, angle, 0.013 + 0.0012 * i), radial(angle),
                    tilted(kDown, -1 * radial(angle), 20 + 5 * (i % 2)));
         }
         arm.stop(kAboveTheBoss).stop({0.08, 0.04, 0.017});
       },
       beyondRefusal("Cylinder", "cylinder")},
      {"plate-bore", "Arc", "Circle", "circle 0.05 0.04 0.01 0 0 1 0.01",
       [](ArmEvents& arm) {
         topFace(arm, kResting);
         wall(arm, kResting, 0.01, true, 0.004, 0.001, 4, false);
         arm.stop(kOverTheTop).stop({0.05, 0.04, 0.005});
       },
       beyondRefusal("Circle", "circle")},
      {"plate-bore", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01",
       [](ArmEvents& arm) {
         wall(arm, kResting, 0.01, true, 0.003, 0.0005, 8, false);
         arm.stop({0.05, 0.04, 0.005});
       },
       ""},
  });
  // Without moves the stop over the top makes a boss of the bore's tip centres, as it always did.
  for (const double ball : {0.002, 0.006}) {
    SCOPED_TRACE("a recording without moves, ball " + std::to_string(ball));
    const std::string nominal = "cylinder 0.05 0.04 0 0.05 0.04 0.01" + numbers({0.01 - ball});
    const std::string output = replayed({"plate-bore", "Cylinder", "Cylinder", nominal.c_str(),
                                         [](ArmEvents& arm) {
                                           wall(arm, kWithoutMoves, 0.01, true, 0.003, 0.0005, 8, false);
                                           arm.stop(kOverTheTop);
                                         },
                                         ""},
                                        ball);
    EXPECT_EQ(output.find("error: "), std::string::npos) << output;
    EXPECT_GT(expectDifferencesWithin(output, 1e-5, kAxisTolerance), 0) << output;
  }
}

}  // namespace
