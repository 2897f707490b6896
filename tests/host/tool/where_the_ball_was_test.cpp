// Sessions of palpera-host replaying event files as an arm streams them, at 20 to 50 Hz and 20 to 200 mm/s,
// the ball trembling: slid round bosses and pins of 1.5 to 15 mm radius, dropped over the rims of bores and
// into circles, brought straight in, or slid down the wall from beyond the ends; stopped anywhere on the free
// side or beyond the ends; balls of 2 and 6 mm; three poses. Whatever the hand did, the feature is made
// right or refused saying where to stop, never a diameter off; a stop level with the touches on the free
// side, or a touch brought straight in past the ball's reach, always makes it, unless the fit finds the
// touches settle no one axis. "Quick Probe" of the example parts' boss and bore, in the same ways, makes
// them right or refuses them: the faces under the touches give the side.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "arm_events.h"
#include "compared_differences.h"
#include "emulator_script.h"
#include "project_script.h"
#include "random_pose.h"
#include "support/sanitized.h"
#include "support/scratch_directory.h"

// Named, for the unity build puts this file beside other sessions with names of their own.
namespace where_the_ball_was {

constexpr double kTop = 0.01;  // the plate's top face; the round features stand about x = 0.05, y = 0.04
const Vector3 kAxis{0.05, 0.04, 0};

Vector3 at(double rho, double angle, double z) {
  return kAxis + Vector3(rho * std::cos(angle), rho * std::sin(angle), z);
}

// The hand: how far apart the arm reports the ball (speed over rate), its tremble.
struct Hand {
  std::mt19937& random;
  double step;

  double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); }
  // Up to 20 micrometres each way.
  Vector3 tremble() { return {uniform(-2e-5, 2e-5), uniform(-2e-5, 2e-5), uniform(-2e-5, 2e-5)}; }
  // The positions the arm reports along a path, from a random phase, trembling; the path's end is the touch.
  std::vector<Vector3> along(const std::vector<Vector3>& path) {
    std::vector<Vector3> reported;
    double next = uniform(0, step);
    for (size_t i = 0; i + 1 < path.size(); ++i) {
      const double length = (path[i + 1] - path[i]).length();
      for (; next < length; next += step)
        reported.push_back(path[i] + (path[i + 1] - path[i]) * (next / length) + tremble());
      next -= length;
    }
    return reported;
  }
};

// A round wall whose ball-centre surface has radius ball about the axis: free outside it (a boss) or
// inside (a bore). The touches' heights run from low to high.
struct Wall {
  bool boss;
  double ball;  // the ball-centre radius
  double low, high;
  // On the wall at angle and height, a little off it on the free side as a trembling slide is.
  Vector3 on(double angle, double z, double off = 0) const {
    return at(ball + (boss ? off : -off), angle, z);
  }
};

// The ball slid round the wall from one touch to the next, pressed on it.
std::vector<Vector3> slide(Hand& hand, const Wall& wall, double a0, double z0, double a1, double z1) {
  std::vector<Vector3> path;
  for (int i = 0; i <= 90; ++i) {
    const double t = i / 90.0;
    path.push_back(wall.on(a0 + (a1 - a0) * t, z0 + (z1 - z0) * t, hand.uniform(0, 3e-5)));
  }
  return path;
}

// How the ball came to a touch.
enum class Way { kStraight, kSlid, kDropped, kAlongFromBeyond };

// A touch on the wall at angle a and height z; tells becomes true where it surely tells the side: brought
// straight in, the last position reported before it (the one a busy host is sure to get) clearly off the
// wall and nearer than the ball's diameter.
void touchWall(Hand& hand, ArmEvents& arm, bool& tells, const Wall& wall, Way way, double radius, double a,
               double z, double previousA, double previousZ) {
  std::vector<Vector3> path;
  const Vector3 touch = wall.on(a, z);
  if (way == Way::kSlid) {
    path = slide(hand, wall, previousA, previousZ, a, z);
  } else if (way == Way::kStraight) {
    const double from = hand.uniform(2.2 * radius, 15e-3);
    const double start = wall.boss ? wall.ball + from : std::max(0.0, wall.ball - from);
    path = {at(start, a, z), touch};
  } else if (way == Way::kDropped) {
    // Over the plate beside the bore, over the rim, down inside and out to the wall.
    const double b = a + hand.uniform(-1, 1), inside = hand.uniform(0, wall.ball - 5e-4);
    const double over = kTop + radius + hand.uniform(2e-4, 5e-3);
    path = {at(wall.ball + radius + hand.uniform(1e-3, 1e-2), b, over), at(inside, b, over), at(inside, b, z),
            touch};
  } else {
    // Down the wall from beyond the top end.
    const double from = kTop + radius + hand.uniform(1e-3, 1e-2) + (wall.boss ? wall.high - kTop : 0);
    path = slide(hand, wall, a, from, a, z);
  }
  // Held upright or leaning up to 35 degrees, its shank away from the wall, as a wall lets it be held.
  const Vector3 intoWall = at(wall.boss ? -1 : 1, a, 0) - kAxis, alongWall{-intoWall.y, intoWall.x, 0};
  const double turn = hand.uniform(-1.5, 1.5);
  const Vector3 stylus =
      tilted({0, 0, -1}, intoWall * std::cos(turn) + alongWall * std::sin(turn), hand.uniform(0, 35));
  const std::vector<Vector3> reported = hand.along(path);
  if (way == Way::kStraight && !reported.empty()) {
    const double off = (reported.back() - touch).length();
    tells = tells || (off > std::max(0.3 * radius, 3e-4) && off < 1.9 * radius);
  }
  arm.stream(reported, stylus).touchAt(touch);
}

struct Kind {
  const char *feature, *collector;
  bool boss, circle;
  // "Quick Probe" of the example part's boss or bore, whose faces give the feature; else "Hard Probe
  // Features" of a wall of random size.
  const char* quickProbePart = nullptr;
};
const Kind kBoss{"Cylinder", "Cylinder", true, false}, kBore{"Cylinder", "Cylinder", false, false},
    kCircle{"Arc", "Circle", false, true}, kQuickBoss{"Cylinder", "Cylinder", true, false, "plate-boss"},
    kQuickBore{"Cylinder", "Cylinder", false, false, "plate-bore"};

struct Probed {
  std::string nominal;
  bool levelStop = false, surelyTells = false;
};

// One feature probed as a hand would, then stopped level on the free side or beyond the ends.
Probed probe(std::mt19937& random, const Kind& kind, double radius, ArmEvents& arm) {
  Hand hand{random, 0};
  hand.step = hand.uniform(20e-3, 200e-3) / hand.uniform(20, 50);
  // The example parts' boss is 15 mm in radius and high, their bore 10 mm in radius.
  const double wallRadius = kind.quickProbePart ? (kind.boss ? 15e-3 : 10e-3)
                            : kind.boss         ? hand.uniform(1.5e-3, 15e-3)
                                                : hand.uniform(std::max(4e-3, radius + 1e-3), 15e-3);
  const double height = kind.quickProbePart ? 15e-3 : kind.boss ? hand.uniform(6e-3, 15e-3) : kTop;
  Wall wall{kind.boss, kind.boss ? wallRadius + radius : wallRadius - radius, 0, 0};
  wall.low = kind.boss ? kTop + radius + 5e-4 : (kind.circle ? kTop - 3e-3 : 1e-3);
  wall.high = kind.boss ? kTop + height - 3e-4 : kTop - 3e-4;
  if (kind.circle) {
    for (const Vector3& s :
         {Vector3(0.01, 0.01, kTop), Vector3(0.09, 0.015, kTop), Vector3(0.015, 0.07, kTop)})
      arm.travelIn(s, {0, 0, 1}, {0, 0, -1}, {0, 0, -1});
    arm.stop({0.02, 0.07, 0.03});
    wall.low = wall.high = hand.uniform(wall.low, wall.high);
  }
  Probed probed;
  const int touches = kind.circle ? 5 : 7;
  const double first = hand.uniform(0, 2 * M_PI);
  double previousA = first, previousZ = wall.low;
  for (int i = 0; i < touches; ++i) {
    const double a = first + 2 * M_PI * (i + hand.uniform(0, 0.5)) / touches;
    const double z =
        kind.circle ? wall.low : wall.low + (wall.high - wall.low) * ((i * 3) % touches) / (touches - 1);
    const int pick = std::uniform_int_distribution<int>(0, 3)(random);
    Way way = i == 0 && pick == 1 ? Way::kStraight : static_cast<Way>(pick);
    if (way == Way::kDropped && kind.boss) way = Way::kSlid;
    touchWall(hand, arm, probed.surelyTells, wall, way, radius, a, z, previousA, previousZ);
    previousA = a;
    previousZ = z;
  }
  probed.levelStop = std::bernoulli_distribution(0.5)(random);
  const double stopA = hand.uniform(0, 2 * M_PI);
  if (probed.levelStop) {
    const double z = hand.uniform(wall.low, wall.high);
    arm.stop(
        at(kind.boss ? wall.ball + hand.uniform(5e-4, 15e-3) : hand.uniform(0, wall.ball - 5e-4), stopA, z));
  } else {
    const double over = (kind.boss ? kTop + height : kTop) + radius + hand.uniform(3e-4, 20e-3);
    arm.stop(at(hand.uniform(0, wallRadius + 20e-3), stopA, over));
  }
  probed.nominal = kind.circle ? "circle 0.05 0.04 0.01 0 0 1" + numbers({wallRadius})
                   : kind.boss ? "cylinder 0.05 0.04 0.01 0.05 0.04" + numbers({kTop + height, wallRadius})
                               : "cylinder 0.05 0.04 0 0.05 0.04 0.01" + numbers({wallRadius});
  return probed;
}

std::string replayed(const Matrix4x4& pose, const Kind& kind, const ArmEvents& arm,
                     const std::string& nominal) {
  ScratchDirectory scratch;
  std::ofstream(scratch.system("arm.xml")) << arm.xml();
  std::ofstream(scratch.system("session.log")) << "PluginData\tarm.xml\nPluginWait\t\n";
  std::string placed;
  for (double value : pose.m) placed += numbers({value});
  const std::string part = kind.quickProbePart ? kind.quickProbePart : "plate-bore";
  const std::string command =
      kind.quickProbePart ? "active RefObject\ncommand PalperaQuickProbeCmd"
                          : "command PalperaCreateFeaturesCmd2 IZelFeature=IZel" + std::string(kind.feature) +
                                ",IZelFeatureCollector=" + kind.collector + ",UsePlane=false";
  return runProjectScript("cad-load RefObject examples/parts/" + part + ".step\ntransform RefObject" +
                          placed + "\nstart\nreplay-log " + scratch.system("session.log") + "\n" + command +
                          "\nrun-until Palpera/LogReplayFinished 10000\nfeature RefObject " + nominal +
                          "\ncompare TestObject RefObject\n")
      .output;
}

// How many runs the kinds' features were made in and refused in, each kind probed by each ball in three poses
// thrice, its hand seeded by the seed.
struct Tally {
  int made = 0, refused = 0;
};
Tally probeEach(std::initializer_list<Kind> kinds, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<Matrix4x4> poses{Matrix4x4::identity(), randomPose(random), randomPose(random)};
  const std::string beyond =
      "was not made: no touch shows from which side it came, and a stop beyond the ends";
  Tally tally;
  // Under a sanitizer two poses a pattern keep each session well inside a test's time on two cores.
  const int runs = kSanitized ? 2 : 9;
  for (const Kind& kind : kinds) {
    for (const double radius : {0.001, 0.003}) {
      for (int run = 0; run < runs; ++run) {
        const Matrix4x4& pose = poses[static_cast<size_t>(run) % poses.size()];
        ArmEvents arm(pose, 2 * radius);
        const Probed probed = probe(random, kind, radius, arm);
        SCOPED_TRACE(std::string(kind.collector) + (kind.boss ? " boss" : " hole") + ", ball " +
                     std::to_string(2 * radius) + ", run " + std::to_string(run) + ": " + probed.nominal +
                     (probed.levelStop ? ", stop level" : ", stop beyond"));
        const std::string output = replayed(pose, kind, arm, probed.nominal);
        const size_t told = output.find("error: ");
        if (told == std::string::npos) {
          ++tally.made;
          EXPECT_GT(expectDifferencesWithin(output, 1e-5, 2e-3), 0) << output;
        } else if (output.find("so they do not determine its axis", told) == std::string::npos) {
          ++tally.refused;
          EXPECT_EQ(output.find(beyond), told + 7 + std::string(kind.collector).size() + 1) << output;
          EXPECT_FALSE(probed.levelStop || probed.surelyTells) << output;
        }
      }
    }
  }
  return tally;
}

TEST(WhereTheBallWas, EveryFeatureIsMadeRightOrRefusedSayingWhereToStopWhateverTheHandDid) {
  const Tally tally = probeEach({kBoss, kBore, kCircle}, 88);
  EXPECT_GT(tally.made, tally.refused) << "the sessions try the rule, not only its refusals";
}

TEST(WhereTheBallWas, QuickProbeMakesTheBossAndTheBoreRightOrRefusesThemWhateverTheHandDid) {
  const Tally tally = probeEach({kQuickBoss, kQuickBore}, 89);
  EXPECT_GT(tally.made, tally.refused) << "the sessions try the rule, not only its refusals";
}

}  // namespace where_the_ball_was
