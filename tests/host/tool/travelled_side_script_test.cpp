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
#include "support/sanitized.h"
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

// Touches on a round wall of radius wall at heights from z0 up by dz, a bore's from inside, a boss's from
// outside; the stylus upright, or tilted towards the wall by 20 degrees up to maxTilt; the touch reversed
// travelled off the wall instead.
void wall(ArmEvents& arm, const Take& take, double wall, bool bore, double z0, double dz, int n,
          double maxTilt = 0, int reversed = -1) {
  for (int i = 0; i < n; ++i) {
    const double angle = 0.3 + 2 * M_PI * i / n, tilt = 20 + (maxTilt - 20) * (i % 4) / 3;
    const Vector3 out = radial(angle), free = bore ? -1 * out : out;
    take(arm, onWall(wall, angle, z0 + dz * i), free, i == reversed ? free : -1 * free,
         maxTilt ? tilted(kDown, -1 * free, tilt) : kDown);
  }
}
void bore(ArmEvents& arm, const Take& take, double maxTilt = 0, int reversed = -1) {
  wall(arm, take, 0.01, true, 0.003, 0.0005, 8, maxTilt, reversed);
}
void boss(ArmEvents& arm, const Take& take, double maxTilt) {
  wall(arm, take, 0.015, false, 0.013, 0.0012, 8, maxTilt);
}
// The top face touched and stopped above, then the bore's wall in one ring: the bore's rim circle.
void rim(ArmEvents& arm, const Take& take) {
  for (const Vector3& at :
       {Vector3(0.01, 0.01, 0.01), Vector3(0.09, 0.015, 0.01), Vector3(0.015, 0.07, 0.01)})
    take(arm, at, kUp, kDown, kDown);
  arm.stop({0.02, 0.07, 0.03});
  wall(arm, take, 0.01, true, 0.004, 0.001, 4);
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
const Vector3 kOverTheTop{0.02, 0.04, 0.02}, kAboveTheBoss{0.05, 0.04, 0.035}, kInTheBore{0.05, 0.04, 0.005};

// A feature probed: the part, the feature's and collector's kinds and the nominal it must come out as.
struct Kind {
  const char *part, *feature, *collector, *nominal, *surface;
};
const Kind kBore{"plate-bore", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0 0.05 0.04 0.01 0.01",
                 "cylinder"};
const Kind kBoss{"plate-boss", "Cylinder", "Cylinder", "cylinder 0.05 0.04 0.01 0.05 0.04 0.025 0.015",
                 "cylinder"};
const Kind kRim{"plate-bore", "Arc", "Circle", "circle 0.05 0.04 0.01 0 0 1 0.01", "circle"};

struct Session {
  Kind kind;
  std::function<void(ArmEvents&)> probe;
  const char* refusal = nullptr;  // the words told before the feature is made, after "<kind> was not made: "
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
  const Kind& kind = session.kind;
  const ScriptRun run = runProjectScript(
      "cad-load RefObject examples/parts/" + std::string(kind.part) + ".step\ntransform RefObject" + pose +
      "\nstart\nreplay-log " + scratch.system("session.log") +
      "\ncommand PalperaCreateFeaturesCmd2 IZelFeature=IZel" + kind.feature +
      ",IZelFeatureCollector=" + kind.collector +
      ",UsePlane=false\nrun-until Palpera/LogReplayFinished 10000\nprint document\nfeature RefObject " +
      kind.nominal + "\ncompare TestObject RefObject\n");
  // A replay that shows a refusal ends with status 1.
  if (!session.refusal) {
    EXPECT_EQ(run.status, 0) << run.output;
  }
  return run.output;
}

// Each session with both balls (under a sanitizer, the two by turns, keeping the run inside a test's time on
// two cores): the refusal told, and nothing else, then the nominal feature made.
void expectSessions(const std::vector<Session>& sessions) {
  for (size_t i = 0; i < sessions.size(); ++i) {
    const Session& session = sessions[i];
    for (const double ball : {0.002, 0.006}) {
      if (kSanitized && (ball < 0.004) != (i % 2 == 0)) continue;
      SCOPED_TRACE(std::string(session.kind.part) + " " + session.kind.feature + ", ball " +
                   std::to_string(ball));
      const std::string output = replayed(session, ball);
      const size_t told = output.find("error: ");
      if (session.refusal) {
        EXPECT_EQ(told, output.find("error: " + std::string(session.kind.collector) +
                                    " was not made: " + session.refusal + ". Its points are kept.\n"))
            << output;
      }
      EXPECT_EQ(told == std::string::npos, !session.refusal) << output;
      EXPECT_GT(expectDifferencesWithin(output, 1e-5, kAxisTolerance), 0) << output;
    }
  }
}

std::string otherSide(const char* surface) {
  return std::string("the stop lies on the other side of the ") + surface +
         " than every touch came from; lift the probe off along its approach and stop again";
}

// The stop lifted over the top beside a bore or a countersink, straight up above a boss: the travels say the
// side and the feature is made on it. The walls and the rim apart from the countersink, whose cone is fitted
// again at every touch, so that each test stays inside its time under a sanitizer on two cores.
TEST(TravelledSideScript, TheBallsTravelIntoEachTouchSaysTheMaterialsSideHoweverTheStylusIsHeld) {
  expectSessions({
      {kBore, [](ArmEvents& a) { bore(a, kTravelled), a.stop(kOverTheTop); }},
      {kBoss, [](ArmEvents& a) { boss(a, kTravelled, 35), a.stop(kAboveTheBoss); }},
      {kRim, [](ArmEvents& a) { rim(a, kTravelled), a.stop(kOverTheTop); }},
  });
}

TEST(TravelledSideScript, TheBallsTravelIntoACountersinkSayTheMaterialsSide) {
  const Kind countersunk{"plate-countersink", "Cone", "Cone",
                         "cone 0.05 0.04 0.006 0.05 0.04 0.01 0.004 0.008", "cone"};
  expectSessions({{countersunk, [](ArmEvents& a) { countersink(a, kTravelled), a.stop(kOverTheTop); }}});
}

// A side face made as a plane with its stop over the top, or a bore stopped in its material at mid-height, is
// refused until the stop is taken on the free side. A bore whose touches tell both sides (the last travelled
// off the wall, from inside the material) is refused naming them, whatever its stop, until that touch is
// undone.
TEST(TravelledSideScript, AStopOnTheSideTheTravelsCameFromOrTouchesFromBothSidesAreRefused) {
  const std::string plane = otherSide("plane"), cylinder = otherSide("cylinder");
  const Kind front{"plate-bore", "Plane", "Plane", "plane 0.05 0 0.005 0 -1 0", "plane"};
  expectSessions({
      {front,
       [](ArmEvents& a) {
         frontFace(a, kTravelled), a.stop({0.05, 0.03, 0.02}).stop({0.05, -0.01, 0.005});
       },
       plane.c_str()},
      {kBore,
       [](ArmEvents& a) {
         bore(a, kTravelled, 35), a.stop({0.05, 0.06, 0.005}).stop(kInTheBore);
       },
       cylinder.c_str()},
      {kBore,
       [](ArmEvents& a) {
         bore(a, kTravelled, 0, 7), a.stop(kInTheBore).undo();
         wall(a, kTravelled, 0.01, true, 0.0065, 0, 1), a.stop(kInTheBore);
       },
       "the ball came to touches 8 from one side of the cylinder and to touches 1, 2, 3, 4, 5, 6, 7 from the "
       "other, which no one cylinder allows, so a touch may lie on another surface; undo back to it and "
       "probe on"},
  });
}

// Touches whose moves show no travel and whose stylus lies along the wall (upright, or tilted up to 26
// degrees towards it) tell nothing: a stop over the top or above a boss is refused, saying where to stop,
// and the stop taken there makes the feature; so does a stop beside the touches at once.
TEST(TravelledSideScript, WithNoTellingTouchAStopBeyondTheEndsIsRefusedSayingWhereToStop) {
  const auto beyond = [](const Kind& kind) {
    return std::string(
               "no touch shows from which side it came, and a stop beyond the ends of the touches "
               "cannot tell a hole from a boss; stop level with the touches, on the free side of the ") +
           kind.surface;
  };
  const std::string bored = beyond(kBore), bossed = beyond(kBoss), rimmed = beyond(kRim);
  expectSessions({
      {kBore, [](ArmEvents& a) { bore(a, kResting), a.stop(kOverTheTop).stop(kInTheBore); }, bored.c_str()},
      {kBoss,
       [](ArmEvents& a) {
         boss(a, kResting, 26), a.stop(kAboveTheBoss).stop({0.08, 0.04, 0.017});
       },
       bossed.c_str()},
      {kRim, [](ArmEvents& a) { rim(a, kResting), a.stop(kOverTheTop).stop(kInTheBore); }, rimmed.c_str()},
      {kBore, [](ArmEvents& a) { bore(a, kResting), a.stop(kInTheBore); }},
  });
}

// A recording without moves is made by its stop as it always was: over the top, a boss of the bore's tip
// centres.
TEST(TravelledSideScript, ARecordingWithoutMovesIsMadeByItsStop) {
  for (const double ball : {0.002, 0.006}) {
    SCOPED_TRACE("a recording without moves, ball " + std::to_string(ball));
    const std::string nominal = "cylinder 0.05 0.04 0 0.05 0.04 0.01" + numbers({0.01 - ball});
    const std::string output = replayed({{"plate-bore", "Cylinder", "Cylinder", nominal.c_str(), "cylinder"},
                                         [](ArmEvents& a) { bore(a, kWithoutMoves), a.stop(kOverTheTop); }},
                                        ball);
    EXPECT_EQ(output.find("error: "), std::string::npos) << output;
    EXPECT_GT(expectDifferencesWithin(output, 1e-5, kAxisTolerance), 0) << output;
  }
}

}  // namespace
